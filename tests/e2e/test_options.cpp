// The Options dialog of the real Trimlet.exe: every page edited as a user
// does it, OK saving everything at once. (Cancel after an edit: the
// in-process test of a refused save.)
#include <shlwapi.h>

#include <string>

#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

constexpr const wchar_t* VERB = L"Directory\\shell\\Bluecrane.Trimlet";

DWORD Option(const wchar_t* name) {
  return ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, name).Number();
}

// A control of one of the dialog's pages.
HWND PageControl(HWND dialog, int page, int control) {
  return GetDlgItem(GetDlgItem(GetDlgItem(dialog, IDC_OPT_TABS), page), control);
}

void SetText(HWND control, const std::wstring& text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

TEST_CASE("Options: each page edited, OK saves all and the verb") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder folder(L"TrimletOptions");
  REQUIRE(WritePicture(folder.File(L"square.bmp"), 1000, 1000, 0xFF808080, L"image/bmp"));
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"StartupAskFolder", 0);
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"MinimumImageWidth", 200);
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LastUsedFolder", folder.path);
  Trimlet trimlet(L"/EXPLORE \"" + folder.path + L"\"");
  REQUIRE(trimlet.WaitStatus(3, L"1000 x 667   (0, 166)"));

  // A check box turned over each way (ask at start-up is stored off, the
  // monitor on by default), the free selection picked, a number typed past
  // its range: each control and the value OK stores. (Each option's rules
  // and what a save writes are checked natively.)
  constexpr int FOLDERS = IDD_OPTIONS_FOLDERS, EDITOR = IDD_OPTIONS_EDITOR;
  const struct {
    int page, control;
    const wchar_t* typed;  // null: clicked
    const wchar_t* name;
    DWORD stored;
  } edits[] = {{FOLDERS, IDC_OPT_FOLDERS_ASK_SOURCE, nullptr, L"StartupAskFolder", 1},
               {FOLDERS, IDC_OPT_FOLDERS_MONITOR_SOURCE, nullptr, L"NotifySourceChanges", 0},
               {EDITOR, IDC_OPT_EDITOR_FREE_SELECTION, nullptr, L"ResizeRatioMode", 2},
               {FOLDERS, IDC_OPT_FOLDERS_MIN_WIDTH, L"12", L"MinimumImageWidth", 96},
               {EDITOR, IDC_OPT_EDITOR_RATIO_WIDTH, L"0", L"ResizeRatioWidth", 1},
               {EDITOR, IDC_OPT_EDITOR_LOSSLESS, nullptr, L"LosslessJpegCrop", 1}};
  trimlet.Press({VK_CONTROL, 'O'});
  const HWND dialog = trimlet.WaitDialog(L"Ask source at startup");
  REQUIRE(dialog != nullptr);
  for (const auto& edit : edits) {
    const HWND control = PageControl(dialog, edit.page, edit.control);
    if (edit.typed == nullptr) PostMessageW(control, BM_CLICK, 0, 0);
    if (edit.typed != nullptr) SetText(control, edit.typed);
  }
  // The destination's link picks a folder, starting at the one used last.
  const HWND destination = PageControl(dialog, FOLDERS, IDC_OPT_FOLDERS_DEST_FOLDER);
  const HWND picker = trimlet.OpenPicker(PageControl(dialog, FOLDERS, IDC_OPT_FOLDERS_CHANGE_LINK),
                                         L"Select the destination folder");
  REQUIRE(picker != nullptr);
  TakeFolderShown(picker, L"TrimletOptions");
  CHECK(WaitUntil([&] { return WindowText(destination) == folder.path; }, Trimlet::TIMEOUT));
  SetText(destination, L"  " + folder.File(L"crops") + L" ");
  // Editor, then Shell, reached with Ctrl+Tab.
  trimlet.Press({VK_CONTROL, VK_TAB}, dialog);
  trimlet.Press({VK_CONTROL, VK_TAB}, dialog);
  SetText(PageControl(dialog, IDD_OPTIONS_SHELL, IDC_OPT_SHELL_VERB_CAPTION), L"Crop here");
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  // The folder is loaded again with the free selection: the whole picture.
  CHECK(trimlet.WaitStatus(3, L"1000 x 1000   (0, 0)"));
  for (const auto& edit : edits) {
    CAPTURE(Narrow(edit.name));
    CHECK(Option(edit.name) == edit.stored);
  }
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder").Text() ==
        folder.File(L"crops"));
  CHECK(ReadRawValue(HKEY_CLASSES_ROOT, VERB, L"").Text() == L"Crop here");
  CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT_KEY, L"OptionsSelectedTab").Number() == 2);
}
