// Reading the TIFF block that an EXIF segment holds: its byte order, its
// IFDs and the JPEG segments around it. Pure, shared by the header reader
// and the crop's EXIF edit. Callers check every offset against the block's
// size before reading at it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tiff_block {

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
constexpr uint16_t SOFTWARE_TAG = 0x0131;
constexpr uint16_t PREVIEW_OFFSET_TAG = 0x0201;  // JPEGInterchangeFormat
constexpr uint16_t PREVIEW_LENGTH_TAG = 0x0202;  // JPEGInterchangeFormatLength
constexpr uint16_t EXIF_IFD_TAG = 0x8769;
constexpr uint16_t GPS_IFD_TAG = 0x8825;
constexpr uint16_t INTEROPERABILITY_IFD_TAG = 0xA005;
constexpr uint16_t TYPE_ASCII = 2;
constexpr uint16_t TYPE_SHORT = 3;
constexpr uint16_t TYPE_LONG = 4;

// The unsigned number in `count` bytes (at most 4) in either byte order.
inline uint32_t ReadNumber(const unsigned char* bytes, int count, bool bigEndian) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[bigEndian ? i : count - 1 - i];
  return value;
}

// A TIFF block in its byte order.
struct Tiff {
  const unsigned char* data;
  std::size_t size;
  bool bigEndian;

  uint32_t Read(std::size_t at, int bytes) const { return ReadNumber(data + at, bytes, bigEndian); }
  uint16_t U16(std::size_t at) const { return static_cast<uint16_t>(Read(at, 2)); }
  uint32_t U32(std::size_t at) const { return Read(at, 4); }
};

// The TIFF block at `data`, when its header is one.
inline bool OpenTiff(const unsigned char* data, std::size_t size, Tiff& tiff) {
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

inline bool OpenIfd(const Tiff& tiff, std::size_t at, Ifd& ifd) {
  if (at < TIFF_HEADER_SIZE || at > tiff.size - 2) return false;
  ifd.first = at + 2;
  ifd.declared = tiff.U16(at);
  ifd.count = std::min<std::size_t>(ifd.declared, (tiff.size - ifd.first) / IFD_ENTRY_SIZE);
  return true;
}

// The offset of the IFD's entry `tag`; false when it has none.
inline bool FindEntry(const Tiff& tiff, const Ifd& ifd, uint16_t tag, std::size_t& entry) {
  for (std::size_t i = 0; i < ifd.count; ++i) {
    entry = ifd.first + i * IFD_ENTRY_SIZE;
    if (tiff.U16(entry) == tag) return true;
  }
  return false;
}

// The value of the IFD's entry `tag` of count 1 and type `type` (a SHORT
// sits in the first two bytes of the value field); false when the first
// entry of that tag is of another kind, or there is none.
inline bool EntryValue(const Tiff& tiff, const Ifd& ifd, uint16_t tag, uint16_t type,
                       uint32_t& value) {
  std::size_t entry = 0;
  if (!FindEntry(tiff, ifd, tag, entry) || tiff.U16(entry + 2) != type ||
      tiff.U32(entry + 4) != 1) {
    return false;
  }
  value = type == TYPE_SHORT ? tiff.U16(entry + 8) : tiff.U32(entry + 8);
  return true;
}

// The thumbnail that an IFD (IFD1 of an EXIF block) points to, wholly in
// the block after its header; false when it has none.
inline bool ThumbnailBytes(const Tiff& tiff, const Ifd& ifd, uint32_t& at, uint32_t& length) {
  return EntryValue(tiff, ifd, PREVIEW_OFFSET_TAG, TYPE_LONG, at) &&
         EntryValue(tiff, ifd, PREVIEW_LENGTH_TAG, TYPE_LONG, length) && at >= TIFF_HEADER_SIZE &&
         at <= tiff.size && length <= tiff.size - at;
}

// Whether a JPEG segment is an EXIF block: APP1 with the EXIF signature,
// its TIFF block after it.
inline bool IsExifSegment(unsigned char marker, const unsigned char* payload, std::size_t length) {
  return marker == APP1 && length >= sizeof EXIF_SIGNATURE &&
         std::memcmp(payload, EXIF_SIGNATURE, sizeof EXIF_SIGNATURE) == 0;
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
    const std::size_t length = ReadNumber(data + at + 2, 2, true);
    if (length < 2) return;
    const std::size_t start = at + 4;
    const std::size_t payload = std::min(length - 2, size - start);
    if (visit(marker, data + start, payload)) return;
    at = start + payload;
  }
}

}  // namespace tiff_block
