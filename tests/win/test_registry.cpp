// The registry layer, the settings store, the Explorer verb and the language
// files, against the real registry and files; the dialogs' own controls.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"
#include "ui/english_labels.h"
#include "ui/explorer_verb.h"
#include "ui/labels.h"
#include "ui/language.h"
#include "ui/link_control.h"
#include "ui/options_dialog.h"
#include "ui/options_pages.h"

namespace {

constexpr const wchar_t* DIRECTORY = L"Directory\\shell\\Bluecrane.Trimlet";
constexpr const wchar_t* DRIVE = L"Drive\\shell\\Bluecrane.Trimlet";

std::wstring Value(HKEY root, const std::wstring& key, const wchar_t* name) {
  return ReadRawValue(root, key.c_str(), name).Text();
}

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

TEST_CASE("registry texts are REG_SZ of at most 1023 characters; numbers are REG_DWORD; "
          "the default destination") {
  RegistrySandbox sandbox;
  TextBuffer text;
  CHECK(WriteRegistryText(HKEY_CURRENT_USER, OPTIONS_KEY, L"Name", L"abc"));
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"Name").type == REG_SZ);
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"Long", std::wstring(1024, L'b'));
  CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, OPTIONS_KEY, L"Long", text));
  RegSetKeyValueW(HKEY_CURRENT_USER, OPTIONS_KEY, L"Expand", REG_EXPAND_SZ, L"%TEMP%", 14);
  CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, OPTIONS_KEY, L"Expand", text));
  CHECK(WriteRegistryNumber(OPTIONS_KEY, L"Number", 5));
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"Number").type == REG_DWORD);
  // The first load writes its defaults back; the rules are the native
  // tests', the store's default destination is the system's.
  LoadSettings(EXPLORER_VERB);
  wchar_t pictures[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures);
  CHECK(Value(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder") ==
        std::wstring(pictures) + L"\\Trimlet");
}

TEST_CASE("the Explorer verb: keys for folders and drives, read back, taken back when not whole") {
  RegistrySandbox sandbox;
  LoadSettings(EXPLORER_VERB);
  // The Options dialog's OK installs it; Wine's user is an administrator.
  REQUIRE(ReplaceOptions(Settings().options, L" Open in Trimlet "));
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  for (const std::wstring key : {DIRECTORY, DRIVE}) {
    CHECK(Value(HKEY_CLASSES_ROOT, key, L"") == L"Open in Trimlet");
    CHECK(Value(HKEY_CLASSES_ROOT, key + L"\\command", L"") ==
          L"\"" + std::wstring(exe) + L"\" /EXPLORE %1");
  }
  TextBuffer caption;
  CHECK(ReadVerb(caption));
  CHECK_TEXT(caption, L"Open in Trimlet");
  // One that cannot be finished is taken back.
  DeniedKey denied(HKEY_CLASSES_ROOT, (std::wstring(DRIVE) + L"\\command").c_str(), KEY_SET_VALUE);
  CopyText(caption, L"Open in Trimlet");
  CHECK_FALSE(WriteVerb(caption));
  CHECK_TEXT(caption, L"");
  CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, DIRECTORY));
  CHECK(Value(HKEY_CLASSES_ROOT, DRIVE, L"").empty());
}

TEST_CASE("a language file fills the labels; the machine's choice stands in for a gone file; "
          "one binary, huge or a folder leaves the English texts") {
  RegistrySandbox sandbox;
  ScratchFolder folder(L"TrimletLanguage");
  // An absolute value stands by itself, without the Lang folder.
  const std::wstring file = folder.File(L"fr.ini");
  WritePrivateProfileStringW(L"LABELS", L"0000", L"D'accord", file.c_str());
  WritePrivateProfileStringW(L"LABELS", L"0001", L"", file.c_str());
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LanguageFile", folder.File(L"gone.ini"));
  WriteTextValue(HKEY_LOCAL_MACHINE, OPTIONS_KEY, L"LanguageFile", file);
  LoadLabels();
  CHECK(std::wstring(CurrentLanguageFile()) == file);
  CHECK_TEXT(LabelText(LBL_OK), L"D'accord");
  CHECK_TEXT(LabelText(LBL_CANCEL), L"");
  CHECK_TEXT(LabelText(LBL_WORKING), EnglishDefault(LBL_WORKING));
  CHECK(Value(HKEY_CURRENT_USER, OPTIONS_KEY, L"LanguageFile") == file);

  // One that is binary, huge or a folder leaves the English texts: ten
  // megabytes of lines that are no labels, and bytes that are no text.
  std::string huge = "[LABELS]\n";
  while (huge.size() < 10 * 1024 * 1024) huge += "key=some text that is not a label\n";
  WriteTextFile(folder.File(L"huge.ini"), huge.c_str());
  WriteTextFile(folder.File(L"binary.ini"),
                (std::string(1 << 20, '\xC3') + "\x01[LABELS]").c_str());
  for (const wchar_t* name : {L"huge.ini", L"binary.ini", L""}) {
    SetCurrentLanguageFile(folder.File(name).c_str());
    ReloadLabels();
    CHECK_TEXT(LabelText(LBL_OK), EnglishDefault(LBL_OK));
  }
}

TEST_CASE("links: one activation a key, seven at once, slots free again") {
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

  // A click is the end-to-end tests' way to the pickers' links.
  SendMessageW(texts[1], WM_KEYUP, VK_SPACE, 0);
  CHECK(Activations(pages[0]) == std::vector<WPARAM>{IDC_OPT_SHELL_NOTICE_TEXT});

  // A destroyed dialog's links give their slots to new ones.
  DestroyWindow(pages[0]);
  CHECK(MakeLink(texts[7]));
}

// From inside the dialog: a change and OK, then, once the save's error has
// been seen, Cancel.
TEST_CASE("a refused save: Options says so, keeps the dialog, and changes nothing; the language "
          "stays") {
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
  // Regression: a chosen language file became the current one before the
  // registry took it, and stayed so when the registry refused.
  PathBuffer german;
  GetLanguageFolder(german);
  AppendText(german, L"\\Deutsch.ini");
  CHECK_FALSE(SetLanguage(german));
  CHECK(std::wstring(CurrentLanguageFile()) == DEFAULT_LANGUAGE);
}
