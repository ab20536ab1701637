// Starts the real Trimlet.exe as a user would and checks what it left behind.
#include <string>

#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

constexpr DWORD TIMEOUT = Trimlet::TIMEOUT;

}  // namespace

TEST_CASE("a first start asks for the source folder and stores the defaults") {
  RegistrySandbox sandbox;
  Trimlet trimlet(L"");
  const HWND browser = WaitForWindow(trimlet.Id(), L"#32770", TIMEOUT);
  REQUIRE(browser != nullptr);
  CHECK(DialogTexts(browser).find(L"Select the folder containing the source files to resize:") !=
        std::wstring::npos);
  PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
  REQUIRE(trimlet.WaitIdle());
  CHECK(trimlet.Title() == L"Trimlet");
  CHECK(TopLevelWindows(trimlet.Id(), nullptr).size() == 1);
  CHECK(trimlet.Close() == 0);
  CHECK(CountValues(HKEY_CURRENT_USER, LAYOUT_KEY) == 8);
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LanguageFile").Text() == L"<default>");
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"ResizeRatioWidth").Number() == 3);
}

TEST_CASE("the window opens where it was left") {
  RegistrySandbox sandbox;
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"StartupAskFolder", 0);
  const int layout[] = {30, 40, 640, 480};
  const wchar_t* names[] = {L"MainWindowLeft", L"MainWindowTop", L"MainWindowWidth",
                            L"MainWindowHeight"};
  for (int i = 0; i < 4; ++i) WriteNumberValue(HKEY_CURRENT_USER, LAYOUT_KEY, names[i], layout[i]);
  Trimlet trimlet(L"");
  REQUIRE(trimlet.window != nullptr);
  RECT rect = {};
  GetWindowRect(trimlet.window, &rect);
  CHECK(rect.left == 30);
  CHECK(rect.top == 40);
  CHECK(rect.right - rect.left == 640);
  CHECK(rect.bottom - rect.top == 480);
}

TEST_CASE("a folder that does not exist or is too long is ignored silently") {
  RegistrySandbox sandbox;
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"StartupAskFolder", 0);
  for (const std::wstring& arguments :
       {std::wstring(L"/EXPLORE \"C:\\No Such Folder\""),
        L"/EXPLORE C:\\" + std::wstring(300, L'x'), std::wstring(L"C:\\")}) {
    CAPTURE(Narrow(arguments.substr(0, 40)));
    Trimlet trimlet(arguments);
    REQUIRE(trimlet.WaitIdle());
    CHECK(trimlet.Title() == L"Trimlet");
    CHECK(TopLevelWindows(trimlet.Id(), nullptr).size() == 1);
    CHECK(trimlet.Close() == 0);
  }
}

TEST_CASE("/UNINSTALL twice: no window, exit code 0, nothing of ours left") {
  RegistrySandbox sandbox;
  WriteNumberValue(HKEY_CURRENT_USER, L"Software\\Bluecrane\\OtherProduct", L"Kept", 1);
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"StartupAskFolder", 0);
  {
    // A first start stores settings and language choices.
    Trimlet trimlet(L"");
    REQUIRE(trimlet.WaitIdle());
  }
  REQUIRE(KeyExists(HKEY_CURRENT_USER, OPTIONS_KEY));
  REQUIRE(KeyExists(HKEY_LOCAL_MACHINE, OPTIONS_KEY));
  WriteTextValue(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet", L"", L"Open");
  for (const wchar_t* arguments : {L"/UNINSTALL", L"-uninstall"}) {
    CAPTURE(Narrow(arguments));
    CHECK(RunToExit(ProgramBesideTests(L"Trimlet.exe"), arguments, TIMEOUT) == 0);
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane\\Trimlet"));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Bluecrane\\Trimlet"));
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet"));
    CHECK(KeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane\\OtherProduct"));
  }
}
