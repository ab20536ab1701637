// The main job, as a user does it: open a folder, frame with a drag and keys,
// save and go on or back, answer an overwrite, step back and forth; then
// check every file written against the frame it was saved with.
#include <shlwapi.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "base/gdiplus_objects.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

// Waits for the picture named in the status bar, and the program idle.
bool Shows(const Trimlet& trimlet, const wchar_t* name, const wchar_t* position) {
  const bool shown = trimlet.WaitStatus(0, name) && trimlet.WaitStatus(1, position);
  CAPTURE(Narrow(trimlet.Status(0) + L" " + trimlet.Status(1)));
  return shown;
}

// The size of the selection, as the status bar shows it: "W x H".
std::wstring Framed(const Trimlet& trimlet) {
  const std::wstring selection = trimlet.Status(3);
  return selection.substr(0, selection.find(L"   "));
}

}  // namespace

TEST_CASE(
    "the main job: framed with a drag and keys, saved going on and back, an overwrite "
    "answered, every file written checked") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletJobSource");
  ScratchFolder out(L"TrimletJobOut");
  REQUIRE(WritePatternPicture(source.File(L"a.bmp"), 2400, 2400, L"image/bmp"));
  REQUIRE(WritePatternPicture(source.File(L"b.jpg"), 1000, 1000, L"image/jpeg"));
  REQUIRE(WritePatternPicture(source.File(L"c.gif"), 640, 480, L"image/gif"));
  // Made by the first save.
  const std::wstring destination = out.File(L"crops");
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", destination);
  std::map<std::wstring, std::wstring> written;  // each file, and the frame saved into it
  Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
  REQUIRE(Shows(trimlet, L"a.bmp", L"1 / 3"));

  // The 2400 pixels are shown in the pane's height less its one-pixel
  // margins: a drag moves the selection by the pane pixels times the scale.
  CHECK(trimlet.Status(3) == L"2400 x 1600   (0, 400)");
  const HWND pane = trimlet.Child(IDC_EDITOR_PANE);
  RECT client;
  GetClientRect(pane, &client);
  const int shown = std::min(client.right, client.bottom) - 2;
  REQUIRE(shown < 2400);
  const POINT centre = {client.right / 2, client.bottom / 2};
  trimlet.Drag(pane, centre, {centre.x, centre.y - 30});
  const std::wstring moved = trimlet.Status(3);
  CAPTURE(Narrow(moved));
  const int y = std::wcstol(moved.substr(moved.find(L", ") + 2).c_str(), nullptr, 10);
  CHECK(std::abs((400 - y) - 30 * 2400 / shown) <= 4);
  CHECK_FALSE(ButtonEnabled(trimlet.window, IDC_TB_SAVE_BACK));
  written[L"a.bmp"] = Framed(trimlet);
  trimlet.Press({VK_CONTROL, VK_RIGHT});
  REQUIRE(Shows(trimlet, L"b.jpg", L"2 / 3"));

  // A rotation that kept the old ratio shrank the rectangle instead.
  CHECK(trimlet.Status(3) == L"1000 x 667   (0, 166)");
  trimlet.Press({VK_CONTROL, 'R'});
  CHECK(WaitUntil([&] { return trimlet.Status(3) == L"667 x 1000   (166, 0)"; }, Trimlet::TIMEOUT));
  written[L"b.jpg"] = Framed(trimlet);
  trimlet.Press({VK_CONTROL, VK_RIGHT});
  REQUIRE(Shows(trimlet, L"c.gif", L"3 / 3"));
  CHECK_FALSE(ButtonEnabled(trimlet.window, IDC_TB_SAVE_NEXT));
  written[L"c.gif"] = Framed(trimlet);
  trimlet.Press({VK_CONTROL, VK_LEFT});
  REQUIRE(Shows(trimlet, L"b.jpg", L"2 / 3"));

  // Yes overwrites; No (the default, so Enter) saves under a new name.
  written[L"b.jpg"] = Framed(trimlet);
  trimlet.Press({VK_CONTROL, 'S'});
  CHECK_FALSE(trimlet.Answer((L"b.jpg\" already exists"), IDYES).empty());
  trimlet.Press({VK_MENU, VK_UP});
  REQUIRE(Shows(trimlet, L"a.bmp", L"1 / 3"));
  const std::wstring again = Framed(trimlet);
  trimlet.Press({VK_CONTROL, VK_RIGHT});
  REQUIRE(trimlet.WaitDialog(L"a.bmp\" already exists") != nullptr);
  PressKeys({VK_RETURN});
  REQUIRE(Shows(trimlet, L"b.jpg", L"2 / 3"));

  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(destination)) {
    const std::wstring name = entry.path().filename().wstring();
    CAPTURE(Narrow(name));
    ++files;
    GdiBitmap crop = GdiBitmap::FromFile(entry.path().c_str());
    REQUIRE(crop);
    const std::wstring size = std::to_wstring(crop.Width()) + L" x " + std::to_wstring(crop.Height());
    const bool renamed = written.count(name) == 0;
    CHECK(size == (renamed ? again : written[name]));
    if (renamed) CHECK((name.rfind(L"a", 0) == 0 && name.size() > 5 && name.ends_with(L".bmp")));
  }
  CHECK(files == 4);
}
