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

// Starts Trimlet without the folder picker that a first start shows.
void NoStartupQuestion() { WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"StartupAskFolder", 0); }

void PressKey(HWND main, WPARAM key) {
  PostMessageW(GetDlgItem(main, IDC_EDITOR_PANE), WM_KEYDOWN, key, 1);
}

std::wstring TempFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + name;
}

}  // namespace

TEST_SUITE("commands") {
  TEST_CASE("F3 without a destination folder says so and opens nothing") {
    RegistrySandbox sandbox;
    NoStartupQuestion();
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"DestinationFolder", L"");
    ProgramRun run(ProgramBesideTests(L"Trimlet.exe"), L"");
    const HWND main = WaitForWindow(run.Id(), MAIN_CLASS, TIMEOUT);
    REQUIRE(main != nullptr);
    PressKey(main, VK_F3);
    const HWND box = WaitForWindow(run.Id(), DIALOG_CLASS, TIMEOUT);
    REQUIRE(box != nullptr);
    wchar_t title[64] = L"";
    SendMessageW(box, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(title));
    CHECK_TEXT(title, L"Trimlet");
    CHECK(DialogTexts(box) ==
          L"The destination folder has not been specified. Please select it in the options.|OK");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    CHECK(run.WaitForExit(TIMEOUT) == 0);
  }

  TEST_CASE("F3 asks before creating a missing destination; No creates nothing") {
    RegistrySandbox sandbox;
    NoStartupQuestion();
    const std::wstring folder = TempFolder(L"TrimletMissing\\Destination");
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"DestinationFolder", folder);
    ProgramRun run(ProgramBesideTests(L"Trimlet.exe"), L"");
    const HWND main = WaitForWindow(run.Id(), MAIN_CLASS, TIMEOUT);
    REQUIRE(main != nullptr);
    PressKey(main, VK_F3);
    const HWND box = WaitForWindow(run.Id(), DIALOG_CLASS, TIMEOUT);
    REQUIRE(box != nullptr);
    CHECK(DialogTexts(box) ==
          L"Folder \"" + folder + L"\" does not exist.\nWould you like to create it?|&Yes\n&No");
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    Sleep(300);
    CHECK(TopLevelWindows(run.Id(), DIALOG_CLASS).empty());
    CHECK_FALSE(PathFileExistsW(TempFolder(L"TrimletMissing").c_str()));
    PostMessageW(main, WM_CLOSE, 0, 0);
    CHECK(run.WaitForExit(TIMEOUT) == 0);
  }

  TEST_CASE("F1 without the manual names the file it looked for") {
    RegistrySandbox sandbox;
    NoStartupQuestion();
    ProgramRun run(ProgramBesideTests(L"Trimlet.exe"), L"");
    const HWND main = WaitForWindow(run.Id(), MAIN_CLASS, TIMEOUT);
    REQUIRE(main != nullptr);
    PressKey(main, VK_F1);
    const HWND box = WaitForWindow(run.Id(), DIALOG_CLASS, TIMEOUT);
    REQUIRE(box != nullptr);
    const std::wstring manual = ProgramBesideTests(L"HTML\\Index.htm");
    CHECK(DialogTexts(box) == L"Error opening help file \"" + manual + L"\".|OK");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    CHECK(run.WaitForExit(TIMEOUT) == 0);
  }

  TEST_CASE("F4 asks for the source folder; Cancel leaves everything as it was") {
    RegistrySandbox sandbox;
    NoStartupQuestion();
    ProgramRun run(ProgramBesideTests(L"Trimlet.exe"), L"");
    const HWND main = WaitForWindow(run.Id(), MAIN_CLASS, TIMEOUT);
    REQUIRE(main != nullptr);
    PressKey(main, VK_F4);
    const HWND browser = WaitForWindow(run.Id(), DIALOG_CLASS, TIMEOUT);
    REQUIRE(browser != nullptr);
    CHECK(DialogTexts(browser).find(L"Select the folder containing the source files to resize:") !=
          std::wstring::npos);
    PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
    Sleep(300);
    CHECK(TopLevelWindows(run.Id(), DIALOG_CLASS).empty());
    PostMessageW(main, WM_CLOSE, 0, 0);
    CHECK(run.WaitForExit(TIMEOUT) == 0);
  }
}
