// Commands of the real Trimlet.exe, given as a user gives them: keys, the
// menu bar, a dropped folder.
#include <shlwapi.h>

#include <doctest/doctest.h>

#include <string>

#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_driver.h"
#include "trimlet_version.h"

TEST_CASE(
    "F3 asks for a missing destination, No creating nothing; F1 without its manual; About from "
    "the menu bar; F4 picks the source; a dropped folder or file; F3 again: Yes creates it") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder first(L"TrimletPickFirst");
  ScratchFolder second(L"TrimletPickSecond");
  REQUIRE(WritePicture(first.File(L"one.jpg"), 200, 150, 0xFF336699, L"image/jpeg"));
  REQUIRE(WritePicture(second.File(L"two.gif"), 120, 100, 0xFF996633, L"image/gif"));
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LastUsedFolder", second.path);
  const std::wstring parent = first.File(L"Missing");
  const std::wstring folder = parent + L"\\Destination";
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", folder);
  Trimlet trimlet(L"/EXPLORE \"" + first.path + L"\"");
  const auto shows = [&](const ScratchFolder& source, const wchar_t* picture) {
    return trimlet.WaitStatus(0, picture) && trimlet.Title() == L"Trimlet - " + source.path;
  };
  REQUIRE(shows(first, L"one.jpg"));

  trimlet.Press({VK_F3});
  CHECK(trimlet.Answer(L"does not exist", IDNO) ==
        L"Folder \"" + folder + L"\" does not exist.\nWould you like to create it?|&Yes\n&No");
  CHECK(trimlet.WaitIdle());
  CHECK_FALSE(PathFileExistsW(parent.c_str()));
  trimlet.Press({VK_F1});
  CHECK(trimlet.Answer(L"help file", IDOK) ==
        L"Error opening help file \"" + ProgramBesideTests(L"HTML\\Index.htm") + L"\".|OK");
  REQUIRE(trimlet.WaitIdle());
  // F10 opens the menu bar; left of File are the system menu, then Help,
  // whose last item is About. It shows the version the file was built with.
  trimlet.Press({VK_F10});
  for (WORD key : {VK_LEFT, VK_LEFT, VK_DOWN, VK_UP, VK_RETURN}) PressKeys({key});
  const HWND about = trimlet.WaitDialog(L"Developed in C/C++ by:");
  REQUIRE(about != nullptr);
  CHECK(DialogTexts(about).find(L"Version " TRIMLET_VERSION_TEXT "\n") != std::wstring::npos);
  trimlet.Press({VK_ESCAPE}, about);
  CHECK(trimlet.WaitIdle());
  // The picker starts on the folder used last (under Wine from its second
  // opening in a process on): Cancel, then OK takes it.
  const wchar_t* prompt = L"Select the folder containing the source files to resize:";
  trimlet.Press({VK_F4});
  CHECK_FALSE(trimlet.Answer(prompt, IDCANCEL).empty());
  CHECK(shows(first, L"one.jpg"));
  trimlet.Press({VK_F4});
  const HWND picker = trimlet.WaitDialog(prompt);
  REQUIRE(picker != nullptr);
  TakeFolderShown(picker, L"TrimletPickSecond");
  CHECK(shows(second, L"two.gif"));

  trimlet.Drop(first.path);
  CHECK(shows(first, L"one.jpg"));
  trimlet.Drop(second.File(L"two.gif"));
  CHECK(shows(second, L"two.gif"));

  trimlet.Press({VK_F3});
  CHECK_FALSE(trimlet.Answer(L"does not exist", IDYES).empty());
  CHECK(WaitUntil([&] { return PathIsDirectoryW(folder.c_str()) != FALSE; }, Trimlet::TIMEOUT));
  // Then it is opened, in a window of the shell's: closed again, so that it
  // takes no keys meant for the next tests.
  HWND opened = nullptr;
  CHECK(WaitUntil([&] { return (opened = FindWindowW(nullptr, L"Destination")) != nullptr; },
                  Trimlet::TIMEOUT));
  PostMessageW(opened, WM_CLOSE, 0, 0);
}
