// Commands of the real Trimlet.exe, given as a user gives them: keys, a
// dropped folder, the context menu.
#include <shlwapi.h>

#include <doctest/doctest.h>

#include <string>

#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_driver.h"
#include "trimlet_version.h"

namespace {

constexpr DWORD TIMEOUT = Trimlet::TIMEOUT;

// The dialog a key brings up, answered with `answer`; its texts, empty when
// none came. Nothing follows the answer.
std::wstring DialogAfterKey(const Trimlet& trimlet, WORD key, const wchar_t* expected,
                            WPARAM answer) {
  trimlet.Press({key});
  const std::wstring texts = trimlet.Answer(expected, answer);
  CHECK(trimlet.WaitIdle());
  Sleep(300);
  CHECK(trimlet.Idle());
  return texts;
}

}  // namespace

TEST_CASE("no destination set: F3 and the file list's menu from the keyboard say so; F1 too; "
          "the About box from the Help menu") {
  RegistrySandbox sandbox;
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"StartupAskFolder", 0);
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", L"");
  Trimlet trimlet(L"");
  REQUIRE(trimlet.window != nullptr);
  const wchar_t* notSet =
      L"The destination folder has not been specified. Please select it in the options.|OK";
  CHECK(DialogAfterKey(trimlet, VK_F3, L"not been specified", IDOK) == notSet);
  // A click on the list gives it the focus; its menu's first item is Open
  // destination.
  trimlet.Drag(trimlet.Child(IDC_FILE_LIST), {10, 10}, {10, 10});
  trimlet.Press({VK_SHIFT, VK_F10});
  CHECK(WaitUntil([&] { return !TopLevelWindows(trimlet.Id(), L"#32768").empty(); }, TIMEOUT));
  PressKeys({VK_DOWN});
  CHECK(DialogAfterKey(trimlet, VK_RETURN, L"not been specified", IDOK) == notSet);
  const std::wstring manual = ProgramBesideTests(L"HTML\\Index.htm");
  CHECK(DialogAfterKey(trimlet, VK_F1, L"help file", IDOK) ==
        L"Error opening help file \"" + manual + L"\".|OK");

  // F10 opens the menu bar; left of File are the system menu, then Help,
  // whose last item is About. It shows the version the file was built with.
  trimlet.Press({VK_F10});
  for (WORD key : {VK_LEFT, VK_LEFT, VK_DOWN, VK_UP, VK_RETURN}) PressKeys({key});
  const HWND about = trimlet.WaitDialog(L"Developed in C/C++ by:");
  REQUIRE(about != nullptr);
  CHECK(DialogTexts(about).find(L"Version " TRIMLET_VERSION_TEXT "\n") != std::wstring::npos);
  for (int link : {IDC_ABOUT_DEVELOPER_LINK, IDC_ABOUT_ICONS_LINK, IDC_ABOUT_SETUP_LINK}) {
    const LONG_PTR style = GetWindowLongPtrW(GetDlgItem(about, link), GWL_STYLE);
    CHECK((style & (WS_TABSTOP | SS_NOTIFY)) == (WS_TABSTOP | SS_NOTIFY));
  }
  trimlet.Press({VK_ESCAPE}, about);
  CHECK(trimlet.WaitIdle());
}

TEST_CASE("F3 asks for a missing destination: No creates nothing, Yes creates it") {
  RegistrySandbox sandbox;
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"StartupAskFolder", 0);
  ScratchFolder scratch(L"TrimletMissing");
  const std::wstring parent = scratch.File(L"Missing");
  const std::wstring folder = parent + L"\\Destination";
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", folder);
  Trimlet trimlet(L"");
  REQUIRE(trimlet.window != nullptr);
  CHECK(DialogAfterKey(trimlet, VK_F3, L"does not exist", IDNO) ==
        L"Folder \"" + folder + L"\" does not exist.\nWould you like to create it?|&Yes\n&No");
  CHECK_FALSE(PathFileExistsW(parent.c_str()));
  DialogAfterKey(trimlet, VK_F3, L"does not exist", IDYES);
  CHECK(PathIsDirectoryW(folder.c_str()));
  // Then it is opened, in a window of the shell's: closed again, so that it
  // takes no keys meant for the next tests.
  HWND opened = nullptr;
  CHECK(WaitUntil([&] { return (opened = FindWindowW(nullptr, L"Destination")) != nullptr; },
                  TIMEOUT));
  PostMessageW(opened, WM_CLOSE, 0, 0);
}

TEST_CASE("F4 picks the source folder, Cancel changing nothing; a dropped folder, or a file in it, "
          "becomes the source; its picture's shell menu runs") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder first(L"TrimletPickFirst");
  ScratchFolder second(L"TrimletPickSecond");
  REQUIRE(WritePicture(first.File(L"one.jpg"), 200, 150, 0xFF336699, L"image/jpeg"));
  REQUIRE(WritePicture(second.File(L"two.gif"), 120, 100, 0xFF996633, L"image/gif"));
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LastUsedFolder", second.path);
  Trimlet trimlet(L"/EXPLORE \"" + first.path + L"\"");
  REQUIRE(trimlet.WaitStatus(0, L"one.jpg"));

  const wchar_t* prompt = L"Select the folder containing the source files to resize:";
  DialogAfterKey(trimlet, VK_F4, prompt, IDCANCEL);
  CHECK(trimlet.Title() == L"Trimlet - " + first.path);
  CHECK(trimlet.Status(0) == L"one.jpg");
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LastUsedFolder").Text() == second.path);
  // The picker starts on the folder used last (under Wine from its second
  // opening in a process on); OK takes it.
  trimlet.Press({VK_F4});
  const HWND picker = trimlet.WaitDialog(prompt);
  REQUIRE(picker != nullptr);
  TakeFolderShown(picker, L"TrimletPickSecond");
  CHECK(trimlet.WaitStatus(0, L"two.gif"));
  CHECK(trimlet.Title() == L"Trimlet - " + second.path);

  trimlet.Drop(first.path);
  CHECK(trimlet.WaitStatus(0, L"one.jpg"));
  CHECK(trimlet.Title() == L"Trimlet - " + first.path);
  trimlet.Drop(second.File(L"two.gif"));
  CHECK(trimlet.WaitStatus(0, L"two.gif"));
  CHECK(trimlet.Title() == L"Trimlet - " + second.path);

  // Image > System commands holds the shell's menu of the picture: its last
  // item, Properties, shows the picture's sheet.
  trimlet.Press({VK_F10});
  for (WORD key : {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_UP, VK_RIGHT, VK_UP, VK_RETURN}) {
    PressKeys({key});
  }
  HWND sheet = nullptr;
  CHECK(WaitUntil(
      [&] {
        for (HWND dialog : TopLevelWindows(trimlet.Id(), L"#32770")) {
          if (WindowText(dialog) == L"Properties for two.gif") sheet = dialog;
        }
        return sheet != nullptr;
      },
      TIMEOUT));
  PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
  CHECK(trimlet.WaitIdle());
}
