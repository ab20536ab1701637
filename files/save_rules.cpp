#include "files/save_rules.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "base/product.h"

SaveFormat SaveFormatFor(const wchar_t* extension) {
  if (EqualsIgnoreAsciiCase(extension, L".jpg")) return {L"image/jpeg", &SAVE_QUALITY};
  if (EqualsIgnoreAsciiCase(extension, L".gif")) return {L"image/gif", &SAVE_QUALITY};
  return {L"image/bmp", nullptr};
}

void EncoderFormatName(const wchar_t* extension, TextBuffer& name) {
  CopyText(name, extension[0] == L'.' ? extension + 1 : extension);
  for (wchar_t* c = name; *c != L'\0'; ++c) {
    if (*c >= L'a' && *c <= L'z') *c = static_cast<wchar_t>(*c - L'a' + L'A');
  }
}

bool MakeSoftwareText(SoftwareText& text) {
  text.bytes[0] = '\0';
  text.length = 0;
  TextBuffer wide;
  const int written = std::swprintf(wide, TEXT_CAPACITY, L"%ls %ls (http://%ls)", MAKER_NAME,
                                    PRODUCT_NAME, MAKER_WEB_HOST);
  if (written < 0) return false;
  // The conversion stops at the buffer's end; it is whole only when the
  // source was used up, which also means the NUL was written.
  const wchar_t* from = wide;
  std::mbstate_t state{};
  const std::size_t bytes = std::wcsrtombs(text.bytes, &from, sizeof text.bytes, &state);
  if (bytes == static_cast<std::size_t>(-1) || from != nullptr) {
    text.bytes[0] = '\0';
    return false;
  }
  text.length = static_cast<uint32_t>(bytes + 1);
  return true;
}

std::size_t PropertyItemsToCarry(const PropertyItemData* source, std::size_t count,
                                 const SoftwareText& software, bool upright,
                                 PropertyItemData* out) {
  // GDI+ hands values over in the machine's byte order.
  static const uint16_t kUpright = 1;
  std::size_t used = 0;
  for (std::size_t i = 0; i < count; ++i) {
    // The source's software field would name another program.
    if (source[i].id == PROPERTY_SOFTWARE) continue;
    out[used] = source[i];
    if (upright && source[i].id == PROPERTY_ORIENTATION) {
      out[used] = {PROPERTY_ORIENTATION, sizeof kUpright, PROPERTY_TYPE_SHORT, &kUpright};
    }
    ++used;
  }
  if (software.length != 0) {
    out[used++] = {PROPERTY_SOFTWARE, software.length, PROPERTY_TYPE_ASCII, software.bytes};
  }
  return used;
}

namespace {

enum class ExifIfd { None, Zero, Exif, Gps };

// Where GDI+'s property item ids go: GPS tags are 0 to 0x1F, the Exif IFD's
// are the shot's (exposure, dates, lens) and the picture's data; the
// thumbnail's (0x5000 on), the IFD pointers and IFD1's leave.
ExifIfd IfdOf(uint32_t id) {
  if (id <= 0x001F) return ExifIfd::Gps;
  if ((id >= 0x5000 && id <= 0x5FFF) || id == 0x8769 || id == 0x8825 || id == 0xA005 ||
      id == 0x0201 || id == 0x0202 || id > 0xFFFF) {
    return ExifIfd::None;
  }
  if (id == 0x829A || id == 0x829D || (id >= 0x8822 && id <= 0x8835) ||
      (id >= 0x9000 && id <= 0x9FFF) || (id >= 0xA000 && id <= 0xAFFF)) {
    return ExifIfd::Exif;
  }
  return ExifIfd::Zero;
}

std::size_t TypeSize(uint16_t type) {
  switch (type) {
    case 1:
    case 2:
    case 7:
      return 1;
    case 3:
      return 2;
    case 4:
    case 9:
      return 4;
    case 5:
    case 10:
      return 8;
    default:
      return 0;
  }
}

void Put(std::vector<unsigned char>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> 8 * i));
}

void PutAt(std::vector<unsigned char>& out, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(value >> 8 * i);
}

// Writes an IFD at the end of `tiff` (offsets from its start), its long
// values after it; `pointers` holds the entries whose values are filled in
// later, by the offset of their value field.
void WriteIfd(std::vector<unsigned char>& tiff, std::vector<const PropertyItemData*> entries,
              std::vector<std::pair<uint16_t, std::size_t*>> pointers) {
  std::sort(entries.begin(), entries.end(),
            [](const PropertyItemData* a, const PropertyItemData* b) { return a->id < b->id; });
  const std::size_t total = entries.size() + pointers.size();
  const std::size_t start = tiff.size();
  std::size_t data = start + 2 + total * 12 + 4;
  Put(tiff, static_cast<uint32_t>(total), 2);
  std::vector<const PropertyItemData*> placed;
  std::size_t pointer = 0;
  for (std::size_t e = 0; e < entries.size() || pointer < pointers.size();) {
    if (pointer < pointers.size() &&
        (e == entries.size() || pointers[pointer].first < entries[e]->id)) {
      Put(tiff, pointers[pointer].first, 2);
      Put(tiff, 4, 2);
      Put(tiff, 1, 4);
      *pointers[pointer++].second = tiff.size();
      Put(tiff, 0, 4);
      continue;
    }
    const PropertyItemData& item = *entries[e++];
    Put(tiff, item.id, 2);
    Put(tiff, item.type, 2);
    Put(tiff, static_cast<uint32_t>(item.length / TypeSize(item.type)), 4);
    if (item.length <= 4) {
      const auto* bytes = static_cast<const unsigned char*>(item.value);
      for (uint32_t i = 0; i < 4; ++i) tiff.push_back(i < item.length ? bytes[i] : 0);
    } else {
      Put(tiff, static_cast<uint32_t>(data), 4);
      data += item.length + item.length % 2;  // values start on even offsets
      placed.push_back(&item);
    }
  }
  Put(tiff, 0, 4);  // no next IFD
  for (const PropertyItemData* item : placed) {
    const auto* bytes = static_cast<const unsigned char*>(item->value);
    tiff.insert(tiff.end(), bytes, bytes + item->length);
    if (item->length % 2 != 0) tiff.push_back(0);
  }
}

}  // namespace

bool MakeExifSegment(const PropertyItemData* items, std::size_t count,
                     std::vector<unsigned char>& segment) {
  std::vector<const PropertyItemData*> ifds[4];
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t size = TypeSize(items[i].type);
    if (size == 0 || items[i].length == 0 || items[i].length % size != 0 ||
        items[i].value == nullptr) {
      continue;
    }
    ifds[static_cast<int>(IfdOf(items[i].id))].push_back(&items[i]);
  }
  const auto& zero = ifds[static_cast<int>(ExifIfd::Zero)];
  const auto& exif = ifds[static_cast<int>(ExifIfd::Exif)];
  const auto& gps = ifds[static_cast<int>(ExifIfd::Gps)];
  if (zero.empty() && exif.empty() && gps.empty()) return false;
  std::vector<unsigned char> tiff = {'I', 'I', 42, 0, 8, 0, 0, 0};
  std::size_t exifPointer = 0;
  std::size_t gpsPointer = 0;
  std::vector<std::pair<uint16_t, std::size_t*>> pointers;
  if (!exif.empty()) pointers.emplace_back(0x8769, &exifPointer);
  if (!gps.empty()) pointers.emplace_back(0x8825, &gpsPointer);
  WriteIfd(tiff, zero, pointers);
  if (!exif.empty()) {
    PutAt(tiff, exifPointer, static_cast<uint32_t>(tiff.size()));
    WriteIfd(tiff, exif, {});
  }
  if (!gps.empty()) {
    PutAt(tiff, gpsPointer, static_cast<uint32_t>(tiff.size()));
    WriteIfd(tiff, gps, {});
  }
  constexpr std::size_t MOST_PAYLOAD = 65535 - 2;
  segment = {'E', 'x', 'i', 'f', 0, 0};
  segment.insert(segment.end(), tiff.begin(), tiff.end());
  return segment.size() <= MOST_PAYLOAD;
}

void InsertExifSegment(const std::vector<unsigned char>& segment,
                       std::vector<unsigned char>& jpeg) {
  std::size_t at = 2;
  if (jpeg.size() > 6 && jpeg[2] == 0xFF && jpeg[3] == 0xE0) {
    at = std::min(jpeg.size(), 4 + static_cast<std::size_t>(jpeg[4] << 8 | jpeg[5]));
  }
  const std::size_t length = segment.size() + 2;
  std::vector<unsigned char> app1 = {0xFF, 0xE1, static_cast<unsigned char>(length >> 8),
                                     static_cast<unsigned char>(length & 0xFF)};
  app1.insert(app1.end(), segment.begin(), segment.end());
  jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(std::min(at, jpeg.size())), app1.begin(),
              app1.end());
}
