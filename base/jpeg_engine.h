// JPEG pictures decoded by libjpeg-turbo: the frame before the decode, the
// smallest of its DCT scales that still covers a size, and the decode into
// the 24-bit pixels GDI+ keeps (blue, green, red). Pure: no platform
// headers, so it is also built natively with sanitizers and fuzzed. The rest
// of the program never includes libjpeg-turbo's headers.
#pragma once

#include <cstddef>
#include <cstdint>

// A scale the engine decodes at, from 1/8 to 1.
struct JpegScale {
  int num = 1;
  int denom = 1;
  bool operator==(const JpegScale&) const = default;
};

// A picture side decoded at `scale`: rounded up, as the engine rounds it.
uint32_t ScaledJpegSide(uint32_t side, JpegScale scale);

// The smallest scale at which a `width` x `height` picture still covers
// `coverWidth` x `coverHeight`; the whole picture when no smaller one does.
JpegScale CoveringJpegScale(uint32_t width, uint32_t height, uint32_t coverWidth,
                            uint32_t coverHeight);

// The size of a JPEG stream that the engine decodes into colour pixels;
// false for a stream it refuses (no JPEG, CMYK or YCCK colours, a header
// that cannot be read).
bool ReadJpegFrame(const unsigned char* data, std::size_t size, uint32_t& width, uint32_t& height);

// Decodes the stream at `scale` into `pixels`: ScaledJpegSide of each side,
// three bytes a pixel in the order blue, green, red, `stride` bytes a row.
// False when the stream is not whole or sound (a warning counts): its
// pixels are then not to be shown.
bool DecodeJpegPixels(const unsigned char* data, std::size_t size, JpegScale scale,
                      unsigned char* pixels, std::size_t stride);
