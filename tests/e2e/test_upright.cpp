// Photos stored sideways with an orientation tag, as a user meets them: the
// list and the editor show them upright, the crops come out upright, Keep
// frame carries the selection on, and the tiles of the pictures done carry
// their mark, also after a new start.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "base/gdiplus_objects.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

constexpr int ORIENTATIONS[] = {1, 3, 6, 8};

std::wstring Name(int orientation) { return L"o" + std::to_wstring(orientation) + L".jpg"; }

// The made pictures (see make_upright_pictures.py) beside the tests.
std::wstring Made(const wchar_t* kind, int orientation) {
  return ProgramBesideTests(L"upright\\") + kind + std::to_wstring(orientation) +
         (kind[0] == L's' ? L".jpg" : L".bmp");
}

// The sum of the differences of the three channels.
int Distance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

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
// reference's colours, `reach` pixels from the middle.
bool QuartersMatch(HWND window, const RECT& area, int reach, GdiBitmap& reference) {
  const Snapshot shown(window, area);
  const LONG cx = (area.left + area.right) / 2;
  const LONG cy = (area.top + area.bottom) / 2;
  const int w = static_cast<int>(reference.Width());
  const int h = static_cast<int>(reference.Height());
  for (int dy : {-1, 1}) {
    for (int dx : {-1, 1}) {
      if (Distance(shown.At(cx + dx * reach, cy + dy * reach),
                   PixelOf(reference, w / 2 + dx * w / 4, h / 2 + dy * h / 4)) >= 90) {
        return false;
      }
    }
  }
  return true;
}

// The picture may be drawn a moment after the program turns idle.
bool ShowsUpright(HWND window, const RECT& area, int reach, GdiBitmap& reference) {
  return WaitUntil([&] { return QuartersMatch(window, area, reach, reference); }, 5000);
}

// How many pixels of the tile show the done mark's green.
int MarkPixels(const Trimlet& trimlet, int index) {
  const RECT tile = trimlet.TileRect(index);
  const Snapshot shown(trimlet.Child(IDC_FILE_LIST), tile);
  int count = 0;
  for (LONG y = tile.top; y < tile.bottom; ++y) {
    for (LONG x = tile.left; x < tile.right; ++x) {
      if (Distance(shown.At(x, y), RGB(78, 154, 6)) < 40) ++count;
    }
  }
  return count;
}

// The crop matches the reference's area, status part 3's "w x h   (x, y)".
void CheckCrop(const std::wstring& path, GdiBitmap& reference, const std::wstring& area) {
  int w = 0, h = 0, x = 0, y = 0;
  REQUIRE(swscanf(area.c_str(), L"%d x %d (%d, %d)", &w, &h, &x, &y) == 4);
  GdiBitmap crop = GdiBitmap::FromFile(path.c_str());
  REQUIRE((crop && crop.Width() == static_cast<uint32_t>(w) &&
           crop.Height() == static_cast<uint32_t>(h)));
  long difference = 0;
  for (int row = 0; row < h; row += 3) {
    for (int column = 0; column < w; column += 3) {
      difference += Distance(PixelOf(crop, column, row), PixelOf(reference, x + column, y + row));
    }
  }
  CHECK(difference / ((w / 3 + 1) * (h / 3 + 1)) < 12);
}

}  // namespace

TEST_CASE("sideways photos show, list and save upright; Keep frame; the pictures done marked") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletUprightSource");
  ScratchFolder out(L"TrimletUprightOut");
  for (int orientation : ORIENTATIONS) {
    REQUIRE(CopyFileW(Made(L"sideways_", orientation).c_str(),
                      source.File(Name(orientation).c_str()).c_str(), FALSE));
  }
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", out.path);
  // Tall enough for every tile to be on the screen, where the test reads it.
  WriteNumberValue(HKEY_CURRENT_USER, LAYOUT_KEY, L"MainWindowHeight", 900);
  // What Keep frame makes of a frame of 450 x 300 at (20, 20) on 480 x 320:
  // the same on a picture of that size; in proportion on 320 x 480, its
  // height then following the 3:2 ratio.
  const wchar_t* const kFrames[] = {L"450 x 300   (20, 20)", L"450 x 300   (20, 20)",
                                    L"300 x 200   (13, 30)", L"300 x 200   (13, 30)"};
  {
    Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
    for (int i = 0; i < 4; ++i) {
      const int orientation = ORIENTATIONS[i];
      CAPTURE(orientation);
      REQUIRE(trimlet.WaitStatus(0, Name(orientation)));
      GdiBitmap reference = GdiBitmap::FromFile(Made(L"upright_", orientation).c_str());
      CHECK(trimlet.Status(2) == (orientation < 5 ? L"480 x 320" : L"320 x 480"));
      RECT pane;
      GetClientRect(trimlet.Child(IDC_EDITOR_PANE), &pane);
      CHECK(ShowsUpright(trimlet.Child(IDC_EDITOR_PANE), pane, 12, reference));
      if (i == 0) {
        trimlet.Press({VK_CONTROL, 'K'});
        CHECK(WaitUntil(
            [] { return ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"KeepFrame").Number() == 1; },
            5000));
        for (WORD key : {VK_HOME, VK_HOME, VK_HOME}) trimlet.Press({VK_SHIFT, key});
        for (WORD key : {VK_END, VK_END, VK_NEXT, VK_NEXT}) trimlet.Press({key});
      }
      CHECK(trimlet.WaitStatus(3, kFrames[i]));
      const std::wstring area = trimlet.Status(3);
      trimlet.Press({VK_CONTROL, static_cast<WORD>(i == 3 ? 'S' : VK_RIGHT)});
      REQUIRE(WaitUntil(
          [&] {
            return trimlet.Idle() &&
                   GetFileAttributesW((out.path + L"\\" + Name(orientation)).c_str()) !=
                       INVALID_FILE_ATTRIBUTES;
          },
          Trimlet::TIMEOUT));
      CheckCrop(out.File(Name(orientation).c_str()), reference, area);
      // The tile of the picture left behind now carries the mark.
      if (i < 3) CHECK(WaitUntil([&] { return MarkPixels(trimlet, i) > 40; }, 5000));
    }
    trimlet.Close();
  }
  // A new start marks every picture whose crop is there; a crop deleted
  // loses its mark on a refresh. The tiles are upright.
  Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
  REQUIRE(trimlet.WaitStatus(0, Name(1)));
  const HWND list = trimlet.Child(IDC_FILE_LIST);
  for (int i = 1; i < 4; ++i) {
    CAPTURE(i);
    CHECK(WaitUntil([&] { return MarkPixels(trimlet, i) > 40; }, 5000));
    GdiBitmap reference = GdiBitmap::FromFile(Made(L"upright_", ORIENTATIONS[i]).c_str());
    CHECK(ShowsUpright(list, trimlet.TileRect(i), 10, reference));
  }
  REQUIRE(DeleteFileW(out.File(Name(6).c_str()).c_str()));
  trimlet.Press({VK_F5});
  REQUIRE(
      WaitUntil([&] { return trimlet.Idle() && MarkPixels(trimlet, 2) == 0; }, Trimlet::TIMEOUT));
  CHECK(MarkPixels(trimlet, 3) > 40);
}
