#include "base/jpeg_engine.h"

#include <turbojpeg.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace {

// One engine handle a call: a handle is cheap, and calls may run on any
// thread.
using EngineHandle = std::unique_ptr<void, int (*)(tjhandle)>;

EngineHandle OpenDecompressor() { return {tjInitDecompress(), tjDestroy}; }

// The engine takes a stream's size as an unsigned long.
bool FitsEngine(std::size_t size) { return size > 0 && size <= ULONG_MAX; }

// A stream's header as the engine reads it: false for a stream it refuses
// (no JPEG, CMYK or YCCK colours, a subsampling it cannot name).
struct JpegHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  int subsampling = 0;
};

bool ReadHeader(const unsigned char* data, std::size_t size, JpegHeader& header) {
  const EngineHandle decompressor = OpenDecompressor();
  int columns = 0;
  int rows = 0;
  int colours = 0;
  if (!decompressor || data == nullptr || !FitsEngine(size) ||
      tjDecompressHeader3(decompressor.get(), data, static_cast<unsigned long>(size), &columns,
                          &rows, &header.subsampling, &colours) != 0 ||
      colours == TJCS_CMYK || colours == TJCS_YCCK || columns <= 0 || rows <= 0 ||
      header.subsampling < 0 || header.subsampling >= TJ_NUMSAMP) {
    return false;
  }
  header.width = static_cast<uint32_t>(columns);
  header.height = static_cast<uint32_t>(rows);
  return true;
}

JpegBlocks BlocksOf(int subsampling) {
  return {static_cast<uint32_t>(tjMCUWidth[subsampling]),
          static_cast<uint32_t>(tjMCUHeight[subsampling])};
}

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
  JpegHeader header;
  if (!ReadHeader(data, size, header)) return false;
  width = header.width;
  height = header.height;
  return true;
}

bool DecodeJpegPixels(const unsigned char* data, std::size_t size, JpegScale scale,
                      unsigned char* pixels, std::size_t stride) {
  uint32_t width = 0;
  uint32_t height = 0;
  if (!ReadJpegFrame(data, size, width, height) || stride > INT_MAX) return false;
  const EngineHandle decompressor = OpenDecompressor();
  // Asked for its scaled size, the engine picks that scale.
  return decompressor &&
         tjDecompress2(decompressor.get(), data, static_cast<unsigned long>(size), pixels,
                       static_cast<int>(ScaledJpegSide(width, scale)), static_cast<int>(stride),
                       static_cast<int>(ScaledJpegSide(height, scale)), TJPF_BGR,
                       TJFLAG_STOPONWARNING) == 0;
}

namespace {

// The engine's transform that shows a picture with each EXIF orientation
// upright.
constexpr int TURNS[] = {TJXOP_NONE,      TJXOP_HFLIP, TJXOP_ROT180,     TJXOP_VFLIP,
                         TJXOP_TRANSPOSE, TJXOP_ROT90, TJXOP_TRANSVERSE, TJXOP_ROT270};

int TurnFor(int orientation) {
  return orientation >= 1 && orientation <= 8 ? TURNS[orientation - 1] : TJXOP_NONE;
}

bool Transposes(int turn) {
  return turn == TJXOP_TRANSPOSE || turn == TJXOP_TRANSVERSE || turn == TJXOP_ROT90 ||
         turn == TJXOP_ROT270;
}

}  // namespace

JpegBlocks ReadJpegBlocks(const unsigned char* data, std::size_t size) {
  JpegHeader header;
  return ReadHeader(data, size, header) ? BlocksOf(header.subsampling) : JpegBlocks{};
}

JpegBlocks LosslessCropGrid(uint32_t width, uint32_t height, JpegBlocks blocks, int orientation) {
  if (blocks.width == 0 || blocks.height == 0) return {};
  const int turn = TurnFor(orientation);
  const bool wholeColumns = width % blocks.width == 0;
  const bool wholeRows = height % blocks.height == 0;
  // A turn that brings the right edge to the left or top, or the bottom edge
  // to the top or left, needs whole blocks there.
  const bool movesRight = turn == TJXOP_HFLIP || turn == TJXOP_ROT180 || turn == TJXOP_TRANSVERSE ||
                          turn == TJXOP_ROT270;
  const bool movesBottom = turn == TJXOP_VFLIP || turn == TJXOP_ROT180 ||
                           turn == TJXOP_TRANSVERSE || turn == TJXOP_ROT90;
  if ((movesRight && !wholeColumns) || (movesBottom && !wholeRows)) return {};
  // A turned picture's crop must lie on the grid both before the turn (the
  // engine checks that) and after it (the engine would move it there).
  if (!Transposes(turn)) return blocks;
  const uint32_t side = std::max(blocks.width, blocks.height);
  return {side, side};
}

bool CropJpegLossless(const unsigned char* data, std::size_t size, int orientation,
                      const JpegFrame& frame, std::vector<unsigned char>& out) {
  out.clear();
  JpegHeader header;
  if (!ReadHeader(data, size, header)) return false;
  const JpegBlocks grid =
      LosslessCropGrid(header.width, header.height, BlocksOf(header.subsampling), orientation);
  const int turn = TurnFor(orientation);
  // The frame is in the picture as shown.
  const uint32_t width = Transposes(turn) ? header.height : header.width;
  const uint32_t height = Transposes(turn) ? header.width : header.height;
  if (grid.width == 0 || frame.x % grid.width != 0 || frame.y % grid.height != 0 ||
      frame.width == 0 || frame.height == 0 || frame.x > width || frame.width > width - frame.x ||
      frame.y > height || frame.height > height - frame.y) {
    return false;
  }
  const EngineHandle transformer(tjInitTransform(), tjDestroy);
  if (!transformer) return false;
  tjtransform transform = {};
  transform.r = {static_cast<int>(frame.x), static_cast<int>(frame.y),
                 static_cast<int>(frame.width), static_cast<int>(frame.height)};
  transform.op = turn;
  transform.options = TJXOPT_CROP | TJXOPT_PERFECT | TJXOPT_COPYNONE;
  unsigned char* result = nullptr;
  unsigned long resultSize = 0;
  const bool done = tjTransform(transformer.get(), data, static_cast<unsigned long>(size), 1,
                                &result, &resultSize, &transform, TJFLAG_STOPONWARNING) == 0;
  uint32_t cutWidth = 0;
  uint32_t cutHeight = 0;
  if (done && ReadJpegFrame(result, resultSize, cutWidth, cutHeight) && cutWidth == frame.width &&
      cutHeight == frame.height) {
    out.assign(result, result + resultSize);
  }
  tjFree(result);
  return !out.empty();
}
