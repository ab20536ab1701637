// The EXIF orientation of a JPEG file, read from its opening bytes. Pure: no
// platform headers, so it is also built natively with sanitizers and fuzzed.
#pragma once

#include <cstddef>

// SOI, then an APP0 and the EXIF APP1 at their largest (a segment holds at
// most 65535 bytes after its marker). An EXIF block further on is not looked
// for.
constexpr std::size_t ORIENTATION_HEADER_BYTES = 2 + 2 * (2 + 65535);

// The orientation (1..8) that the EXIF block of a JPEG file's opening bytes
// gives, or 1 when there is none or it cannot be read.
int JpegOrientation(const unsigned char* data, std::size_t size);

// Whether the orientation turns the picture by a quarter (5..8), so that the
// upright picture's width is the stored picture's height.
bool OrientationSwapsSides(int orientation);
