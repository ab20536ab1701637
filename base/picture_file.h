// Opening a picture file: what its header tells before the decode (its
// orientation tag, whether it fits in memory decoded), the decode, and the
// turn that puts a picture stored sideways upright.
#pragma once

#include <windows.h>

#include "base/gdiplus_objects.h"

struct PictureHeader {
  int orientation = 1;    // 1..8, 1 when the file has no tag
  bool decodable = true;  // false when its size is too large to decode
};

// From a picture file's opening bytes; the file is closed again. A file that
// cannot be read gives the defaults: the decode will tell.
PictureHeader ReadPictureHeader(const wchar_t* path);

// The same from a stream of the file's bytes, which is left at its start.
PictureHeader ReadPictureHeader(IStream* stream);

// Decodes a picture file, turned upright by its tag when `upright`; an empty
// bitmap when it does not decode or is too large to.
GdiBitmap DecodeFile(const wchar_t* path, bool upright);

// Turns and flips `bitmap` so that a picture stored with `orientation`
// shows upright.
void TurnUpright(GdiBitmap& bitmap, int orientation);
