// The dialogs' own controls, made inside the test process.
#include <windows.h>
#include <commctrl.h>

#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/window_driver.h"
#include "ui/language.h"
#include "ui/link_control.h"
#include "ui/options_dialog.h"
#include "ui/options_pages.h"

namespace {

// The WM_LINK_ACTIVATED messages waiting for `dialog`, as control IDs.
std::vector<WPARAM> Activations(HWND dialog) {
  std::vector<WPARAM> ids;
  MSG message;
  while (PeekMessageW(&message, dialog, WM_LINK_ACTIVATED, WM_LINK_ACTIVATED, PM_REMOVE)) {
    ids.push_back(message.wParam);
  }
  return ids;
}

}  // namespace

TEST_CASE("links: one activation a click or key, seven at once, slots free again") {
  MainWindowFixture fixture;
  const HWND tab = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD, 0, 0, 400, 300,
                                   GetActiveWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
  OptionsEdit edit = {};
  // The Shell page has two static texts; four pages give eight.
  std::vector<HWND> pages;
  std::vector<HWND> texts;
  for (int i = 0; i < 4; ++i) {
    pages.push_back(CreateShellPage(tab, edit));
    for (int id : {IDC_OPT_SHELL_PROMPT, IDC_OPT_SHELL_NOTICE_TEXT}) {
      texts.push_back(GetDlgItem(pages.back(), id));
    }
  }
  for (int i = 0; i < 7; ++i) CHECK(MakeLink(texts[i]));
  // Regression: an eighth link was written past the table.
  const LONG_PTR plain = GetWindowLongPtrW(texts[7], GWLP_WNDPROC);
  CHECK_FALSE(MakeLink(texts[7]));
  CHECK(GetWindowLongPtrW(texts[7], GWLP_WNDPROC) == plain);

  SendMessageW(texts[0], WM_LBUTTONUP, 0, 0);
  CHECK(Activations(pages[0]) == std::vector<WPARAM>{IDC_OPT_SHELL_PROMPT});
  SendMessageW(texts[1], WM_KEYUP, VK_SPACE, 0);
  CHECK(Activations(pages[0]) == std::vector<WPARAM>{IDC_OPT_SHELL_NOTICE_TEXT});
  // While a link has the focus, Enter is its own, not the default button's.
  SendMessageW(texts[2], WM_SETFOCUS, 0, 0);
  CHECK_FALSE(RegisterHotKey(nullptr, 7, 0, VK_RETURN));
  SendMessageW(texts[2], WM_HOTKEY, 1, 0);
  CHECK(Activations(pages[1]) == std::vector<WPARAM>{IDC_OPT_SHELL_PROMPT});
  SendMessageW(texts[2], WM_KILLFOCUS, 0, 0);
  CHECK(RegisterHotKey(nullptr, 7, 0, VK_RETURN));
  UnregisterHotKey(nullptr, 7);

  // A destroyed dialog's links give their slots to new ones.
  DestroyWindow(pages[0]);
  CHECK(MakeLink(texts[7]));
}

// From inside the dialog: a change and OK, then, once the save's error has
// been seen, Cancel.
TEST_CASE("Options: a refused save says so, keeps the dialog, and changes nothing") {
  MainWindowFixture fixture;
  DeniedKey denied(HKEY_CURRENT_USER, OPTIONS_KEY, KEY_SET_VALUE);
  HWND options = nullptr;
  std::wstring error;
  DialogAnswerer answerer([&](HWND dialog) {
    if (options == nullptr) {
      options = dialog;
      const HWND page = GetDlgItem(GetDlgItem(dialog, IDC_OPT_TABS), IDD_OPTIONS_EDITOR);
      PostMessageW(GetDlgItem(page, IDC_OPT_EDITOR_FREE_SELECTION), BM_CLICK, 0, 0);
      PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    } else if (dialog != options) {
      error = DialogTexts(dialog);
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      PostMessageW(options, WM_COMMAND, IDCANCEL, 0);
    }
  });
  int tab = 1;
  CHECK(ShowOptionsDialog(MainWindow(), &tab));  // an option changed, though not saved
  CHECK(error.find(L"Error saving setting into the Registry.") != std::wstring::npos);
  CHECK(Settings().options.ResizeRatioMode == RATIO_MODE_CUSTOM);
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"ResizeRatioMode").Number() ==
        RATIO_MODE_CUSTOM);
  CHECK(tab == 1);
}

// Regression: the chosen file became the current language before the
// registry took it, and stayed so when the registry refused.
TEST_CASE("a language the registry refuses does not become the current one") {
  MainWindowFixture fixture;
  PathBuffer german;
  GetLanguageFolder(german);
  AppendText(german, L"\\Deutsch.ini");
  {
    DeniedKey denied(HKEY_CURRENT_USER, OPTIONS_KEY, KEY_SET_VALUE);
    CHECK_FALSE(SetLanguage(german));
    CHECK(std::wstring(CurrentLanguageFile()) == DEFAULT_LANGUAGE);
  }
  CHECK(SetLanguage(german));
  CHECK(std::wstring(CurrentLanguageFile()) == german);
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LanguageFile").Text() == L"Deutsch.ini");
}
