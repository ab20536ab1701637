// Starts the real Trimlet.exe as a user would and checks what it left behind.
#include <string>

#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

TEST_CASE(
    "a first start asks for the source folder; Cancel leaves the window empty; F3 with no "
    "destination says so") {
  RegistrySandbox sandbox;
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", L"");
  Trimlet trimlet(L"");
  CHECK_FALSE(trimlet.Answer(L"Select the folder containing the source files to resize:", IDCANCEL)
                  .empty());
  REQUIRE(trimlet.WaitIdle());
  CHECK(trimlet.Title() == L"Trimlet");
  trimlet.Press({VK_F3});
  CHECK(trimlet.Answer(L"not been specified", IDOK) ==
        L"The destination folder has not been specified. Please select it in the options.|OK");
  CHECK(trimlet.Close() == 0);
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
  // Its other spellings are the command line's rules, tested natively.
  for (int run = 0; run < 2; ++run) {
    CHECK(Trimlet(L"/UNINSTALL", false).WaitForExit() == 0);
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane\\Trimlet"));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Bluecrane\\Trimlet"));
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet"));
    CHECK(KeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane\\OtherProduct"));
  }
}
