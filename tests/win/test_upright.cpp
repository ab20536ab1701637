// Each of the eight orientations a photo can be stored with, turned upright:
// where a stored pixel lands is the tag's own definition, written out here
// apart from the turns the program asks GDI+ for.
#include <windows.h>
#include <doctest/doctest.h>

#include "base/picture_file.h"
#include "tests/support/test_pictures.h"

namespace {

constexpr int W = 3;
constexpr int H = 2;

// Where stored pixel (x, y) of a W x H picture lands upright.
POINT Upright(int orientation, int x, int y) {
  switch (orientation) {
    case 2:
      return {W - 1 - x, y};  // mirrored
    case 3:
      return {W - 1 - x, H - 1 - y};  // upside down
    case 4:
      return {x, H - 1 - y};  // mirrored upside down
    case 5:
      return {y, x};  // mirrored, then a quarter left
    case 6:
      return {H - 1 - y, x};  // a quarter right
    case 7:
      return {H - 1 - y, W - 1 - x};  // mirrored, then a quarter right
    case 8:
      return {y, W - 1 - x};  // a quarter left
    default:
      return {x, y};
  }
}

ARGB StoredColour(int x, int y) {
  return 0xFF000000u | static_cast<ARGB>(x * 80) << 16 | static_cast<ARGB>(y * 80);
}

}  // namespace

TEST_CASE("every orientation turns the stored pixels to where the tag says they belong") {
  GdiplusSession gdiplus;
  for (int orientation = 1; orientation <= 8; ++orientation) {
    CAPTURE(orientation);
    GdiBitmap picture = GdiBitmap::Create(W, H);
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        Gdiplus::DllExports::GdipBitmapSetPixel(picture.get(), x, y, StoredColour(x, y));
      }
    }
    TurnUpright(picture, orientation);
    REQUIRE(picture.Width() == static_cast<uint32_t>(orientation >= 5 ? H : W));
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        const POINT at = Upright(orientation, x, y);
        ARGB shown = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(picture.get(), at.x, at.y, &shown);
        CHECK(shown == StoredColour(x, y));
      }
    }
  }
}
