// Opening a picture file: what its header tells before the decode (its
// orientation tag, whether it fits in memory decoded), the decode, and the
// turn that puts a picture stored sideways upright.
#pragma once

#include <windows.h>

#include "base/gdiplus_objects.h"

// A picture as its file stores it: the decoded bitmap, not yet turned, and
// its orientation tag (1..8, 1 when the file has none).
struct StoredPicture {
  GdiBitmap bitmap;
  int orientation = 1;
};

// Decodes a picture file, or a stream of its bytes (which GDI+ then reads
// for as long as the bitmap lives). The bitmap is empty when the picture
// does not decode, or when its header gives a size too large to decode.
StoredPicture DecodeStored(const wchar_t* path);
StoredPicture DecodeStored(IStream* stream);

// Turns and flips `bitmap` so that a picture stored with `orientation`
// shows upright.
void TurnUpright(GdiBitmap& bitmap, int orientation);
