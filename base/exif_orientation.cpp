#include "base/exif_orientation.h"

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

}  // namespace

int JpegOrientation(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size < 2 || data[0] != MARKER || data[1] != SOI) return UPRIGHT;
  // Every segment up to the first scan has a two-byte length that counts
  // itself; `at` never passes `size`.
  std::size_t at = 2;
  while (size - at >= 4) {
    if (data[at] != MARKER) return UPRIGHT;
    const unsigned char marker = data[at + 1];
    if (marker == MARKER) {  // a fill byte before the marker
      ++at;
      continue;
    }
    if (marker == SOS || marker == EOI) return UPRIGHT;
    const std::size_t length = static_cast<std::size_t>(data[at + 2] << 8 | data[at + 3]);
    if (length < 2) return UPRIGHT;
    const std::size_t start = at + 4;
    const std::size_t payload = std::min(length - 2, size - start);
    if (marker == APP1 && payload >= sizeof EXIF_SIGNATURE &&
        std::memcmp(data + start, EXIF_SIGNATURE, sizeof EXIF_SIGNATURE) == 0) {
      return TiffOrientation(data + start + sizeof EXIF_SIGNATURE, payload - sizeof EXIF_SIGNATURE);
    }
    at = start + payload;
  }
  return UPRIGHT;
}

bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }
