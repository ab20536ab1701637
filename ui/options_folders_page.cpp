// The Options dialog's Folders page: the source folder's behaviour, the
// smallest pictures listed, and the destination folder.
#include <shlwapi.h>

#include "resources/resource.h"
#include "settings/settings_rules.h"
#include "ui/dialog_helpers.h"
#include "ui/labels.h"
#include "ui/link_control.h"
#include "ui/message_box.h"
#include "ui/options_pages.h"

namespace {

constexpr DialogLabel kLabels[] = {
    {IDC_OPT_FOLDERS_SOURCE_GROUP, LBL_SOURCE},
    {IDC_OPT_FOLDERS_ASK_SOURCE, LBL_ASK_SOURCE_AT_STARTUP},
    {IDC_OPT_FOLDERS_MONITOR_SOURCE, LBL_MONITOR_SOURCE},
    {IDC_OPT_FOLDERS_MIN_SIZE_TEXT, LBL_EXCLUDE_SMALL_IMAGES},
    {IDC_OPT_FOLDERS_MORE_FORMATS, LBL_LIST_MORE_FORMATS},
    {IDC_OPT_FOLDERS_DEST_GROUP, LBL_DESTINATION},
    {IDC_OPT_FOLDERS_CHANGE_LINK, LBL_CHANGE_FOLDER},
};

void OnInitDialog(HWND page, const Options& options) {
  SetDialogLabels(page, kLabels);
  CheckDlgButton(page, IDC_OPT_FOLDERS_ASK_SOURCE, options.StartupAskFolder);
  CheckDlgButton(page, IDC_OPT_FOLDERS_MONITOR_SOURCE, options.NotifySourceChanges);
  CheckDlgButton(page, IDC_OPT_FOLDERS_MORE_FORMATS, options.ListMoreFormats);
  InitNumberField(page, IDC_OPT_FOLDERS_MIN_WIDTH, IDC_OPT_FOLDERS_MIN_WIDTH_SPIN,
                  MINIMUM_IMAGE_SIDE_MIN, MINIMUM_IMAGE_SIDE_MAX, options.MinimumImageWidth);
  InitNumberField(page, IDC_OPT_FOLDERS_MIN_HEIGHT, IDC_OPT_FOLDERS_MIN_HEIGHT_SPIN,
                  MINIMUM_IMAGE_SIDE_MIN, MINIMUM_IMAGE_SIDE_MAX, options.MinimumImageHeight);
  const HWND folder = GetDlgItem(page, IDC_OPT_FOLDERS_DEST_FOLDER);
  SendMessageW(folder, EM_LIMITTEXT, PATH_CAPACITY - 1, 0);
  SetWindowTextW(folder, options.DestinationFolder);
  SHAutoComplete(folder, SHACF_FILESYS_DIRS);
  // The link ends where the folder's edit ends.
  const HWND link = GetDlgItem(page, IDC_OPT_FOLDERS_CHANGE_LINK);
  MakeLink(link);
  RECT edit;
  RECT place;
  GetWindowRect(folder, &edit);
  GetWindowRect(link, &place);
  MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&edit), 2);
  MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&place), 2);
  SetWindowPos(link, nullptr, edit.right - (place.right - place.left), place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChangeFolder(HWND page) {
  PathBuffer folder;
  const HWND dialog = GetAncestor(page, GA_ROOT);
  if (!PickFolder(dialog, LabelText(LBL_SELECT_DEST_FOLDER), folder)) {
    ShowMessage(dialog, LabelText(LBL_FOLDER_SELECTION_ERROR), MB_OK | MB_ICONERROR);
  } else if (folder[0] != L'\0') {
    SetDlgItemTextW(page, IDC_OPT_FOLDERS_DEST_FOLDER, folder);
  }
}

INT_PTR CALLBACK FoldersPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = FALSE;
  if (HandlePageMessage(page, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(page, KeepDialogData<OptionsEdit>(page, lParam)->options);
      return TRUE;
    case WM_LINK_ACTIVATED:
      ChangeFolder(page);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateFoldersPage(HWND tab, OptionsEdit& edit) {
  return CreatePage(tab, IDD_OPTIONS_FOLDERS, FoldersPageProc, edit);
}

void ReadFoldersPage(HWND page, OptionsEdit& edit) {
  Options& options = edit.options;
  options.StartupAskFolder = IsDlgButtonChecked(page, IDC_OPT_FOLDERS_ASK_SOURCE) == BST_CHECKED;
  options.NotifySourceChanges =
      IsDlgButtonChecked(page, IDC_OPT_FOLDERS_MONITOR_SOURCE) == BST_CHECKED;
  options.ListMoreFormats = IsDlgButtonChecked(page, IDC_OPT_FOLDERS_MORE_FORMATS) == BST_CHECKED;
  options.MinimumImageWidth = ReadNumberField(page, IDC_OPT_FOLDERS_MIN_WIDTH,
                                              MINIMUM_IMAGE_SIDE_MIN, MINIMUM_IMAGE_SIDE_MAX);
  options.MinimumImageHeight = ReadNumberField(page, IDC_OPT_FOLDERS_MIN_HEIGHT,
                                               MINIMUM_IMAGE_SIDE_MIN, MINIMUM_IMAGE_SIDE_MAX);
  GetDlgItemTextW(page, IDC_OPT_FOLDERS_DEST_FOLDER, options.DestinationFolder,
                  static_cast<int>(PATH_CAPACITY));
  TrimBlanks(options.DestinationFolder);
}
