#include "base/picture_header.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr int UPRIGHT = 1;
constexpr unsigned char MARKER = 0xFF;
constexpr unsigned char SOI = 0xD8;
constexpr unsigned char EOI = 0xD9;
constexpr unsigned char SOS = 0xDA;
constexpr unsigned char APP1 = 0xE1;
constexpr unsigned char EXIF_SIGNATURE[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::size_t TIFF_HEADER_SIZE = 8;
constexpr uint16_t TIFF_MAGIC = 42;
constexpr std::size_t IFD_ENTRY_SIZE = 12;
constexpr uint16_t ORIENTATION_TAG = 0x0112;
constexpr uint16_t PREVIEW_OFFSET_TAG = 0x0201;  // JPEGInterchangeFormat
constexpr uint16_t PREVIEW_LENGTH_TAG = 0x0202;  // JPEGInterchangeFormatLength
constexpr uint16_t EXIF_IFD_TAG = 0x8769;
constexpr uint16_t GPS_IFD_TAG = 0x8825;
constexpr uint16_t INTEROPERABILITY_IFD_TAG = 0xA005;
constexpr uint16_t TYPE_SHORT = 3;
constexpr uint16_t TYPE_LONG = 4;

// The bytes of one number of each TIFF type that GDI+ keeps as a property
// item (a rational is two longs); 0 for the others.
constexpr std::size_t NumberSize(uint16_t type) {
  switch (type) {
    case 1:
    case 2:
    case 7:
      return 1;  // BYTE, ASCII, UNDEFINED
    case 3:
      return 2;  // SHORT
    case 4:
    case 5:
    case 9:
    case 10:
      return 4;  // LONG, RATIONAL, SLONG, SRATIONAL
    default:
      return 0;
  }
}

// A TIFF block in its byte order. Callers check every offset against `size`
// before reading at it.
struct Tiff {
  const unsigned char* data;
  std::size_t size;
  bool bigEndian;

  uint32_t Read(std::size_t at, int bytes) const {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
      const uint32_t byte = data[at + (bigEndian ? i : bytes - 1 - i)];
      value = value << 8 | byte;
    }
    return value;
  }
  uint16_t U16(std::size_t at) const { return static_cast<uint16_t>(Read(at, 2)); }
  uint32_t U32(std::size_t at) const { return Read(at, 4); }
};

// The TIFF block at `data`, when its header is one.
bool OpenTiff(const unsigned char* data, std::size_t size, Tiff& tiff) {
  if (size < TIFF_HEADER_SIZE) return false;
  if (data[0] != data[1] || (data[0] != 'I' && data[0] != 'M')) return false;
  tiff = {data, size, data[0] == 'M'};
  return tiff.U16(2) == TIFF_MAGIC;
}

// An IFD's entries that lie whole in the block: a count larger than the
// block reads only those. False when the IFD starts outside the block or
// overlaps its header. Offsets are compared as 64-bit sizes: none wraps.
struct Ifd {
  std::size_t first = 0;  // the offset of its first entry
  std::size_t count = 0;
  std::size_t declared = 0;
};

bool OpenIfd(const Tiff& tiff, std::size_t at, Ifd& ifd) {
  if (at < TIFF_HEADER_SIZE || at > tiff.size - 2) return false;
  ifd.first = at + 2;
  ifd.declared = tiff.U16(at);
  ifd.count = std::min<std::size_t>(ifd.declared, (tiff.size - ifd.first) / IFD_ENTRY_SIZE);
  return true;
}

// The value of the IFD's entry `tag` of count 1 and type `type` (a SHORT
// sits in the first two bytes of the value field); false when the first
// entry of that tag is of another kind, or there is none.
bool EntryValue(const Tiff& tiff, const Ifd& ifd, uint16_t tag, uint16_t type, uint32_t& value) {
  for (std::size_t i = 0; i < ifd.count; ++i) {
    const std::size_t entry = ifd.first + i * IFD_ENTRY_SIZE;
    if (tiff.U16(entry) != tag) continue;
    if (tiff.U16(entry + 2) != type || tiff.U32(entry + 4) != 1) return false;
    value = type == TYPE_SHORT ? tiff.U16(entry + 8) : tiff.U32(entry + 8);
    return true;
  }
  return false;
}

// The orientation in IFD0 of a TIFF block (IFD1 describes the thumbnail).
int TiffOrientation(const unsigned char* data, std::size_t size) {
  Tiff tiff{};
  Ifd ifd0;
  uint32_t value = UPRIGHT;
  if (!OpenTiff(data, size, tiff) || !OpenIfd(tiff, tiff.U32(4), ifd0) ||
      !EntryValue(tiff, ifd0, ORIENTATION_TAG, TYPE_SHORT, value) || value < 1 || value > 8) {
    return UPRIGHT;
  }
  return static_cast<int>(value);
}

// The thumbnail that IFD1 of a TIFF block points to, within the block. Only
// one step of the next-IFD chain is taken, so a chain that loops costs
// nothing.
bool TiffPreview(const unsigned char* data, std::size_t size, std::size_t& offset,
                 std::size_t& length) {
  Tiff tiff{};
  Ifd ifd0;
  Ifd ifd1;
  uint32_t at = 0;
  uint32_t bytes = 0;
  if (!OpenTiff(data, size, tiff) || !OpenIfd(tiff, tiff.U32(4), ifd0)) return false;
  const std::size_t link = ifd0.first + ifd0.declared * IFD_ENTRY_SIZE;
  if (link > size - 4 || !OpenIfd(tiff, tiff.U32(link), ifd1) ||
      !EntryValue(tiff, ifd1, PREVIEW_OFFSET_TAG, TYPE_LONG, at) ||
      !EntryValue(tiff, ifd1, PREVIEW_LENGTH_TAG, TYPE_LONG, bytes) || at > size ||
      bytes > size - at || bytes < 4 || data[at] != MARKER || data[at + 1] != SOI) {
    return false;
  }
  offset = at;
  length = bytes;
  return true;
}

// Hands each JPEG segment before the first scan to `visit(marker, payload,
// payloadSize)` (the payload cut at the end of the data) until it returns
// true. Every segment there has a two-byte length that counts itself; `at`
// never passes `size`.
template <typename Visit>
void WalkJpegSegments(const unsigned char* data, std::size_t size, Visit visit) {
  if (data == nullptr || size < 2 || data[0] != MARKER || data[1] != SOI) return;
  std::size_t at = 2;
  while (size - at >= 4) {
    if (data[at] != MARKER) return;
    const unsigned char marker = data[at + 1];
    if (marker == MARKER) {  // a fill byte before the marker
      ++at;
      continue;
    }
    if (marker == SOS || marker == EOI) return;
    const std::size_t length = static_cast<std::size_t>(data[at + 2] << 8 | data[at + 3]);
    if (length < 2) return;
    const std::size_t start = at + 4;
    const std::size_t payload = std::min(length - 2, size - start);
    if (visit(marker, data + start, payload)) return;
    at = start + payload;
  }
}

// Start-of-frame markers: C0 to CF less DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameMarker(unsigned char marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

uint32_t LittleEndian(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

// The TIFF block of the first EXIF segment; false when there is none.
bool FindExifTiff(const unsigned char* data, std::size_t size, const unsigned char*& tiff,
                  std::size_t& tiffSize) {
  bool found = false;
  WalkJpegSegments(data, size,
                   [&](unsigned char marker, const unsigned char* payload, std::size_t length) {
                     if (marker != APP1 || length < sizeof EXIF_SIGNATURE ||
                         std::memcmp(payload, EXIF_SIGNATURE, sizeof EXIF_SIGNATURE) != 0) {
                       return false;
                     }
                     tiff = payload + sizeof EXIF_SIGNATURE;
                     tiffSize = length - sizeof EXIF_SIGNATURE;
                     found = true;
                     return true;
                   });
  return found;
}

}  // namespace

int JpegOrientation(const unsigned char* data, std::size_t size) {
  const unsigned char* tiff = nullptr;
  std::size_t tiffSize = 0;
  return FindExifTiff(data, size, tiff, tiffSize) ? TiffOrientation(tiff, tiffSize) : UPRIGHT;
}

namespace {

// Adds the entries of the IFD at `at` to `tags`, their numbers turned
// little-endian; hands the offsets of the sub-IFDs it points to on.
void ReadIfdTags(const Tiff& tiff, std::size_t at, std::vector<ExifTag>& tags,
                 uint32_t* exifIfd = nullptr, uint32_t* gpsIfd = nullptr) {
  Ifd ifd;
  if (!OpenIfd(tiff, at, ifd)) return;
  for (std::size_t i = 0; i < ifd.count; ++i) {
    const std::size_t entry = ifd.first + i * IFD_ENTRY_SIZE;
    const uint16_t id = tiff.U16(entry);
    const uint16_t type = tiff.U16(entry + 2);
    if (id == EXIF_IFD_TAG || id == GPS_IFD_TAG || id == INTEROPERABILITY_IFD_TAG) {
      uint32_t* pointer = id == EXIF_IFD_TAG ? exifIfd : id == GPS_IFD_TAG ? gpsIfd : nullptr;
      if (pointer != nullptr && type == TYPE_LONG) *pointer = tiff.U32(entry + 8);
      continue;
    }
    const std::size_t width = NumberSize(type);
    const std::size_t count = (type == 5 || type == 10 ? 2 : 1) * std::size_t{tiff.U32(entry + 4)};
    // Four bytes or fewer sit in the entry itself.
    if (width == 0 || count > tiff.size / width) continue;
    const std::size_t bytes = count * width;
    const std::size_t value = bytes <= 4 ? entry + 8 : tiff.U32(entry + 8);
    if (value > tiff.size || bytes > tiff.size - value) continue;
    ExifTag tag;
    tag.id = id;
    tag.type = type;
    tag.value.resize(bytes);
    for (std::size_t n = 0; n < count; ++n) {
      const uint32_t number = tiff.Read(value + n * width, static_cast<int>(width));
      for (std::size_t b = 0; b < width; ++b) {
        tag.value[n * width + b] = static_cast<unsigned char>(number >> (8 * b));
      }
    }
    tags.push_back(std::move(tag));
  }
}

}  // namespace

std::vector<ExifTag> JpegExifTags(const unsigned char* data, std::size_t size) {
  std::vector<ExifTag> tags;
  const unsigned char* block = nullptr;
  std::size_t blockSize = 0;
  Tiff tiff{};
  if (!FindExifTiff(data, size, block, blockSize) || !OpenTiff(block, blockSize, tiff)) return tags;
  uint32_t exifIfd = 0;
  uint32_t gpsIfd = 0;
  ReadIfdTags(tiff, tiff.U32(4), tags, &exifIfd, &gpsIfd);
  if (exifIfd != 0) ReadIfdTags(tiff, exifIfd, tags);
  if (gpsIfd != 0) ReadIfdTags(tiff, gpsIfd, tags);
  return tags;
}

bool JpegExifPreview(const unsigned char* data, std::size_t size, const unsigned char*& preview,
                     std::size_t& length) {
  const unsigned char* tiff = nullptr;
  std::size_t tiffSize = 0;
  std::size_t offset = 0;
  if (!FindExifTiff(data, size, tiff, tiffSize) || !TiffPreview(tiff, tiffSize, offset, length)) {
    return false;
  }
  preview = tiff + offset;
  return true;
}

bool StoredPictureSize(const unsigned char* data, std::size_t size, uint32_t& width,
                       uint32_t& height) {
  if (data == nullptr) return false;
  bool found = false;
  // JPEG: precision, then height and width, big-endian.
  WalkJpegSegments(data, size,
                   [&](unsigned char marker, const unsigned char* payload, std::size_t length) {
                     if (!IsFrameMarker(marker) || length < 5) return false;
                     height = static_cast<uint32_t>(payload[1] << 8 | payload[2]);
                     width = static_cast<uint32_t>(payload[3] << 8 | payload[4]);
                     found = true;
                     return true;
                   });
  if (found) return true;
  // GIF: the logical screen's width and height after the signature.
  if (size >= 10 && std::memcmp(data, "GIF8", 4) == 0) {
    width = LittleEndian(data + 6, 2);
    height = LittleEndian(data + 8, 2);
    return true;
  }
  // BMP: an old core header has 16-bit sides, the others 32-bit ones; a
  // negative height means rows from the top.
  if (size >= 26 && data[0] == 'B' && data[1] == 'M') {
    const bool core = LittleEndian(data + 14, 4) == 12;
    const auto columns = static_cast<int32_t>(LittleEndian(data + 18, core ? 2 : 4));
    const auto rows = static_cast<int32_t>(LittleEndian(data + (core ? 20 : 22), core ? 2 : 4));
    if (columns < 0 || rows == INT32_MIN) return false;
    width = static_cast<uint32_t>(columns);
    height = static_cast<uint32_t>(rows < 0 ? -rows : rows);
    return true;
  }
  return false;
}

bool FitsDecoded(uint32_t width, uint32_t height) {
  constexpr uint64_t MOST_BYTES = 0x7FFFFFFF;
  return static_cast<uint64_t>(width) * height * 4 <= MOST_BYTES;
}

bool PreviewServes(uint32_t previewWidth, uint32_t previewHeight, uint32_t coverWidth,
                   uint32_t coverHeight) {
  if (previewWidth < coverWidth || previewHeight < coverHeight || previewWidth == 0 ||
      previewHeight == 0) {
    return false;
  }
  const double width = previewWidth;
  const double height = previewHeight;
  return std::abs(height * coverWidth / width - coverHeight) <= 1.0 &&
         std::abs(width * coverHeight / height - coverWidth) <= 1.0;
}

bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }
