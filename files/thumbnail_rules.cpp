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

bool IsPictureFileName(const wchar_t* fileName) {
  if (fileName == nullptr) return false;
  // PathFindExtensionW's rule: a blank or a backslash ends any extension.
  const wchar_t* extension = nullptr;
  for (const wchar_t* c = fileName; *c != L'\0'; ++c) {
    if (*c == L'\\' || *c == L' ') {
      extension = nullptr;
    } else if (*c == L'.') {
      extension = c;
    }
  }
  if (extension == nullptr) return false;
  return EqualsIgnoreAsciiCase(extension, L".bmp") || EqualsIgnoreAsciiCase(extension, L".jpg") ||
         EqualsIgnoreAsciiCase(extension, L".gif");
}
