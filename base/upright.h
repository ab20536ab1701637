// Pictures turned upright by the orientation tag of their EXIF block.
#pragma once

#include <windows.h>

#include "base/gdiplus_objects.h"

// The orientation (1..8) that a picture file's tag gives, from its opening
// bytes; 1 when it has none or cannot be read. The file is closed again.
int FileOrientation(const wchar_t* path);

// The same from a stream of the file's bytes, which is left at its start.
int StreamOrientation(IStream* stream);

// Decodes a picture file, turned upright by its tag when `upright`.
GdiBitmap DecodeFile(const wchar_t* path, bool upright);

// Turns and flips `bitmap` so that a picture stored with `orientation`
// shows upright.
void TurnUpright(GdiBitmap& bitmap, int orientation);
