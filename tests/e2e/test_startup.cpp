// Runs the real Trimlet.exe as a user would and checks what it left behind.
#include <string>

#include "tests/support/registry_sandbox.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

constexpr const wchar_t* MAIN_CLASS = L"Bluecrane.Trimlet.MainWindow";
constexpr const wchar_t* OPTIONS = L"Software\\Bluecrane\\Trimlet\\Options";
constexpr const wchar_t* LAYOUT = L"Software\\Bluecrane\\Trimlet\\Layout";
constexpr DWORD START_TIMEOUT = 20000;

std::wstring Trimlet() { return ProgramBesideTests(L"Trimlet.exe"); }

// Starts Trimlet, waits for its window, lets `check` look at it, closes it
// with WM_CLOSE and returns the exit code.
template <typename Check>
long RunAndClose(const std::wstring& arguments, Check check) {
  ProgramRun run(Trimlet(), arguments);
  REQUIRE(run.Started());
  const HWND window = WaitForWindow(run.Id(), MAIN_CLASS, START_TIMEOUT);
  REQUIRE(window != nullptr);
  check(run, window);
  PostMessageW(window, WM_CLOSE, 0, 0);
  return run.WaitForExit(START_TIMEOUT);
}

}  // namespace

TEST_SUITE("startup") {
  TEST_CASE("a first start asks for the source folder") {
    RegistrySandbox sandbox;
    ProgramRun run(Trimlet(), L"");
    const HWND browser = WaitForWindow(run.Id(), L"#32770", START_TIMEOUT);
    REQUIRE(browser != nullptr);
    CHECK(DialogTexts(browser).find(L"Select the folder containing the source files to resize:") !=
          std::wstring::npos);
    PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
    const HWND window = WaitForWindow(run.Id(), MAIN_CLASS, START_TIMEOUT);
    REQUIRE(window != nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    CHECK(run.WaitForExit(START_TIMEOUT) == 0);
  }

  TEST_CASE("a start stores the defaults; closing ends with 0") {
    RegistrySandbox sandbox;
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"StartupAskFolder", 0);
    const long code = RunAndClose(L"", [](ProgramRun& run, HWND window) {
      wchar_t title[64];
      GetWindowTextW(window, title, 64);
      CHECK_TEXT(title, L"Trimlet");
      // Nothing else, such as a message box, is on the screen.
      CHECK(TopLevelWindows(run.Id(), nullptr).size() == 1);
    });
    CHECK(code == 0);
    CHECK(CountValues(HKEY_CURRENT_USER, LAYOUT) == 8);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile").Text() == L"<default>");
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"ResizeRatioWidth").Number() == 3);
  }

  TEST_CASE("the window opens where it was left, kept on the work area") {
    RegistrySandbox sandbox;
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"StartupAskFolder", 0);
    WriteNumberValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowLeft", 30);
    WriteNumberValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowTop", 40);
    WriteNumberValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowWidth", 640);
    WriteNumberValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowHeight", 480);
    long code = RunAndClose(L"", [](ProgramRun&, HWND window) {
      RECT rect;
      GetWindowRect(window, &rect);
      CHECK(rect.left == 30);
      CHECK(rect.top == 40);
      CHECK(rect.right - rect.left == 640);
      CHECK(rect.bottom - rect.top == 480);
    });
    CHECK(code == 0);

    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    WriteNumberValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowLeft", 5000);
    WriteNumberValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowTop", 5000);
    code = RunAndClose(L"", [&work](ProgramRun&, HWND window) {
      RECT rect;
      GetWindowRect(window, &rect);
      CHECK(rect.left == work.right - work.left - 100);
      CHECK(rect.top == work.bottom - work.top - 100);
    });
    CHECK(code == 0);
  }

  TEST_CASE("a folder that does not exist or is too long is ignored silently") {
    RegistrySandbox sandbox;
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"StartupAskFolder", 0);
    const std::wstring tooLong = L"/EXPLORE C:\\" + std::wstring(300, L'x');
    for (const std::wstring& arguments :
         {std::wstring(L"/EXPLORE \"C:\\No Such Folder\""), tooLong, std::wstring(L"C:\\")}) {
      CAPTURE(Narrow(arguments.substr(0, 40)));
      const long code = RunAndClose(arguments, [](ProgramRun& run, HWND) {
        CHECK(TopLevelWindows(run.Id(), nullptr).size() == 1);
      });
      CHECK(code == 0);
    }
  }
}

TEST_SUITE("uninstall") {
  TEST_CASE("/UNINSTALL twice: no window, exit code 0, nothing of ours left") {
    RegistrySandbox sandbox;
    WriteNumberValue(HKEY_CURRENT_USER, L"Software\\Bluecrane\\OtherProduct", L"Kept", 1);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"StartupAskFolder", 0);
    // A first start stores settings and language choices.
    const long code = RunAndClose(L"", [](ProgramRun&, HWND) {});
    CHECK(code == 0);
    REQUIRE(KeyExists(HKEY_CURRENT_USER, OPTIONS));
    REQUIRE(KeyExists(HKEY_LOCAL_MACHINE, OPTIONS));
    WriteTextValue(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet", L"", L"Open");

    for (const wchar_t* arguments : {L"/UNINSTALL", L"-uninstall"}) {
      CAPTURE(Narrow(arguments));
      CHECK(RunToExit(Trimlet(), arguments, START_TIMEOUT) == 0);
      CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane\\Trimlet"));
      CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Bluecrane\\Trimlet"));
      CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet"));
      CHECK(KeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane\\OtherProduct"));
    }
  }
}
