// The main job, as a user does it: open a folder, frame, save and go on,
// step back and forth; then check every file written against its source.
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/gdiplus_objects.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

constexpr DWORD TIMEOUT = Trimlet::TIMEOUT;

int CountFiles(const std::wstring& folder) {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// Pictures of each format and orientation, and the size each one's crop has
// at the default 3:2: the largest rectangle of that ratio, turned to the
// picture. (Which pixels a crop holds is checked where the save is tested.)
struct Expected {
  const wchar_t* name;
  const wchar_t* mime;
  int width, height;
  uint32_t cropWidth, cropHeight;
};

const Expected kPictures[] = {
    {L"house.bmp", L"image/bmp", 480, 360, 480, 320},
    {L"landscape.jpg", L"image/jpeg", 1200, 800, 1200, 800},
    {L"pattern.gif", L"image/gif", 640, 480, 640, 427},
    {L"portrait.jpg", L"image/jpeg", 800, 1200, 800, 1200},
    {L"square.jpg", L"image/jpeg", 900, 900, 900, 600},
};

std::wstring Explore(const ScratchFolder& folder) { return L"/EXPLORE \"" + folder.path + L"\""; }

// Waits for the picture named in the status bar, and the program idle.
bool Shows(const Trimlet& trimlet, const wchar_t* name, const wchar_t* position) {
  const bool shown = trimlet.WaitStatus(0, name) && trimlet.WaitStatus(1, position);
  CAPTURE(Narrow(trimlet.Status(0) + L" " + trimlet.Status(1)));
  return shown;
}

}  // namespace

TEST_CASE("save and go on through a folder; overwrite, rename, cancel; view-only saves nothing") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletJobSource");
  ScratchFolder out(L"TrimletJobOut");
  for (const Expected& picture : kPictures) {
    REQUIRE(WritePatternPicture(source.File(picture.name), picture.width, picture.height,
                                picture.mime));
  }
  // Too small to be listed.
  REQUIRE(WritePicture(source.File(L"tiny.jpg"), 80, 80, 0xFF000000, L"image/jpeg"));
  const std::wstring destination = out.File(L"crops");
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", destination);

  {
    Trimlet trimlet(Explore(source));
    REQUIRE(Shows(trimlet, L"house.bmp", L"1 / 5"));
    // Save and go on through every picture, Save on the last.
    for (const Expected& expected : kPictures) {
      const bool last = &expected == &std::end(kPictures)[-1];
      trimlet.Press({VK_CONTROL, static_cast<WORD>(last ? 'S' : VK_RIGHT)});
      const std::wstring written = destination + L"\\" + expected.name;
      CHECK(WaitUntil([&] { return PathFileExistsW(written.c_str()) && trimlet.Idle(); }, TIMEOUT));
    }
  }
  const int saved = static_cast<int>(std::size(kPictures));
  CHECK(CountFiles(destination) == saved);
  for (const Expected& expected : kPictures) {
    CAPTURE(Narrow(expected.name));
    GdiBitmap crop = GdiBitmap::FromFile((destination + L"\\" + expected.name).c_str());
    REQUIRE(crop);
    CHECK(crop.Width() == expected.cropWidth);
    CHECK(crop.Height() == expected.cropHeight);
  }

  // Again from the first picture: Yes overwrites, No (the default, so
  // Enter) makes a new name, Cancel saves nothing.
  Trimlet trimlet(Explore(source));
  REQUIRE(Shows(trimlet, L"house.bmp", L"1 / 5"));
  const struct {
    WORD key, answer;
    const wchar_t *target, *shown;
    int files;
  } answers[] = {{'S', 'Y', L"house.bmp", L"house.bmp", saved},
                 {VK_RIGHT, VK_RETURN, L"house.bmp", L"landscape.jpg", saved + 1},
                 {'S', VK_ESCAPE, L"landscape.jpg", L"landscape.jpg", saved + 1}};
  for (const auto& [key, answer, target, shown, files] : answers) {
    CAPTURE(Narrow(target));
    trimlet.Press({VK_CONTROL, key});
    const std::wstring question = destination + L"\\" + target + L"\" already exists";
    REQUIRE(trimlet.WaitDialog(question.c_str()) != nullptr);
    PressKeys({answer});
    CHECK(trimlet.WaitStatus(0, shown));
    CHECK(CountFiles(destination) == files);
  }
  // View-only greys the save commands (a greyed command runs nothing).
  trimlet.Press({VK_SPACE});
  CHECK(WaitUntil([&] { return !ButtonEnabled(trimlet.window, IDC_TB_SAVE_ONLY); }, TIMEOUT));
}

TEST_CASE(
    "stepping through a folder, saving on the way back, turning and dragging; a listed "
    "picture deleted from outside") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletStepSource");
  ScratchFolder out(L"TrimletStepOut");
  const std::pair<const wchar_t*, int> pictures[] = {
      {L"a.bmp", 2400}, {L"b.bmp", 1000}, {L"c.bmp", 200}, {L"d.bmp", 200}};
  for (const auto& [name, side] : pictures) {
    REQUIRE(WritePatternPicture(source.File(name), side, side, L"image/bmp"));
  }
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", out.path);
  Trimlet trimlet(Explore(source));
  REQUIRE(Shows(trimlet, L"a.bmp", L"1 / 4"));
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
  const int y = std::wcstol(moved.substr(moved.find(L", ") + 2).c_str(), nullptr, 10);
  CAPTURE(Narrow(moved));
  CHECK(std::abs((400 - y) - 30 * 2400 / shown) <= 4);
  CHECK(moved.substr(0, moved.find(L"(")) == L"2400 x 1600   ");

  // On the first picture there is nothing before it.
  CHECK_FALSE(ButtonEnabled(trimlet.window, IDC_TB_SAVE_BACK));
  trimlet.Press({VK_MENU, VK_DOWN});
  CHECK(Shows(trimlet, L"d.bmp", L"4 / 4"));
  CHECK_FALSE(ButtonEnabled(trimlet.window, IDC_TB_SAVE_NEXT));
  trimlet.Press({VK_MENU, VK_LEFT});
  CHECK(Shows(trimlet, L"c.bmp", L"3 / 4"));
  trimlet.Press({VK_CONTROL, VK_LEFT});
  CHECK(Shows(trimlet, L"b.bmp", L"2 / 4"));
  // The picture saved on the way back was written.
  CHECK(PathFileExistsW((out.path + L"\\c.bmp").c_str()));

  CHECK(trimlet.Status(3) == L"1000 x 667   (0, 166)");
  // A rotation that kept the old ratio shrank the rectangle instead.
  trimlet.Press({VK_CONTROL, 'R'});
  CHECK(WaitUntil([&] { return trimlet.Status(3) == L"667 x 1000   (166, 0)"; }, TIMEOUT));

  // The source is watched: a listed picture deleted while the window is
  // minimized is told once it is shown again, not before, and the folder is
  // read again on the picture shown.
  PostMessageW(trimlet.window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  REQUIRE(WaitUntil([&] { return IsIconic(trimlet.window) != FALSE; }, TIMEOUT));
  REQUIRE(DeleteFileW(source.File(L"d.bmp").c_str()));
  Sleep(1000);
  CHECK(TopLevelWindows(trimlet.Id(), L"#32770").empty());
  PostMessageW(trimlet.window, WM_SYSCOMMAND, SC_RESTORE, 0);
  REQUIRE(WaitUntil([&] { return IsIconic(trimlet.window) == FALSE; }, TIMEOUT));
  trimlet.Press({});
  CHECK_FALSE(trimlet.Answer(L"modified or deleted", IDOK).empty());
  CHECK(Shows(trimlet, L"b.bmp", L"2 / 3"));
}
