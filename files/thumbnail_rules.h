// The thumbnail list's rules: which files are listed as pictures, and where
// a picture's thumbnail sits in its tile. Pure.
#pragma once

#include <cstdint>

#include "base/geometry.h"
#include "base/text.h"

// A tile of the thumbnail list, and the box inside it that leaves at least a
// one-pixel frame.
constexpr int32_t THUMBNAIL_TILE_SIZE = 96;
constexpr int32_t THUMBNAIL_BOX_SIZE = 94;

// The thumbnail of a picture in its tile: the picture scaled into the box
// with its proportions kept (a very thin picture's short side may round to
// 0), centred.
Rect PlaceThumbnail(uint32_t imageWidth, uint32_t imageHeight);

// The picture formats listed only with the option that lists more, by their
// extensions: ".png"; ".tif" and ".tiff"; ".jpeg", ".jpe" and ".jfif".
enum class MoreFormat { None, Png, Tiff, Jpeg };
constexpr int MORE_FORMAT_COUNT = 3;

// The format of a file name listed only with that option; None for the
// others. Extensions are compared in any letter case, found as the shell
// finds them: from the last dot that no blank or backslash follows.
MoreFormat MoreFormatOf(const wchar_t* fileName);

// The format's name as the empty list's hint gives it ("PNG").
const wchar_t* MoreFormatName(MoreFormat format);

// True when the file name's extension is ".bmp", ".jpg" or ".gif", or with
// `moreFormats` one of the more formats' too.
bool IsPictureFileName(const wchar_t* fileName, bool moreFormats = false);

// The pictures a listing left out, for an empty list to say why: the files
// of each of the more formats while they are not listed, and the pictures
// smaller than the minimum.
struct LeftOut {
  int byFormat[MORE_FORMAT_COUNT] = {};  // by MoreFormat, less None
  int belowMinimum = 0;
};

// The line an empty list shows: the template for one picture or for
// several ("%1 pictures here are not listed: %2. Options..."), its "%1" the
// count and its "%2" the reasons: the formats' names, then the text for the
// pictures below the minimum. Empty when nothing was left out.
void DescribeLeftOut(const LeftOut& leftOut, const wchar_t* one, const wchar_t* several,
                     const wchar_t* belowMinimum, TextBuffer& text);
