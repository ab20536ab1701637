// Scaling 24-bit pixel rows with a box filter: each output pixel is the mean
// of the source pixels that fall in it, so a reduction keeps every source
// pixel's share and an enlargement repeats pixels. Pure: no platform
// headers, so it is also built natively with sanitizers.
#pragma once

#include <cstddef>

// Rows of three bytes a pixel, `stride` bytes from one row to the next.
struct PixelRows {
  unsigned char* first;
  std::size_t stride;
  int width;
  int height;
};

// Scales all of `source` into all of `target`; nothing for an empty side.
void BoxScale(const PixelRows& source, const PixelRows& target);
