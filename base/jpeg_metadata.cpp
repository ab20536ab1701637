#include "base/jpeg_metadata.h"

#include <cstring>
#include <string_view>

#include "base/tiff_block.h"

using namespace tiff_block;

namespace {

constexpr unsigned char APP0 = 0xE0;
constexpr unsigned char APP2 = 0xE2;
constexpr unsigned char APP14 = 0xEE;
constexpr unsigned char APP15 = 0xEF;
constexpr unsigned char COM = 0xFE;
constexpr uint16_t PIXEL_X_DIMENSION_TAG = 0xA002;
constexpr uint16_t PIXEL_Y_DIMENSION_TAG = 0xA003;

bool StartsWith(const unsigned char* payload, std::size_t length, std::string_view prefix) {
  return length >= prefix.size() && std::memcmp(payload, prefix.data(), prefix.size()) == 0;
}

// ICC profiles are cut into APP2 segments that start with this name.
bool IsColourProfile(unsigned char marker, const unsigned char* payload, std::size_t length) {
  return marker == APP2 && StartsWith(payload, length, {"ICC_PROFILE\0", 12});
}

// The engine writes these itself, to match the stream it writes.
bool WrittenByEngine(unsigned char marker, const unsigned char* payload, std::size_t length) {
  return (marker == APP0 && (StartsWith(payload, length, {"JFIF\0", 5}) ||
                             StartsWith(payload, length, {"JFXX\0", 5}))) ||
         (marker == APP14 && StartsWith(payload, length, "Adobe"));
}

// The writes an edit makes, gathered before any is made.
struct ExifWrite {
  std::size_t at;
  int bytes;  // 0: `length` bytes of `text`, then NULs up to `room`
  uint32_t value;
  const char* text = nullptr;
  std::size_t room = 0;
};

class ExifPlan {
 public:
  explicit ExifPlan(const Tiff& tiff) : tiff_(tiff) {}

  void Number(std::size_t at, int bytes, uint32_t value) {
    if (count_ < MOST) writes_[count_++] = {at, bytes, value};
  }
  void Text(std::size_t at, std::size_t room, const char* text) {
    if (count_ < MOST) writes_[count_++] = {at, 0, 0, text, room};
  }

  // A number entry of count 1, SHORT or LONG, set to `value` where it fits.
  void SetNumber(const Ifd& ifd, uint16_t tag, uint32_t value) {
    std::size_t entry = 0;
    if (!FindEntry(tiff_, ifd, tag, entry) || tiff_.U32(entry + 4) != 1) return;
    const uint16_t type = tiff_.U16(entry + 2);
    if (type == TYPE_LONG || (type == TYPE_SHORT && value <= 0xFFFF)) {
      Number(entry + 8, type == TYPE_SHORT ? 2 : 4, value);
    }
  }

  void Apply(unsigned char* data) const {
    for (std::size_t i = 0; i < count_; ++i) {
      const ExifWrite& write = writes_[i];
      if (write.bytes == 0) {
        const std::size_t length = std::strlen(write.text);
        std::memset(data + write.at, 0, write.room);
        std::memcpy(data + write.at, write.text, length);
        continue;
      }
      for (int b = 0; b < write.bytes; ++b) {
        const int shift = 8 * (tiff_.bigEndian ? write.bytes - 1 - b : b);
        data[write.at + static_cast<std::size_t>(b)] =
            static_cast<unsigned char>(write.value >> shift);
      }
    }
  }

 private:
  static constexpr std::size_t MOST = 8;
  const Tiff& tiff_;
  ExifWrite writes_[MOST] = {};
  std::size_t count_ = 0;
};

}  // namespace

bool EditCropExif(unsigned char* data, std::size_t size, const CropExifEdit& edit) {
  Tiff tiff{};
  Ifd ifd0;
  if (!OpenTiff(data, size, tiff) || !OpenIfd(tiff, tiff.U32(4), ifd0) ||
      ifd0.count != ifd0.declared) {
    return false;
  }
  const std::size_t link = ifd0.first + ifd0.count * IFD_ENTRY_SIZE;
  if (link > size - 4) return false;
  ExifPlan plan(tiff);
  if (edit.turned) plan.SetNumber(ifd0, ORIENTATION_TAG, 1);

  uint32_t exifAt = 0;
  if (EntryValue(tiff, ifd0, EXIF_IFD_TAG, TYPE_LONG, exifAt)) {
    Ifd exif;
    if (!OpenIfd(tiff, exifAt, exif)) return false;
    plan.SetNumber(exif, PIXEL_X_DIMENSION_TAG, edit.width);
    plan.SetNumber(exif, PIXEL_Y_DIMENSION_TAG, edit.height);
  }

  std::size_t entry = 0;
  if (FindEntry(tiff, ifd0, SOFTWARE_TAG, entry) && tiff.U16(entry + 2) == TYPE_ASCII) {
    const std::size_t room = tiff.U32(entry + 4);
    const std::size_t at = room <= 4 ? entry + 8 : tiff.U32(entry + 8);
    if (at > size || room > size - at) return false;
    for (const char* name : edit.software) {
      if (name != nullptr && std::strlen(name) < room) {
        plan.Text(at, room, name);
        break;
      }
    }
  }

  const uint32_t thumbnailAt = tiff.U32(link);
  if (thumbnailAt != 0) {
    Ifd ifd1;
    if (!OpenIfd(tiff, thumbnailAt, ifd1)) return false;
    uint32_t at = 0;
    uint32_t length = 0;
    if (ThumbnailBytes(tiff, ifd1, at, length)) plan.Text(at, length, "");
    plan.Number(link, 4, 0);
  }
  plan.Apply(data);
  return true;
}

bool CarryJpegMetadata(const unsigned char* source, std::size_t size, bool all,
                       const CropExifEdit& edit, std::vector<unsigned char>& crop) {
  if (crop.size() < 4 || crop[0] != MARKER || crop[1] != SOI) return false;
  // After the crop's own leading segments.
  std::size_t insertAt = 2;
  WalkJpegSegments(crop.data(), crop.size(),
                   [&](unsigned char marker, const unsigned char* payload, std::size_t length) {
                     if (marker < APP0 || marker > APP15) return true;
                     insertAt = static_cast<std::size_t>(payload - crop.data()) + length;
                     return false;
                   });
  std::vector<unsigned char> carried;
  bool exifEdited = false;
  WalkJpegSegments(
      source, size, [&](unsigned char marker, const unsigned char* payload, std::size_t length) {
        const bool metadata = (marker >= APP0 && marker <= APP15) || marker == COM;
        // A segment cut short by the end of the file is not carried.
        const std::size_t declared = ReadNumber(payload - 2, 2, true) - 2;
        if (!metadata || length != declared ||
            (all ? WrittenByEngine(marker, payload, length)
                 : !IsColourProfile(marker, payload, length))) {
          return false;
        }
        const std::size_t start = carried.size();
        carried.insert(carried.end(), payload - 4, payload + length);
        if (!exifEdited && IsExifSegment(marker, payload, length)) {
          exifEdited = true;
          constexpr std::size_t SKIP = 4 + sizeof EXIF_SIGNATURE;
          EditCropExif(carried.data() + start + SKIP, length - sizeof EXIF_SIGNATURE, edit);
        }
        return false;
      });
  crop.insert(crop.begin() + static_cast<std::ptrdiff_t>(insertAt), carried.begin(), carried.end());
  return true;
}
