#include <doctest/doctest.h>

#include <turbojpeg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/jpeg_engine.h"
#include "base/jpeg_metadata.h"
#include "tests/support/bytes.h"

namespace {

// A picture whose four quarters are red, green, blue and white, compressed
// by the engine itself with `flags` (progressive), its chroma `subsampling`,
// or as CMYK.
// With `noisy`, every pixel differs from its neighbours instead, so that a
// block out of place shows.
Bytes Quarters(int width, int height, int subsampling, int flags = 0, bool cmyk = false,
               bool noisy = false) {
  const int channels = cmyk ? 4 : 3;
  Bytes pixels(static_cast<size_t>(width * height * channels));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int quarter = (y * 2 / height) * 2 + x * 2 / width;
      const unsigned char rgb[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
      for (int c = 0; c < channels; ++c) {
        pixels[static_cast<size_t>((y * width + x) * channels + c)] =
            noisy  ? static_cast<unsigned char>((x * 37 + y * 91 + c * 53) * 2654435761u >> 24)
            : cmyk ? static_cast<unsigned char>(c * 60)
                   : rgb[quarter][c];
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
  uint32_t width = 0, height = 0;
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
  uint32_t width = 0, height = 0;
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
  uint32_t width = 0, height = 0;
  CHECK_FALSE(ReadJpegFrame(cmyk.data(), cmyk.size(), width, height));
  const Bytes noise = {0xFF, 0xD8, 0xFF, 0xC0, 0, 3, 1, 2, 3};
  CHECK_FALSE((ReadJpegFrame(noise.data(), noise.size(), width, height) ||
               ReadJpegFrame(nullptr, 0, width, height)));
}

namespace {

// RGB pixels decoded with the engine's block-local upsampling: its smooth
// upsampling mixes in the chroma of neighbouring blocks, which a crop no
// longer has at its left and top edges.
struct Rgb {
  uint32_t width = 0, height = 0;
  Bytes pixels;
};

Rgb DecodeRgb(const Bytes& jpeg) {
  const std::unique_ptr<void, int (*)(tjhandle)> decompressor(tjInitDecompress(), tjDestroy);
  Rgb rgb;
  REQUIRE(ReadJpegFrame(jpeg.data(), jpeg.size(), rgb.width, rgb.height));
  rgb.pixels.resize(rgb.width * rgb.height * 3);
  REQUIRE(tjDecompress2(decompressor.get(), jpeg.data(), jpeg.size(), rgb.pixels.data(),
                        static_cast<int>(rgb.width), 0, static_cast<int>(rgb.height), TJPF_RGB,
                        TJFLAG_FASTUPSAMPLE) == 0);
  return rgb;
}

// The stored pixel that shows at (x, y) of the picture turned upright.
size_t StoredAt(int orientation, const Rgb& stored, uint32_t x, uint32_t y) {
  const auto width = static_cast<int>(stored.width);
  const auto [column, row] = StoredPoint(orientation, width, static_cast<int>(stored.height),
                                         static_cast<int>(x), static_cast<int>(y));
  return static_cast<size_t>(row * width + column) * 3;
}

// jpegtran's way to each orientation's upright picture.
const char* const JPEGTRAN_TURNS[] = {"",           "-flip horizontal", "-rotate 180",
                                      "-flip vertical", "-transpose",   "-rotate 90",
                                      "-transverse",    "-rotate 270"};

}  // namespace

TEST_CASE("a lossless crop holds exactly the source's pixels in its frame, as jpegtran cuts it") {
  const struct {
    int subsampling, flags, width, height, orientation;
    JpegFrame frame;
  } rows[] = {
      {TJSAMP_420, 0, 100, 76, 1, {32, 16, 68, 60}},  // to the right and bottom edges
      {TJSAMP_422, 0, 96, 64, 6, {16, 32, 48, 64}},   // the same, turned
      {TJSAMP_444, TJFLAG_PROGRESSIVE, 96, 64, 3, {8, 8, 41, 37}},
      {TJSAMP_GRAY, 0, 96, 64, 8, {0, 8, 64, 80}},
      {TJSAMP_420, 0, 96, 64, 8, {32, 48, 32, 48}},
  };
  for (const auto& row : rows) {
    CAPTURE(row.subsampling);
    CAPTURE(row.orientation);
    const Bytes source = Quarters(row.width, row.height, row.subsampling, row.flags, false, true);
    Bytes crop;
    REQUIRE(CropJpegLossless(source.data(), source.size(), row.orientation, row.frame, crop));
    const Rgb whole = DecodeRgb(source);
    const Rgb cut = DecodeRgb(crop);
    REQUIRE((cut.width == row.frame.width && cut.height == row.frame.height));
    // A quarter turn transposes the blocks' coefficients exactly, but the
    // inverse DCT rounds between its row and its column pass, so that a
    // transposed block may decode a level apart from the transposed pixels,
    // two after the colours' conversion. A block out of place is far more.
    const int tolerance = row.orientation >= 5 ? 2 : 0;
    int worst = 0;
    for (uint32_t y = 0; y < cut.height; ++y) {
      for (uint32_t x = 0; x < cut.width; ++x) {
        const size_t from = StoredAt(row.orientation, whole, x + row.frame.x, y + row.frame.y);
        for (size_t c = 0; c < 3; ++c) {
          worst = std::max(worst, std::abs(cut.pixels[(y * cut.width + x) * 3 + c] -
                                           whole.pixels[from + c]));
        }
      }
    }
    CHECK(worst <= tolerance);
    // jpegtran from Debian, cutting the same frame, gives the same pixels.
    WriteAll("lossless_source.jpg", source);
    char command[256];
    std::snprintf(command, sizeof command,
                  "jpegtran -perfect %s -crop %ux%u+%u+%u -outfile lossless_reference.jpg "
                  "lossless_source.jpg",
                  JPEGTRAN_TURNS[row.orientation - 1], row.frame.width, row.frame.height,
                  row.frame.x, row.frame.y);
    REQUIRE(std::system(command) == 0);
    CHECK(DecodeRgb(ReadAll("lossless_reference.jpg")).pixels == cut.pixels);
  }
}

TEST_CASE("a lossless crop keeps to the grid, and a turn that would move a partial block is refused") {
  const Bytes odd = Quarters(100, 76, TJSAMP_420);  // 76 rows: four short of whole blocks
  const JpegBlocks blocks = ReadJpegBlocks(odd.data(), odd.size());
  CHECK(blocks == JpegBlocks{16, 16});
  CHECK(LosslessCropGrid(100, 76, blocks, 5) == JpegBlocks{16, 16});  // the transpose keeps both
  CHECK(LosslessCropGrid(100, 76, blocks, 6) == JpegBlocks{});  // the bottom edge goes left
  CHECK(LosslessCropGrid(100, 76, blocks, 8) == JpegBlocks{});  // the right edge goes up
  // 4:2:2 turned a quarter: the engine checks the stored grid, then cuts on
  // the turned one; only a frame on both is cut where it was asked.
  CHECK(LosslessCropGrid(96, 64, {16, 8}, 6) == JpegBlocks{16, 16});
  Bytes crop;
  CHECK_FALSE(CropJpegLossless(odd.data(), odd.size(), 6, {0, 0, 32, 32}, crop));
  CHECK_FALSE(CropJpegLossless(odd.data(), odd.size(), 1, {8, 0, 32, 32}, crop));  // off the grid
  CHECK_FALSE(CropJpegLossless(odd.data(), odd.size(), 1, {80, 0, 32, 32}, crop));  // beyond
  CHECK(crop.empty());
}

namespace {

// What exiftool reads of the file: orientation, EXIF dimensions, software,
// XMP title, the thumbnail's length and the colour profile's colour space.
std::string ExiftoolReads(const Bytes& jpeg) {
  WriteAll("lossless_metadata.jpg", jpeg);
  REQUIRE(std::system("exiftool -T -n -IFD0:Orientation -ExifIFD:ExifImageWidth "
                      "-ExifIFD:ExifImageHeight -IFD0:Software -XMP-dc:Title "
                      "-IFD1:ThumbnailLength -ICC_Profile:ColorSpaceData lossless_metadata.jpg "
                      "> lossless_tags.txt") == 0);
  const Bytes text = ReadAll("lossless_tags.txt");
  return std::string(text.begin(), std::find(text.begin(), text.end(), '\n'));
}

}  // namespace

TEST_CASE("a lossless crop carries the source's segments, its EXIF block edited in place") {
  // A camera's picture as exiftool writes one: turned a quarter, its
  // firmware as software, its pixel dimensions, a thumbnail, an XMP title,
  // and a colour profile (a 164-byte one's header and white point).
  std::string icc(164, '\0');
  icc.replace(12, 12, "mntrRGB XYZ ").replace(36, 4, "acsp");
  icc.replace(132, 4, "wtpt").replace(144, 4, "XYZ ");
  icc[3] = static_cast<char>(164), icc[131] = 1, icc[139] = static_cast<char>(144), icc[143] = 20;
  WriteAll("lossless_profile.icc", Bytes(icc.begin(), icc.end()));
  WriteAll("lossless_thumbnail.jpg", Quarters(16, 16, TJSAMP_420));
  WriteAll("lossless_camera.jpg", Quarters(96, 64, TJSAMP_420));
  REQUIRE(std::system("exiftool -q -overwrite_original -Orientation#=6 -ExifImageWidth=96 "
                      "-ExifImageHeight=64 '-Software=Camera firmware 1.0' -XMP-dc:Title=Harbour "
                      "'-ThumbnailImage<=lossless_thumbnail.jpg' "
                      "'-ICC_Profile<=lossless_profile.icc' lossless_camera.jpg") == 0);
  const Bytes source = ReadAll("lossless_camera.jpg");

  // Our whole software text (49 bytes) has no room there, the product's name has.
  CropExifEdit edit = {true, 32, 48, {"Bluecrane Trimlet (http://www.bluecrane.example)", nullptr}};
  edit.software[1] = "Trimlet";
  Bytes crop;
  REQUIRE(CropJpegLossless(source.data(), source.size(), 6, {16, 16, 32, 48}, crop));
  Bytes bare = crop;
  REQUIRE(CarryJpegMetadata(source.data(), source.size(), true, edit, crop));
  CHECK(ExiftoolReads(crop) == "1\t32\t48\tTrimlet\tHarbour\t-\tRGB");
  // Without the metadata option only the colour profile goes with the crop.
  REQUIRE(CarryJpegMetadata(source.data(), source.size(), false, edit, bare));
  CHECK(ExiftoolReads(bare) == "-\t-\t-\t-\t-\t-\tRGB");
  // A pixel dimension stored as a LONG takes all its four bytes.
  Bytes exif = {'M', 'M', 0, 42, 0, 0, 0, 8};
  Put(exif, true, {{1, 2}, {0x8769, 2}, {4, 2}, {1, 4}, {26, 4}, {0, 4}});
  Put(exif, true, {{1, 2}, {0xA002, 2}, {4, 2}, {1, 4}, {70000, 4}, {0, 4}});
  REQUIRE(EditCropExif(exif.data(), exif.size(), edit));
  CHECK(Bytes(exif.end() - 8, exif.end() - 4) == Bytes{0, 0, 0, 32});
  // A block whose IFD0 runs past its end is not edited.
  Bytes broken = {'I', 'I', 42, 0, 8, 0, 0, 0, 200, 0, 0x12, 1, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0};
  const Bytes before = broken;
  CHECK_FALSE(EditCropExif(broken.data(), broken.size(), edit));
  CHECK(broken == before);
}
