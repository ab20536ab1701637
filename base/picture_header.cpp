#include "base/picture_header.h"

#include <algorithm>
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
constexpr uint16_t TYPE_SHORT = 3;

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

// The orientation in IFD0 of a TIFF block. The next-IFD chain is never
// followed: the orientation belongs to IFD0 (IFD1 describes the thumbnail),
// so a chain that loops or points anywhere costs nothing.
int TiffOrientation(const unsigned char* data, std::size_t size) {
  if (size < TIFF_HEADER_SIZE) return UPRIGHT;
  if (data[0] != data[1] || (data[0] != 'I' && data[0] != 'M')) return UPRIGHT;
  const Tiff tiff{data, size, data[0] == 'M'};
  if (tiff.U16(2) != TIFF_MAGIC) return UPRIGHT;
  // Compared as 64-bit sizes, so no offset wraps; an IFD cannot overlap the
  // header.
  const std::size_t ifd = tiff.U32(4);
  if (ifd < TIFF_HEADER_SIZE || ifd > size - 2) return UPRIGHT;
  // A count larger than the block reads only the entries that are whole.
  const std::size_t count = std::min<std::size_t>(tiff.U16(ifd), (size - ifd - 2) / IFD_ENTRY_SIZE);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = ifd + 2 + i * IFD_ENTRY_SIZE;
    if (tiff.U16(entry) != ORIENTATION_TAG) continue;
    // A SHORT of count 1 sits in the first two bytes of the value field.
    const uint16_t value = tiff.U16(entry + 8);
    const bool valid =
        tiff.U16(entry + 2) == TYPE_SHORT && tiff.U32(entry + 4) == 1 && value >= 1 && value <= 8;
    return valid ? value : UPRIGHT;
  }
  return UPRIGHT;
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

}  // namespace

int JpegOrientation(const unsigned char* data, std::size_t size) {
  int orientation = UPRIGHT;
  WalkJpegSegments(
      data, size, [&](unsigned char marker, const unsigned char* payload, std::size_t length) {
        if (marker != APP1 || length < sizeof EXIF_SIGNATURE ||
            std::memcmp(payload, EXIF_SIGNATURE, sizeof EXIF_SIGNATURE) != 0) {
          return false;
        }
        orientation =
            TiffOrientation(payload + sizeof EXIF_SIGNATURE, length - sizeof EXIF_SIGNATURE);
        return true;
      });
  return orientation;
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

bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }
