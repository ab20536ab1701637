// Opening a picture file: what its header tells before the decode (its
// orientation tag, its size, whether it fits in memory decoded), the decode,
// whole or just large enough for a view, and the turn that puts a picture
// stored sideways upright. JPEG pictures go to the JPEG engine; other
// pictures, and JPEG streams the engine refuses, to GDI+.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/gdiplus_objects.h"
#include "base/geometry.h"
#include "base/jpeg_engine.h"

// A picture as its file stores it: the decoded bitmap, not yet turned, and
// its orientation tag (1..8, 1 when the file has none); for a screen, maybe
// the picture also reduced to a size that still covers what it shows there.
struct StoredPicture {
  GdiBitmap bitmap;
  GdiBitmap reduced;  // empty when not made: then the bitmap serves
  int orientation = 1;
  JpegBlocks blocks;  // of a JPEG picture the engine decoded
};

// Decodes a picture file, or a stream of its bytes (which GDI+ may read for
// as long as the bitmap lives). The bitmap is empty when the picture does
// not decode, or when its header gives a size too large to decode. Given a
// screen, a JPEG picture larger than the screen also comes reduced by the
// engine's DCT scaling, as large as the screen shows it upright or larger.
StoredPicture DecodeStored(const wchar_t* path, Size screen = {});
StoredPicture DecodeStored(IStream* stream, Size screen = {});

// What a picture file's opening bytes tell, and those bytes.
struct StoredHeader {
  std::vector<unsigned char> bytes;
  int orientation = 1;
  bool sized = false;  // the header gives the stored size
  uint32_t width = 0;
  uint32_t height = 0;
  bool decodable = true;  // false when its size is too large to decode
};

// Reads a whole picture file; false when it cannot be read or is too large.
bool ReadPictureFile(const wchar_t* path, std::vector<unsigned char>& bytes);

// Reads the opening bytes of a picture file; false when it cannot be read.
bool ReadStoredHeader(const wchar_t* path, StoredHeader& header);

// Decodes the picture of `header` no larger than it takes to cover `cover`
// (sides as stored): a JPEG through its EXIF preview when that serves, or
// at the engine's smallest scale that covers it; other pictures whole.
GdiBitmap DecodeStoredCovering(const wchar_t* path, StoredHeader& header, Size cover);

// Whether JPEG pictures are decoded by the engine, previews scaled by the
// box filter and a save's next picture decoded beside it (the default), or
// all of it done by GDI+ one step after the other, as before them: for a
// benchmark that measures both, and a test that compares them.
void UseFastPictureWork(bool use);
bool FastPictureWorkInUse();

// Turns and flips `bitmap` so that a picture stored with `orientation`
// shows upright.
void TurnUpright(GdiBitmap& bitmap, int orientation);
