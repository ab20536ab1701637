// The Options dialog of the real Trimlet.exe: every page edited as a user
// does it, OK saving everything at once, Cancel nothing.
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

HWND OpenOptions(const Trimlet& trimlet) {
  trimlet.Press({VK_CONTROL, 'O'});
  return trimlet.WaitDialog(L"Ask source at startup");
}

}  // namespace

TEST_CASE("Options: each page edited, OK saves all and the verb, Cancel nothing") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder folder(L"TrimletOptions");
  REQUIRE(WritePicture(folder.File(L"square.bmp"), 1000, 1000, 0xFF808080, L"image/bmp"));
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"StartupAskFolder", 0);
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"MinimumImageWidth", 200);
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LastUsedFolder", folder.path);
  WriteNumberValue(HKEY_CURRENT_USER, LAYOUT_KEY, L"OptionsSelectedTab", 5);
  Trimlet trimlet(L"/EXPLORE \"" + folder.path + L"\"");
  REQUIRE(trimlet.WaitStatus(3, L"1000 x 667   (0, 166)"));

  // Folders, the page a stored page out of range opens: a check box, a
  // number past its range, a destination that is not absolute, then one.
  HWND dialog = OpenOptions(trimlet);
  REQUIRE(dialog != nullptr);
  // Every check box is turned over: ask at start-up (stored off), the others
  // (on by default).
  const std::pair<int, int> boxes[] = {{IDD_OPTIONS_FOLDERS, IDC_OPT_FOLDERS_ASK_SOURCE},
                                       {IDD_OPTIONS_FOLDERS, IDC_OPT_FOLDERS_MONITOR_SOURCE},
                                       {IDD_OPTIONS_EDITOR, IDC_OPT_EDITOR_ENHANCED_SELECTION},
                                       {IDD_OPTIONS_EDITOR, IDC_OPT_EDITOR_SYSTEM_COLOR},
                                       {IDD_OPTIONS_EDITOR, IDC_OPT_EDITOR_COPY_EXIF_TAGS},
                                       {IDD_OPTIONS_EDITOR, IDC_OPT_EDITOR_TEMP_COPY},
                                       {IDD_OPTIONS_EDITOR, IDC_OPT_EDITOR_UPRIGHT}};
  for (const auto& [page, box] : boxes) {
    PostMessageW(PageControl(dialog, page, box), BM_CLICK, 0, 0);
  }
  const std::pair<int, const wchar_t*> numbers[] = {{IDC_OPT_FOLDERS_MIN_WIDTH, L"12"},
                                                    {IDC_OPT_FOLDERS_MIN_HEIGHT, L"150"},
                                                    {IDC_OPT_EDITOR_RATIO_WIDTH, L"0"},
                                                    {IDC_OPT_EDITOR_RATIO_HEIGHT, L"9"}};
  for (const auto& [edit, text] : numbers) {
    const int page = edit < IDC_OPT_EDITOR_RATIO_WIDTH ? IDD_OPTIONS_FOLDERS : IDD_OPTIONS_EDITOR;
    SetText(PageControl(dialog, page, edit), text);
  }
  const HWND destination = PageControl(dialog, IDD_OPTIONS_FOLDERS, IDC_OPT_FOLDERS_DEST_FOLDER);
  SetText(destination, L"photos\\out");
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  CHECK_FALSE(trimlet.Answer(L"not an absolute path", IDOK).empty());
  // Its link picks a folder, starting at the one used last.
  const HWND picker =
      trimlet.OpenPicker(PageControl(dialog, IDD_OPTIONS_FOLDERS, IDC_OPT_FOLDERS_CHANGE_LINK),
                         L"Select the destination folder");
  REQUIRE(picker != nullptr);
  TakeFolderShown(picker, L"TrimletOptions");
  CHECK(WaitUntil([&] { return WindowText(destination) == folder.path; }, Trimlet::TIMEOUT));
  SetText(destination, L"  " + folder.File(L"crops") + L" ");
  // Editor and Shell, reached with Ctrl+Tab.
  trimlet.Press({VK_CONTROL, VK_TAB}, dialog);
  PostMessageW(PageControl(dialog, IDD_OPTIONS_EDITOR, IDC_OPT_EDITOR_FREE_SELECTION), BM_CLICK, 0,
               0);
  trimlet.Press({VK_CONTROL, VK_TAB}, dialog);
  SetText(PageControl(dialog, IDD_OPTIONS_SHELL, IDC_OPT_SHELL_VERB_CAPTION), L"Crop here");
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  // The folder is loaded again with the free selection: the whole picture.
  CHECK(trimlet.WaitStatus(3, L"1000 x 1000   (0, 0)"));
  const std::pair<const wchar_t*, DWORD> saved[] = {
      {L"StartupAskFolder", 1},   {L"NotifySourceChanges", 0},  {L"EnhancedSelection", 0},
      {L"EditorSystemColor", 0},  {L"CopyImageExifTags", 0},    {L"CopySourceToTemp", 0},
      {L"MinimumImageWidth", 96}, {L"MinimumImageHeight", 150}, {L"ResizeRatioWidth", 1},
      {L"ResizeRatioHeight", 9},  {L"ResizeRatioMode", 2},      {L"TurnImagesUpright", 0}};
  for (const auto& [name, value] : saved) {
    CAPTURE(Narrow(name));
    CHECK(Option(name) == value);
  }
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder").Text() ==
        folder.File(L"crops"));
  CHECK(ReadRawValue(HKEY_CLASSES_ROOT, VERB, L"").Text() == L"Crop here");
  CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT_KEY, L"OptionsSelectedTab").Number() == 2);

  // Again on the Shell page, showing what was saved; Cancel keeps it.
  dialog = OpenOptions(trimlet);
  REQUIRE(dialog != nullptr);
  const HWND caption = PageControl(dialog, IDD_OPTIONS_SHELL, IDC_OPT_SHELL_VERB_CAPTION);
  CHECK(WindowText(caption) == L"Crop here");
  SetText(caption, L"");
  PostMessageW(PageControl(dialog, IDD_OPTIONS_EDITOR, IDC_OPT_EDITOR_CUSTOM_RATIO), BM_CLICK, 0,
               0);
  trimlet.Press({VK_ESCAPE}, dialog);
  CHECK(trimlet.WaitIdle());
  CHECK(Option(L"ResizeRatioMode") == 2);
  CHECK(ReadRawValue(HKEY_CLASSES_ROOT, VERB, L"").Text() == L"Crop here");
}
