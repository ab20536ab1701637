#include <doctest/doctest.h>

#include <turbojpeg.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "base/jpeg_engine.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A picture whose four quarters are red, green, blue and white, compressed
// by the engine itself with `flags` (progressive), its chroma `subsampling`,
// or as CMYK.
Bytes Quarters(int width, int height, int subsampling, int flags = 0, bool cmyk = false) {
  const int channels = cmyk ? 4 : 3;
  Bytes pixels(static_cast<size_t>(width * height * channels));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int quarter = (y * 2 / height) * 2 + x * 2 / width;
      const unsigned char rgb[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
      for (int c = 0; c < channels; ++c) {
        pixels[static_cast<size_t>((y * width + x) * channels + c)] =
            cmyk ? static_cast<unsigned char>(c * 60) : rgb[quarter][c];
      }
    }
  }
  const std::unique_ptr<void, int (*)(tjhandle)> compressor(tjInitCompress(), tjDestroy);
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  REQUIRE(tjCompress2(compressor.get(), pixels.data(), width, 0, height,
                      cmyk ? TJPF_CMYK : TJPF_RGB, &jpeg, &size, subsampling, 95, flags) == 0);
  Bytes out(jpeg, jpeg + size);
  tjFree(jpeg);
  return out;
}

// Whether the stream decodes at `scale` into its four quarters' colours
// (blue, green, red bytes): red, green, blue and white.
bool ShowsQuarters(const Bytes& jpeg, JpegScale scale) {
  uint32_t width = 0;
  uint32_t height = 0;
  if (!ReadJpegFrame(jpeg.data(), jpeg.size(), width, height)) return false;
  width = ScaledJpegSide(width, scale);
  height = ScaledJpegSide(height, scale);
  const size_t stride = (width * 3 + 3) / 4 * 4;  // a Windows bitmap's rows
  Bytes pixels(stride * height);
  if (!DecodeJpegPixels(jpeg.data(), jpeg.size(), scale, pixels.data(), stride)) return false;
  const int wanted[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
  for (uint32_t quarter = 0; quarter < 4; ++quarter) {
    const size_t x = (quarter % 2 * 2 + 1) * width / 4;
    const size_t y = (quarter / 2 * 2 + 1) * height / 4;
    for (size_t c = 0; c < 3; ++c) {
      if (std::abs(pixels[y * stride + x * 3 + c] - wanted[quarter][c]) > 12) return false;
    }
  }
  return true;
}

}  // namespace

TEST_CASE("the smallest DCT scale that still covers the box, rounded up as the engine rounds") {
  CHECK(ScaledJpegSide(753, {1, 8}) == 95);  // 94.125
  CHECK(ScaledJpegSide(4294967295u, {7, 8}) == 3758096384u);
  const struct {
    uint32_t width, height, coverWidth, coverHeight;
    JpegScale scale;
  } rows[] = {{4000, 3000, 94, 70, {1, 8}}, {753, 500, 94, 63, {1, 8}},
              {640, 480, 94, 70, {2, 8}},   {100, 100, 94, 94, {1, 1}},
              {96, 96, 94, 94, {1, 1}},     {1000, 10, 94, 10, {1, 1}}};
  for (const auto& row : rows) {
    CAPTURE(row.width);
    CHECK(CoveringJpegScale(row.width, row.height, row.coverWidth, row.coverHeight) == row.scale);
  }
}

TEST_CASE("baseline and progressive, 4:4:4, 4:2:0 and grey decode whole and at an eighth") {
  for (const int flags : {0, TJFLAG_PROGRESSIVE}) {
    for (const int subsampling : {TJSAMP_444, TJSAMP_420}) {
      CAPTURE(flags);
      CAPTURE(subsampling);
      const Bytes jpeg = Quarters(160, 96, subsampling, flags);
      CHECK(ShowsQuarters(jpeg, {}));
      CHECK(ShowsQuarters(jpeg, {1, 8}));
    }
  }
  // Odd sides: 37 x 23 is 5 x 3 at an eighth.
  const Bytes odd = Quarters(37, 23, TJSAMP_420);
  uint32_t width = 0;
  uint32_t height = 0;
  REQUIRE(ReadJpegFrame(odd.data(), odd.size(), width, height));
  CHECK((width == 37 && height == 23));
  CHECK(ShowsQuarters(odd, {1, 8}));
  const Bytes grey = Quarters(64, 64, TJSAMP_GRAY);
  Bytes pixels(64 * 64 * 3);
  CHECK(DecodeJpegPixels(grey.data(), grey.size(), {}, pixels.data(), 64 * 3));
}

TEST_CASE("a cut stream, CMYK and bytes that are no JPEG are refused") {
  const Bytes whole = Quarters(160, 96, TJSAMP_420);
  const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2));
  CHECK_FALSE(ShowsQuarters(cut, {}));
  const Bytes cmyk = Quarters(32, 32, TJSAMP_444, 0, true);
  uint32_t width = 0;
  uint32_t height = 0;
  CHECK_FALSE(ReadJpegFrame(cmyk.data(), cmyk.size(), width, height));
  const Bytes noise = {0xFF, 0xD8, 0xFF, 0xC0, 0, 3, 1, 2, 3};
  CHECK_FALSE((ReadJpegFrame(noise.data(), noise.size(), width, height) ||
               ReadJpegFrame(nullptr, 0, width, height)));
}
