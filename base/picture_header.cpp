#include "base/picture_header.h"

#include "base/tiff_block.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

using namespace tiff_block;

namespace {

constexpr int UPRIGHT = 1;

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
      !ThumbnailBytes(tiff, ifd1, at, bytes) || bytes < 4 || data[at] != MARKER ||
      data[at + 1] != SOI) {
    return false;
  }
  offset = at;
  length = bytes;
  return true;
}

// Start-of-frame markers: C0 to CF less DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameMarker(unsigned char marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The TIFF block of the first EXIF segment; false when there is none.
bool FindExifTiff(const unsigned char* data, std::size_t size, const unsigned char*& tiff,
                  std::size_t& tiffSize) {
  bool found = false;
  WalkJpegSegments(data, size,
                   [&](unsigned char marker, const unsigned char* payload, std::size_t length) {
                     if (!IsExifSegment(marker, payload, length)) return false;
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

constexpr unsigned char PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t PNG_CHUNK_HEAD = 8;  // its length and type; its CRC follows the data
constexpr uint16_t IMAGE_WIDTH_TAG = 0x0100;
constexpr uint16_t IMAGE_LENGTH_TAG = 0x0101;

bool IsPng(const unsigned char* data, std::size_t size) {
  return size >= sizeof PNG_SIGNATURE &&
         std::memcmp(data, PNG_SIGNATURE, sizeof PNG_SIGNATURE) == 0;
}

// The data of the PNG's first chunk of `type` before its pixels (IDAT).
bool FindPngChunk(const unsigned char* data, std::size_t size, const char* type,
                  const unsigned char*& chunk, std::size_t& length) {
  if (!IsPng(data, size)) return false;
  for (std::size_t at = sizeof PNG_SIGNATURE; size - at >= PNG_CHUNK_HEAD;) {
    const std::size_t declared = ReadNumber(data + at, 4, true);
    const unsigned char* name = data + at + 4;
    if (std::memcmp(name, "IDAT", 4) == 0 || declared > size - at - PNG_CHUNK_HEAD) return false;
    if (std::memcmp(name, type, 4) == 0) {
      chunk = data + at + PNG_CHUNK_HEAD;
      length = declared;
      return true;
    }
    at += PNG_CHUNK_HEAD + declared;
    if (size - at < 4) return false;
    at += 4;  // the CRC
  }
  return false;
}

// A width or length of a TIFF's IFD0: a SHORT or a LONG.
bool TiffSide(const Tiff& tiff, const Ifd& ifd, uint16_t tag, uint32_t& side) {
  return EntryValue(tiff, ifd, tag, TYPE_SHORT, side) ||
         EntryValue(tiff, ifd, tag, TYPE_LONG, side);
}

}  // namespace

int PictureOrientation(const unsigned char* data, std::size_t size) {
  const unsigned char* exif = nullptr;
  std::size_t length = 0;
  if (data == nullptr) return UPRIGHT;
  if (FindPngChunk(data, size, "eXIf", exif, length)) return TiffOrientation(exif, length);
  Tiff tiff{};
  if (OpenTiff(data, size, tiff)) return TiffOrientation(data, size);
  return JpegOrientation(data, size);
}

bool TiffIfdBeyond(const unsigned char* data, std::size_t size, uint32_t& offset) {
  Tiff tiff{};
  if (data == nullptr || !OpenTiff(data, size, tiff)) return false;
  offset = tiff.U32(4);
  return offset >= size;
}

std::vector<unsigned char> TiffIfdBlock(const unsigned char* header, const unsigned char* ifd,
                                        std::size_t ifdSize) {
  std::vector<unsigned char> block(header, header + TIFF_HEADER_SIZE);
  // IFD0 at 8, in the block's byte order.
  std::fill(block.begin() + 4, block.end(), 0);
  block[header[0] == 'M' ? 7 : 4] = TIFF_HEADER_SIZE;
  block.insert(block.end(), ifd, ifd + ifdSize);
  return block;
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
                     height = ReadNumber(payload + 1, 2, true);
                     width = ReadNumber(payload + 3, 2, true);
                     found = true;
                     return true;
                   });
  if (found) return true;
  // PNG: the IHDR chunk comes first, its width and height big-endian.
  if (IsPng(data, size) && size >= 24 && std::memcmp(data + 12, "IHDR", 4) == 0) {
    width = ReadNumber(data + 16, 4, true);
    height = ReadNumber(data + 20, 4, true);
    return true;
  }
  Tiff tiff{};
  Ifd ifd0;
  uint32_t tiffWidth = 0;
  uint32_t tiffHeight = 0;
  if (OpenTiff(data, size, tiff)) {
    if (!OpenIfd(tiff, tiff.U32(4), ifd0) || !TiffSide(tiff, ifd0, IMAGE_WIDTH_TAG, tiffWidth) ||
        !TiffSide(tiff, ifd0, IMAGE_LENGTH_TAG, tiffHeight)) {
      return false;
    }
    width = tiffWidth;
    height = tiffHeight;
    return true;
  }
  // GIF: the logical screen's width and height after the signature.
  if (size >= 10 && std::memcmp(data, "GIF8", 4) == 0) {
    width = ReadNumber(data + 6, 2, false);
    height = ReadNumber(data + 8, 2, false);
    return true;
  }
  // BMP: an old core header has 16-bit sides, the others 32-bit ones; a
  // negative height means rows from the top.
  if (size >= 26 && data[0] == 'B' && data[1] == 'M') {
    const bool core = ReadNumber(data + 14, 4, false) == 12;
    const auto columns = static_cast<int32_t>(ReadNumber(data + 18, core ? 2 : 4, false));
    const auto rows =
        static_cast<int32_t>(ReadNumber(data + (core ? 20 : 22), core ? 2 : 4, false));
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
