#include "files/save_rules.h"

#include <cwchar>

#include "base/product.h"

SaveFormat SaveFormatFor(const wchar_t* extension) {
  constexpr struct {
    const wchar_t* extension;
    SaveFormat format;
  } FORMATS[] = {
      {L".jpg", {L"image/jpeg", &SAVE_QUALITY}}, {L".jpeg", {L"image/jpeg", &SAVE_QUALITY}},
      {L".jpe", {L"image/jpeg", &SAVE_QUALITY}}, {L".jfif", {L"image/jpeg", &SAVE_QUALITY}},
      {L".gif", {L"image/gif", &SAVE_QUALITY}},  {L".png", {L"image/png", nullptr}},
      {L".tif", {L"image/tiff", &TIFF_LZW}},     {L".tiff", {L"image/tiff", &TIFF_LZW}},
  };
  for (const auto& known : FORMATS) {
    if (EqualsIgnoreAsciiCase(extension, known.extension)) return known.format;
  }
  return {L"image/bmp", nullptr};
}

void EncoderFormatName(const wchar_t* extension, TextBuffer& name) {
  CopyText(name, extension[0] == L'.' ? extension + 1 : extension);
  for (wchar_t* c = name; *c != L'\0'; ++c) {
    if (*c >= L'a' && *c <= L'z') *c = static_cast<wchar_t>(*c - L'a' + L'A');
  }
}

bool MakeSoftwareText(SoftwareText& text, bool nameOnly) {
  text.bytes[0] = '\0';
  text.length = 0;
  TextBuffer wide;
  const bool made = nameOnly ? CopyText(wide, PRODUCT_NAME)
                             : std::swprintf(wide, TEXT_CAPACITY, L"%ls %ls (http://%ls)",
                                             MAKER_NAME, PRODUCT_NAME, MAKER_WEB_HOST) >= 0;
  if (!made) return false;
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

namespace {

// GDI+'s items of the EXIF thumbnail: it shows the whole picture, which a
// viewer would then show for the crop. (0x501A, between them, is the
// picture's own transfer function.)
bool IsThumbnailItem(uint32_t id) {
  return (id >= 0x5012 && id <= 0x5019) || id == 0x501B || (id >= 0x5020 && id <= 0x503B);
}

}  // namespace

std::size_t PropertyItemsToCarry(const PropertyItemData* source, std::size_t count,
                                 const SoftwareText& software, bool upright,
                                 PropertyItemData* out) {
  // GDI+ hands values over in the machine's byte order.
  static const uint16_t kUpright = 1;
  std::size_t used = 0;
  for (std::size_t i = 0; i < count; ++i) {
    // The source's software field would name another program.
    if (source[i].id == PROPERTY_SOFTWARE || IsThumbnailItem(source[i].id)) continue;
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
