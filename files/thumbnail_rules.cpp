#include "files/thumbnail_rules.h"

#include "base/rounding.h"
#include "base/text.h"

namespace {

// The short side's length in the box; the quotient is kept as a
// single-precision value, so an almost exact half rounds as a half.
int32_t ScaledSide(uint32_t shortSide, uint32_t longSide) {
  const float scaled = static_cast<float>(static_cast<double>(shortSide) /
                                          static_cast<double>(longSide) * THUMBNAIL_BOX_SIZE);
  return RoundHalfDown(scaled);
}

int32_t CentredOffset(int32_t side) {
  return RoundHalfDown(static_cast<float>(THUMBNAIL_TILE_SIZE - side) * 0.5f);
}

}  // namespace

Rect PlaceThumbnail(uint32_t imageWidth, uint32_t imageHeight) {
  int32_t width = THUMBNAIL_BOX_SIZE;
  int32_t height = THUMBNAIL_BOX_SIZE;
  if (imageWidth > imageHeight) height = ScaledSide(imageHeight, imageWidth);
  if (imageWidth < imageHeight) width = ScaledSide(imageWidth, imageHeight);
  return {CentredOffset(width), CentredOffset(height), width, height};
}

namespace {

// PathFindExtensionW's rule: a blank or a backslash ends any extension.
const wchar_t* ExtensionOf(const wchar_t* fileName) {
  const wchar_t* extension = nullptr;
  for (const wchar_t* c = fileName; c != nullptr && *c != L'\0'; ++c) {
    if (*c == L'\\' || *c == L' ') {
      extension = nullptr;
    } else if (*c == L'.') {
      extension = c;
    }
  }
  return extension;
}

constexpr struct {
  const wchar_t* extension;
  MoreFormat format;
} kMoreExtensions[] = {
    {L".png", MoreFormat::Png},   {L".tif", MoreFormat::Tiff}, {L".tiff", MoreFormat::Tiff},
    {L".jpeg", MoreFormat::Jpeg}, {L".jpe", MoreFormat::Jpeg}, {L".jfif", MoreFormat::Jpeg},
};

}  // namespace

MoreFormat MoreFormatOf(const wchar_t* fileName) {
  const wchar_t* extension = ExtensionOf(fileName);
  for (const auto& known : kMoreExtensions) {
    if (extension != nullptr && EqualsIgnoreAsciiCase(extension, known.extension)) {
      return known.format;
    }
  }
  return MoreFormat::None;
}

const wchar_t* MoreFormatName(MoreFormat format) {
  constexpr const wchar_t* NAMES[] = {L"", L"PNG", L"TIFF", L"JPEG"};
  return NAMES[static_cast<int>(format)];
}

bool IsPictureFileName(const wchar_t* fileName, bool moreFormats) {
  const wchar_t* extension = ExtensionOf(fileName);
  if (extension == nullptr) return false;
  return EqualsIgnoreAsciiCase(extension, L".bmp") || EqualsIgnoreAsciiCase(extension, L".jpg") ||
         EqualsIgnoreAsciiCase(extension, L".gif") ||
         (moreFormats && MoreFormatOf(fileName) != MoreFormat::None);
}

void DescribeLeftOut(const LeftOut& leftOut, const wchar_t* one, const wchar_t* several,
                     const wchar_t* belowMinimum, TextBuffer& text) {
  text[0] = L'\0';
  int count = leftOut.belowMinimum;
  TextBuffer reasons = L"";
  for (int i = 0; i < MORE_FORMAT_COUNT; ++i) {
    if (leftOut.byFormat[i] == 0) continue;
    count += leftOut.byFormat[i];
    if (reasons[0] != L'\0') AppendText(reasons, L", ");
    AppendText(reasons, MoreFormatName(static_cast<MoreFormat>(i + 1)));
  }
  if (leftOut.belowMinimum > 0) {
    if (reasons[0] != L'\0') AppendText(reasons, L", ");
    AppendText(reasons, belowMinimum);
  }
  if (count == 0) return;
  wchar_t number[12];
  FormatDecimal(number, static_cast<unsigned>(count), 0);
  TextBuffer counted;
  ReplaceAll(L"%1", count == 1 ? one : several, number, counted, TEXT_CAPACITY);
  ReplaceAll(L"%2", counted, reasons, text, TEXT_CAPACITY);
}
