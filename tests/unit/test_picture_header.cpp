#include <doctest/doctest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/picture_header.h"
#include "tests/support/bytes.h"

using Entry = std::array<uint32_t, 4>;  // tag, type, count, value

constexpr Entry ORIENTATION_6 = {0x0112, 3, 1, 6}, MAKER = {0x010F, 2, 4, 0x4142};
// In ExifJpeg(): where the TIFF header and IFD0 start, and where IFD0's first
// entry ends.
constexpr std::size_t TIFF_AT = 12, IFD0_AT = TIFF_AT + 8, FIRST_ENTRY_END = IFD0_AT + 14;

// SOI, each segment with its length, then the start of the scan.
static Bytes Jpeg(const std::vector<std::pair<unsigned char, Bytes>>& segments) {
  Bytes out = {0xFF, 0xD8};
  for (const auto& [marker, payload] : segments) {
    const Bytes segment = Segment(marker, payload);
    out.insert(out.end(), segment.begin(), segment.end());
  }
  out.insert(out.end(), {0xFF, 0xDA, 0, 2});
  return out;
}

// An EXIF block whose IFD0 starts at `ifd0` (8: right after the header) and
// links to `next`; a SHORT fills the first half of an entry's value field.
static Bytes Exif(bool big, const std::vector<Entry>& entries, uint32_t ifd0 = 8,
                  uint32_t next = 0) {
  const unsigned char order = big ? 'M' : 'I';
  Bytes out = {'E', 'x', 'i', 'f', 0, 0, order, order};
  Put(out, big, {{42, 2}, {ifd0, 4}, {static_cast<uint32_t>(entries.size()), 2}});
  for (const Entry& e : entries) {
    Put(out, big, {{e[0], 2}, {e[1], 2}, {e[2], 4}, {e[3], 2}, {0, 2}});
  }
  Put(out, big, {{next, 4}});
  return out;
}

static Bytes ExifJpeg(bool big, const std::vector<Entry>& entries, uint32_t ifd0 = 8,
                      uint32_t next = 0) {
  return Jpeg({{0xE1, Exif(big, entries, ifd0, next)}});
}

// The first `size` bytes, in a heap block of exactly that size so that
// AddressSanitizer catches a read past them.
static int Orientation(const Bytes& bytes, std::size_t size = SIZE_MAX) {
  size = std::min(size, bytes.size());
  const auto copy = std::make_unique<unsigned char[]>(size);
  std::copy_n(bytes.begin(), size, copy.get());
  return JpegOrientation(copy.get(), size);
}

TEST_CASE("each orientation in both byte orders, after JFIF and other blocks, before the scan") {
  for (const bool big : {false, true}) {
    for (uint32_t orientation = 1; orientation <= 8; ++orientation) {
      INFO(big, " ", orientation);
      CHECK(Orientation(ExifJpeg(big, {MAKER, {0x0112, 3, 1, orientation}})) == orientation);
      CHECK(OrientationSwapsSides(orientation) == (orientation >= 5));
    }
  }
  CHECK_FALSE((OrientationSwapsSides(0) || OrientationSwapsSides(9)));
  Bytes jfif = {'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 10, 10};
  jfif.resize(jfif.size() + 300);  // a thumbnail: a length over 255
  const Bytes xmp = {'h', 't', 't', 'p', ':', 0};
  Bytes jpeg = Jpeg({{0xE0, jfif}, {0xEE, {}}, {0xE1, xmp}, {0xE1, Exif(false, {ORIENTATION_6})}});
  jpeg.insert(jpeg.begin() + 2, 0xFF);  // a fill byte
  CHECK(Orientation(jpeg) == 6);
  Bytes late = Jpeg({{0xE0, jfif}});
  const Bytes exif = ExifJpeg(false, {ORIENTATION_6});
  late.insert(late.end(), exif.begin() + 2, exif.end());
  CHECK(Orientation(late) == 1);                                 // after the scan's start
  CHECK(Orientation(Bytes(exif.begin() + 2, exif.end())) == 1);  // no SOI
  CHECK(JpegOrientation(nullptr, 0) == 1);
}

TEST_CASE("a block cut short by the data's end or its segment's length reads only whole entries") {
  const Bytes jpeg = ExifJpeg(false, {ORIENTATION_6});
  for (std::size_t size = 0; size <= jpeg.size() - 4; ++size) {
    CAPTURE(size);
    CHECK(Orientation(jpeg, size) == (size >= FIRST_ENTRY_END ? 6 : 1));
    Bytes shorter = jpeg;  // the segment ends at `size`; lengths 0 and 1 included
    shorter[5] = static_cast<unsigned char>(std::max<std::size_t>(size, 4) - 4);
    CHECK(Orientation(shorter) == (size >= FIRST_ENTRY_END ? 6 : 1));
  }
}

TEST_CASE("offsets anywhere, a loop, counts beyond the data, wrong types or values read upright") {
  for (uint32_t ifd0 : {0u, 4u, 7u, 25u, 26u, 1000u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
    CHECK(Orientation(ExifJpeg(true, {ORIENTATION_6}, ifd0)) == 1);
  }
  CHECK(Orientation(ExifJpeg(true, {MAKER}, 8, 8)) == 1);  // IFD0 links to itself
  CHECK(Orientation(ExifJpeg(true, {ORIENTATION_6}, 8, 8)) == 6);
  for (const Entry& wrong : {Entry{0x0112, 4, 1, 6}, Entry{0x0112, 3, 2, 6}, Entry{0x0112, 3, 1, 0},
                             Entry{0x0112, 3, 1, 9}}) {
    CHECK(Orientation(ExifJpeg(false, {wrong, ORIENTATION_6})) == 1);  // the first one counts
  }
}

TEST_CASE("the EXIF preview: through IFD1, wholly inside the block, a JPEG stream") {
  // IFD0 of one entry after the header links to IFD1 at 26, whose two
  // entries end at 56.
  const auto withPreview = [](uint32_t offset, uint32_t length) {
    Bytes exif = Exif(false, {ORIENTATION_6}, 8, 26);
    Put(exif, false, {{2, 2}, {0x0201, 2}, {4, 2}, {1, 4}, {offset, 4}});
    Put(exif, false, {{0x0202, 2}, {4, 2}, {1, 4}, {length, 4}, {0, 4}});
    exif.insert(exif.end(), {0xFF, 0xD8, 0xFF, 0xD9});
    return Jpeg({{0xE1, exif}});
  };
  const Bytes jpeg = withPreview(56, 4);
  const unsigned char* preview = nullptr;
  std::size_t length = 0;
  REQUIRE(JpegExifPreview(jpeg.data(), jpeg.size(), preview, length));
  // After SOI, the segment's marker and length, and the EXIF signature.
  CHECK((length == 4 && preview == jpeg.data() + 2 + 4 + 6 + 56));
  CHECK(Orientation(jpeg) == 6);
  // 160 x 120 serves a 4:3 photo's tile (94 x 70), not a 3:2 one's (94 x 63)
  // nor a larger one.
  CHECK((PreviewServes(160, 120, 94, 70) && PreviewServes(160, 120, 94, 71)));
  CHECK_FALSE((PreviewServes(160, 120, 94, 63) || PreviewServes(160, 120, 161, 121) ||
               PreviewServes(0, 0, 0, 0)));
  for (const Bytes& none : {withPreview(56, 5), withPreview(57, 3), withPreview(0xFFFFFFFF, 4),
                            withPreview(56, 0xFFFFFFFF), ExifJpeg(false, {ORIENTATION_6})}) {
    CHECK_FALSE(JpegExifPreview(none.data(), none.size(), preview, length));
  }
}

TEST_CASE("EXIF tags of IFD0, the Exif IFD and the GPS IFD, their numbers little-endian") {
  // Big-endian: IFD0 at 8, the Exif IFD at 74, the GPS IFD at 116, then
  // the values that do not fit in their entries.
  Bytes tiff = {'M', 'M'};
  const auto entry = [&](uint32_t tag, uint32_t type, uint32_t count, uint32_t value) {
    Put(tiff, true, {{tag, 2}, {type, 2}, {count, 4}, {value, 4}});
  };
  Put(tiff, true, {{42, 2}, {8, 4}, {5, 2}});
  entry(0x010F, 2, 6, 134);                                 // Make, at 134
  entry(0x0110, 2, 100, 60000);                             // Model, beyond the block
  entry(0x0112, 3, 1, 6 << 16);                             // a SHORT in the entry
  entry(0x8769, 4, 1, 74);
  entry(0x8825, 4, 1, 116);
  Put(tiff, true, {{0, 4}, {3, 2}});
  entry(0x829A, 5, 1, 140);                                 // ExposureTime, at 140
  entry(0x9999, 11, 1, 0);                                  // a FLOAT: not kept
  entry(0xA005, 4, 1, 0);
  Put(tiff, true, {{0, 4}, {1, 2}});
  entry(0x0001, 2, 2, 'N' << 24);                           // GPSLatitudeRef
  Put(tiff, true, {{0, 4}});
  REQUIRE(tiff.size() == 134);
  tiff.insert(tiff.end(), {'M', 'a', 'k', 'e', 'r', 0});
  Put(tiff, true, {{1, 4}, {250, 4}});
  Bytes exif = {'E', 'x', 'i', 'f', 0, 0};
  exif.insert(exif.end(), tiff.begin(), tiff.end());
  const Bytes jpeg = Jpeg({{0xE1, exif}});
  std::string seen;
  for (const ExifTag& tag : JpegExifTags(jpeg.data(), jpeg.size())) {
    seen += std::to_string(tag.id) + "/" + std::to_string(tag.type) + ":";
    for (const unsigned char byte : tag.value) seen += std::to_string(byte) + " ";
  }
  CHECK(seen == "271/2:77 97 107 101 114 0 274/3:6 0 33434/5:1 0 0 0 250 0 0 0 1/2:78 0 ");
  CHECK(JpegExifTags(exif.data(), exif.size()).empty());  // no JPEG
}

// The size the header gives, as "w x h", or "none".
static std::string SizeOf(const Bytes& data) {
  uint32_t width = 0, height = 0;
  if (!StoredPictureSize(data.data(), data.size(), width, height)) return "none";
  return std::to_string(width) + " x " + std::to_string(height);
}

TEST_CASE("the size a header gives, and the pictures too large to decode") {
  // A JPEG's frame header after other segments, progressive or baseline; DHT
  // (C4) looks like a frame marker and is not one.
  const Bytes frame = {8, 0x4E, 0x20, 0x75, 0x30, 3};
  CHECK(SizeOf(Jpeg({{0xE0, Bytes(14)}, {0xC4, {8, 0, 1, 0, 2}}, {0xC2, frame}})) ==
        "30000 x 20000");
  CHECK(SizeOf(Jpeg({{0xC0, {8, 0, 1}}})) == "none");  // cut short
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 0x40, 0x01, 0xF0, 0x00};
  CHECK(SizeOf(gif) == "320 x 240");
  Bytes bmp(26, 0);
  bmp[0] = 'B', bmp[1] = 'M', bmp[14] = 40, bmp[18] = 0x40, bmp[19] = 0x01;
  bmp[22] = 0x10, bmp[23] = 0xFF, bmp[24] = 0xFF, bmp[25] = 0xFF;  // -240: rows from the top
  CHECK(SizeOf(bmp) == "320 x 240");
  bmp[14] = 12, bmp[20] = 0xF0, bmp[21] = 0;  // the old core header's 16-bit sides
  CHECK(SizeOf(bmp) == "320 x 240");
  CHECK(SizeOf(Bytes(gif.begin(), gif.begin() + 9)) == "none");
  // 2 GB of 32-bit pixels is the most.
  CHECK(FitsDecoded(23170, 23170));
  CHECK_FALSE(FitsDecoded(30000, 20000));
}

TEST_CASE("PNG and TIFF: sizes from IHDR and IFD0, wherever IFD0 lies; orientations where stored") {
  // The signature, then IHDR, an eXIf chunk and IDAT, each with its length
  // and a CRC that is not read; then the same eXIf after the pixels.
  const Bytes exif = Exif(true, {ORIENTATION_6});
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Put(png, true, {{13, 4}, {'I' << 24 | 'H' << 16 | 'D' << 8 | 'R', 4}, {640, 4}, {480, 4}});
  Put(png, true, {{0x08060000, 4}, {0, 1}, {0, 4}, {static_cast<uint32_t>(exif.size() - 6), 4}});
  png.insert(png.end(), {'e', 'X', 'I', 'f'});
  png.insert(png.end(), exif.begin() + 6, exif.end());
  Put(png, true, {{0, 4}, {0, 4}, {'I' << 24 | 'D' << 16 | 'A' << 8 | 'T', 4}, {0, 4}});
  CHECK((SizeOf(png) == "640 x 480" && PictureOrientation(png.data(), png.size()) == 6));
  std::rotate(png.begin() + 33, png.begin() + 33 + 12 + exif.size() - 6, png.end());
  CHECK(PictureOrientation(png.data(), png.size()) == 1);  // after the pixels
  for (const bool big : {false, true}) {
    // A SHORT width; a LONG height where the builder can write one.
    const Bytes block = Exif(big, {{0x0100, 3, 1, 500}, {0x0101, big ? 3u : 4u, 1, 400},
                                   {0x0112, 3, 1, 8}});
    const Bytes file(block.begin() + 6, block.end());
    CHECK((SizeOf(file) == "500 x 400" && PictureOrientation(file.data(), file.size()) == 8));
    // Only its header read: IFD0, at 8, is read from its place.
    uint32_t at = 0;
    REQUIRE(TiffIfdBeyond(file.data(), 8, at));
    const Bytes alone = TiffIfdBlock(file.data(), file.data() + at, file.size() - at);
    CHECK((SizeOf(alone) == "500 x 400" && PictureOrientation(alone.data(), alone.size()) == 8));
    CHECK_FALSE((TiffIfdBeyond(file.data(), file.size(), at) || TiffIfdBeyond(png.data(), 8, at)));
  }
}
