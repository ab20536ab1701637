// Commands of the real Trimlet.exe, given as a user gives them: keys.
#include <shlwapi.h>

#include <string>

#include "resources/resource.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

constexpr const wchar_t* MAIN_CLASS = L"Bluecrane.Trimlet.MainWindow";
constexpr const wchar_t* DIALOG_CLASS = L"#32770";
constexpr const wchar_t* OPTIONS = L"Software\\Bluecrane\\Trimlet\\Options";
constexpr DWORD TIMEOUT = 20000;

std::wstring TempFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + name;
}

// Starts Trimlet (without the folder picker of a first start), presses
// `key`, and answers the dialog that comes with `answer`. Returns the
// dialog's texts (see DialogTexts) and its title, empty when none came; the
// program must then close normally.
struct Dialog {
  std::wstring title;
  std::wstring texts;
};

Dialog DialogAfterKey(WPARAM key, WPARAM answer) {
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"StartupAskFolder", 0);
  ProgramRun run(ProgramBesideTests(L"Trimlet.exe"), L"");
  const HWND main = WaitForWindow(run.Id(), MAIN_CLASS, TIMEOUT);
  REQUIRE(main != nullptr);
  PostMessageW(GetDlgItem(main, IDC_EDITOR_PANE), WM_KEYDOWN, key, 1);
  Dialog dialog;
  const HWND box = WaitForWindow(run.Id(), DIALOG_CLASS, TIMEOUT);
  if (box != nullptr) {
    wchar_t title[128] = L"";
    SendMessageW(box, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(title));
    dialog = {title, DialogTexts(box)};
    PostMessageW(box, WM_COMMAND, answer, 0);
    // Nothing follows the answer.
    CHECK(WaitUntil([&] { return TopLevelWindows(run.Id(), DIALOG_CLASS).empty(); }, TIMEOUT));
    Sleep(300);
    CHECK(TopLevelWindows(run.Id(), DIALOG_CLASS).empty());
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  CHECK(run.WaitForExit(TIMEOUT) == 0);
  return dialog;
}

}  // namespace

TEST_SUITE("commands") {
  TEST_CASE("F3 without a destination folder says so and opens nothing") {
    RegistrySandbox sandbox;
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"DestinationFolder", L"");
    const Dialog dialog = DialogAfterKey(VK_F3, IDOK);
    CHECK(dialog.title == L"Trimlet");
    CHECK(dialog.texts ==
          L"The destination folder has not been specified. Please select it in the options.|OK");
  }

  TEST_CASE("F3 asks before creating a missing destination; No creates nothing") {
    RegistrySandbox sandbox;
    const std::wstring folder = TempFolder(L"TrimletMissing\\Destination");
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"DestinationFolder", folder);
    CHECK(DialogAfterKey(VK_F3, IDNO).texts ==
          L"Folder \"" + folder + L"\" does not exist.\nWould you like to create it?|&Yes\n&No");
    CHECK_FALSE(PathFileExistsW(TempFolder(L"TrimletMissing").c_str()));
  }

  TEST_CASE("F1 without the manual names the file it looked for") {
    RegistrySandbox sandbox;
    const std::wstring manual = ProgramBesideTests(L"HTML\\Index.htm");
    CHECK(DialogAfterKey(VK_F1, IDOK).texts == L"Error opening help file \"" + manual + L"\".|OK");
  }

  TEST_CASE("F4 asks for the source folder; Cancel leaves everything as it was") {
    RegistrySandbox sandbox;
    CHECK(DialogAfterKey(VK_F4, IDCANCEL)
              .texts.find(L"Select the folder containing the source files to resize:") !=
          std::wstring::npos);
  }
}
