// Any bytes handed to the JPEG engine as a picture: a frame is read only from
// a stream the engine can decode, and its decode at any scale writes only
// into the rows it was given. Pictures of more than 16 megapixels at the
// scale are not decoded: the fuzzer's memory would be the limit, not ours.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "base/jpeg_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const JpegScale scale = {data[0] % 8 + 1, 8};
  uint32_t width = 0;
  uint32_t height = 0;
  if (!ReadJpegFrame(data + 1, size - 1, width, height)) return 0;
  if (width == 0 || height == 0) std::abort();
  const uint64_t columns = ScaledJpegSide(width, scale);
  const uint64_t rows = ScaledJpegSide(height, scale);
  if (columns * rows > (16u << 20)) return 0;
  const std::size_t stride = static_cast<std::size_t>(columns * 3);
  const std::unique_ptr<unsigned char[]> pixels(new (std::nothrow) unsigned char[stride * rows]);
  if (pixels) DecodeJpegPixels(data + 1, size - 1, scale, pixels.get(), stride);
  return 0;
}
