// A photo stored sideways with an orientation tag, as a user meets it: its
// tile, the editor and the saved crop are upright, and the tiles of the
// pictures done carry their mark. (Each of the eight orientations is checked
// pixel by pixel in process.)
#include <windows.h>

#include <string>

#include "base/gdiplus_objects.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

COLORREF PixelOf(GdiBitmap& bitmap, int x, int y) {
  ARGB colour = 0;
  Gdiplus::DllExports::GdipBitmapGetPixel(bitmap.get(), x, y, &colour);
  return RGB(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF);
}

// What the screen shows of an area of a window of the program, read in the
// window's client coordinates.
class Snapshot {
 public:
  Snapshot(HWND window, const RECT& area) : origin_{area.left, area.top} {
    // The pointer goes off the window: a hovered tile is drawn tinted.
    SetCursorPos(0, 0);
    POINT at = origin_;
    ClientToScreen(window, &at);
    const HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, area.right - area.left, area.bottom - area.top);
    SelectObject(dc_, bitmap_);
    BitBlt(dc_, 0, 0, area.right - area.left, area.bottom - area.top, screen, at.x, at.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
  }
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  ~Snapshot() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  COLORREF At(LONG x, LONG y) const { return GetPixel(dc_, x - origin_.x, y - origin_.y); }

 private:
  POINT origin_;
  HDC dc_;
  HBITMAP bitmap_;
};

// Whether the quarters of a picture shown centred in `area` have the upright
// reference's colours, `reach` pixels from the middle. The picture may be
// drawn a moment after the program turns idle, a tile when its thread has
// made it.
bool ShowsUpright(HWND window, const RECT& area, int reach, GdiBitmap& reference) {
  const auto quartersMatch = [&] {
    const Snapshot shown(window, area);
    const LONG cx = (area.left + area.right) / 2;
    const LONG cy = (area.top + area.bottom) / 2;
    const int w = static_cast<int>(reference.Width());
    const int h = static_cast<int>(reference.Height());
    for (int quarter = 0; quarter < 4; ++quarter) {
      const int dx = quarter % 2 * 2 - 1, dy = quarter / 2 * 2 - 1;
      if (ColourDistance(shown.At(cx + dx * reach, cy + dy * reach),
                   PixelOf(reference, w / 2 + dx * w / 4, h / 2 + dy * h / 4)) >= 90) {
        return false;
      }
    }
    return true;
  };
  return WaitUntil(quartersMatch, Trimlet::TIMEOUT);
}

// How many pixels of the tile show the done mark's green.
int MarkPixels(const Trimlet& trimlet, int index) {
  const RECT tile = trimlet.TileRect(index);
  const Snapshot shown(trimlet.Child(IDC_FILE_LIST), tile);
  int count = 0;
  for (LONG y = tile.top; y < tile.bottom; ++y) {
    for (LONG x = tile.left; x < tile.right; ++x) {
      if (ColourDistance(shown.At(x, y), RGB(78, 154, 6)) < 40) ++count;
    }
  }
  return count;
}

}  // namespace

TEST_CASE("a sideways photo lists, shows and saves upright; the pictures done are marked") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletUprightSource");
  ScratchFolder out(L"TrimletUprightOut");
  // Made by make_upright_pictures.py: stored 480 x 320, tagged a quarter
  // right, and its upright reference.
  REQUIRE(CopyFileW(ProgramBesideTests(L"upright\\sideways_6.jpg").c_str(),
                    source.File(L"a.jpg").c_str(), FALSE));
  GdiBitmap reference = GdiBitmap::FromFile(ProgramBesideTests(L"upright\\upright_6.bmp").c_str());
  REQUIRE(reference.Width() == 320u);
  // The second picture's crop is in the destination before the start.
  REQUIRE(WritePatternPicture(source.File(L"b.jpg"), 480, 320, L"image/jpeg"));
  WriteTextFile(out.File(L"b.jpg"), "a crop saved before");
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", out.path);

  Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
  REQUIRE(trimlet.WaitStatus(0, L"a.jpg"));
  CHECK(trimlet.Status(2) == L"320 x 480");
  const HWND pane = trimlet.Child(IDC_EDITOR_PANE);
  RECT client;
  GetClientRect(pane, &client);
  CHECK(ShowsUpright(pane, client, 12, reference));
  CHECK(WaitUntil([&] { return MarkPixels(trimlet, 1) > 40; }, Trimlet::TIMEOUT));
  CHECK(MarkPixels(trimlet, 0) == 0);

  // Save and go on: the whole upright picture at 2:3, and its tile marked.
  CHECK(trimlet.Status(3) == L"320 x 480   (0, 0)");
  trimlet.Press({VK_CONTROL, VK_RIGHT});
  REQUIRE(trimlet.WaitStatus(0, L"b.jpg"));
  CHECK(WaitUntil([&] { return MarkPixels(trimlet, 0) > 40; }, Trimlet::TIMEOUT));
  CHECK(ShowsUpright(trimlet.Child(IDC_FILE_LIST), trimlet.TileRect(0), 10, reference));
  // The crop is of the picture shown; which pixels a crop holds is checked
  // in process.
  GdiBitmap crop = GdiBitmap::FromFile(out.File(L"a.jpg").c_str());
  CHECK((crop && crop.Width() == 320u && crop.Height() == 480u));
}
