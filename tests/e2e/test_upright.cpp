// A photo stored sideways with an orientation tag, as a user meets it: its
// tile, the editor and the saved crop are upright, and the tiles of the
// pictures done carry their mark; with lossless crops on, the frame keeps to
// the block grid under keys and mouse. (Each of the eight orientations, and
// the lossless crop's pixels, are checked pixel by pixel in process.)
#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "base/gdiplus_objects.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/bytes.h"
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

TEST_CASE(
    "a sideways photo lists, shows and saves upright, framed and cut on its block grid; "
    "the pictures done are marked") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletUprightSource");
  ScratchFolder out(L"TrimletUprightOut");
  // Made by make_e2e_pictures.py: stored 480 x 320, tagged a quarter
  // right, and its upright reference.
  REQUIRE(CopyFileW(ProgramBesideTests(L"pictures\\sideways_6.jpg").c_str(),
                    source.File(L"a.jpg").c_str(), FALSE));
  GdiBitmap reference = GdiBitmap::FromFile(ProgramBesideTests(L"pictures\\upright_6.bmp").c_str());
  REQUIRE(reference.Width() == 320u);
  // The second picture's crop is in the destination before the start.
  REQUIRE(WritePatternPicture(source.File(L"b.jpg"), 480, 320, L"image/jpeg"));
  WriteTextFile(out.File(L"b.jpg"), "a crop saved before");
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", out.path);
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LosslessJpegCrop", 1);

  Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
  REQUIRE(trimlet.WaitStatus(0, L"a.jpg"));
  CHECK(trimlet.Status(2) == L"320 x 480");
  const HWND pane = trimlet.Child(IDC_EDITOR_PANE);
  RECT client;
  GetClientRect(pane, &client);
  CHECK(ShowsUpright(pane, client, 12, reference));
  CHECK(WaitUntil([&] { return MarkPixels(trimlet, 1) > 40; }, Trimlet::TIMEOUT));
  CHECK(MarkPixels(trimlet, 0) == 0);

  // A smaller frame (2:3 kept), moved by keys one grid step (8 pixels for
  // this 4:4:4 picture) or the nearest whole number of steps, then dragged:
  // its left and top edges stay on the grid.
  CHECK(trimlet.Status(3) == L"320 x 480   (0, 0)");
  for (int i = 0; i < 5; ++i) trimlet.Press({VK_SHIFT, VK_HOME});
  for (const WORD key : {VK_RIGHT, VK_END, VK_NEXT}) trimlet.Press({key});
  REQUIRE(trimlet.WaitStatus(3, L"270 x 405   (16, 8)"));
  const POINT middle = {client.right / 2, client.bottom / 2};
  trimlet.Drag(pane, middle, {middle.x + 23, middle.y + 37});
  REQUIRE(trimlet.WaitIdle());
  POINT at = {};
  CHECK(std::swscanf(trimlet.Status(3).c_str(), L"270 x 405   (%ld, %ld)", &at.x, &at.y) == 2);
  CHECK((at.x > 16 && at.y > 8 && at.x % 8 == 0 && at.y % 8 == 0));

  // Save and go on, and its tile marked.
  trimlet.Press({VK_CONTROL, VK_RIGHT});
  REQUIRE(trimlet.WaitStatus(0, L"b.jpg"));
  CHECK(WaitUntil([&] { return MarkPixels(trimlet, 0) > 40; }, Trimlet::TIMEOUT));
  CHECK(ShowsUpright(trimlet.Child(IDC_FILE_LIST), trimlet.TileRect(0), 10, reference));
  // The crop is of the picture shown, cut losslessly: it carries the
  // source's EXIF block, its orientation now 1 (the ordinary save under
  // Wine writes none, since Wine's GDI+ keeps no property items).
  GdiBitmap crop = GdiBitmap::FromFile(out.File(L"a.jpg").c_str());
  CHECK((crop && crop.Width() == 270u && crop.Height() == 405u));
  const Bytes bytes = ReadAll(out.File(L"a.jpg"));
  const Bytes upright = {0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 1};
  CHECK(std::search(bytes.begin(), bytes.end(), upright.begin(), upright.end()) != bytes.end());
}
