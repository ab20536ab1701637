// JPEG pictures decoded by libjpeg-turbo: the frame before the decode, the
// smallest of its DCT scales that still covers a size, and the decode into
// the 24-bit pixels GDI+ keeps (blue, green, red). Pure: no platform
// headers, so it is also built natively with sanitizers and fuzzed. The rest
// of the program never includes libjpeg-turbo's headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

// The pixels of one block of a JPEG stream's grid (its MCU: 8 or 16 a side
// by its colour subsampling); empty when the stream is refused.
struct JpegBlocks {
  uint32_t width = 0;
  uint32_t height = 0;
  bool operator==(const JpegBlocks&) const = default;
};

JpegBlocks ReadJpegBlocks(const unsigned char* data, std::size_t size);

// The grid that a lossless crop's left and top edges stay on, in the picture
// as shown after its `orientation`'s turn (1..8, 1 when it is shown as
// stored) of a `width` x `height` picture with `blocks`. Empty when that turn
// would bring a partial block to the left or top edge: such a picture is
// not cut losslessly.
JpegBlocks LosslessCropGrid(uint32_t width, uint32_t height, JpegBlocks blocks, int orientation);

// A frame of the picture as shown, in pixels.
struct JpegFrame {
  uint32_t x = 0;
  uint32_t y = 0;
  uint32_t width = 0;
  uint32_t height = 0;
};

// Cuts `frame` out of the stream turned by `orientation`, without decoding
// it: the DCT blocks are copied. The new stream carries none of the source's
// segments. False, with `out` empty, when the frame is off the grid or
// outside the picture, or the engine does not give exactly that frame.
bool CropJpegLossless(const unsigned char* data, std::size_t size, int orientation,
                      const JpegFrame& frame, std::vector<unsigned char>& out);
