// The thumbnail list's rules: which files are listed as pictures, and where
// a picture's thumbnail sits in its tile. Pure.
#pragma once

#include <cstdint>

#include "base/geometry.h"

// A tile of the thumbnail list, and the box inside it that leaves at least a
// one-pixel frame.
constexpr int32_t THUMBNAIL_TILE_SIZE = 96;
constexpr int32_t THUMBNAIL_BOX_SIZE = 94;

// The thumbnail of a picture in its tile: the picture scaled into the box
// with its proportions kept (a very thin picture's short side may round to
// 0), centred.
Rect PlaceThumbnail(uint32_t imageWidth, uint32_t imageHeight);

// True when the file name's extension is ".bmp", ".jpg" or ".gif" in any
// letter case. The extension is found as the shell finds it: from the last
// dot that no blank or backslash follows.
bool IsPictureFileName(const wchar_t* fileName);
