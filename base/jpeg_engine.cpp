#include "base/jpeg_engine.h"

#include <turbojpeg.h>

#include <climits>
#include <memory>

namespace {

// One decompressor a call: a handle is cheap, and calls may run on any
// thread.
using Decompressor = std::unique_ptr<void, int (*)(tjhandle)>;

Decompressor OpenDecompressor() { return {tjInitDecompress(), tjDestroy}; }

// The engine takes a stream's size as an unsigned long.
bool FitsEngine(std::size_t size) { return size > 0 && size <= ULONG_MAX; }

}  // namespace

uint32_t ScaledJpegSide(uint32_t side, JpegScale scale) {
  const uint64_t scaled = (static_cast<uint64_t>(side) * static_cast<uint64_t>(scale.num) +
                           static_cast<uint64_t>(scale.denom) - 1) /
                          static_cast<uint64_t>(scale.denom);
  return static_cast<uint32_t>(scaled);
}

JpegScale CoveringJpegScale(uint32_t width, uint32_t height, uint32_t coverWidth,
                            uint32_t coverHeight) {
  // Eighths from the smallest up: the DCT scales every build of the engine has.
  for (int eighths = 1; eighths < 8; ++eighths) {
    const JpegScale scale = {eighths, 8};
    if (ScaledJpegSide(width, scale) >= coverWidth &&
        ScaledJpegSide(height, scale) >= coverHeight) {
      return scale;
    }
  }
  return {};
}

bool ReadJpegFrame(const unsigned char* data, std::size_t size, uint32_t& width, uint32_t& height) {
  const Decompressor decompressor = OpenDecompressor();
  if (!decompressor || data == nullptr || !FitsEngine(size)) return false;
  int columns = 0;
  int rows = 0;
  int subsampling = 0;
  int colours = 0;
  if (tjDecompressHeader3(decompressor.get(), data, static_cast<unsigned long>(size), &columns,
                          &rows, &subsampling, &colours) != 0 ||
      colours == TJCS_CMYK || colours == TJCS_YCCK || columns <= 0 || rows <= 0) {
    return false;
  }
  width = static_cast<uint32_t>(columns);
  height = static_cast<uint32_t>(rows);
  return true;
}

bool DecodeJpegPixels(const unsigned char* data, std::size_t size, JpegScale scale,
                      unsigned char* pixels, std::size_t stride) {
  uint32_t width = 0;
  uint32_t height = 0;
  if (!ReadJpegFrame(data, size, width, height) || stride > INT_MAX) return false;
  const Decompressor decompressor = OpenDecompressor();
  // Asked for its scaled size, the engine picks that scale.
  return decompressor &&
         tjDecompress2(decompressor.get(), data, static_cast<unsigned long>(size), pixels,
                       static_cast<int>(ScaledJpegSide(width, scale)), static_cast<int>(stride),
                       static_cast<int>(ScaledJpegSide(height, scale)), TJPF_BGR,
                       TJFLAG_STOPONWARNING) == 0;
}
