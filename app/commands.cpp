#include "app/commands.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "app/app.h"
#include "app/command_table.h"
#include "app/layout.h"
#include "app/layout_rules.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/operation.h"
#include "app/open_folder.h"
#include "editor/editor.h"
#include "files/folder_monitor.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/about_dialog.h"
#include "ui/dialog_helpers.h"
#include "ui/labels.h"
#include "ui/language_dialog.h"
#include "ui/message_box.h"
#include "ui/options_dialog.h"
#include "ui/program_folder.h"
#include "ui/wait_cursor.h"

namespace {

void ChangeLanguage() {
  if (!ShowLanguageDialog(MainWindow())) return;
  WaitCursor wait;
  SetMenuCaptions();
}

// The folder again, on the file that was selected when it is still there.
void RefreshSource() {
  const HWND list = FileList();
  const int mark = static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
  PathBuffer reselect = L"";
  if (mark != -1) ListItemText(mark, reselect);
  LoadSourceFolder(SourceFolder(), reselect);
}

// On the page the user had last, or on `page`.
void EditOptions(int page = -1) {
  int tab = page != -1 ? page : Settings().layout.OptionsSelectedTab;
  const bool changed = ShowOptionsDialog(MainWindow(), &tab);
  SetOptionsSelectedTab(tab);
  if (!changed) return;
  WaitCursor wait;
  ApplyEditorOptions();
  WatchSourceFolder();
  SetEditorBackground();
  if (SourceFolder()[0] != L'\0') RefreshSource();
}

// Shows and hides the toolbar, the status bar or the file list.
void TogglePart(uint32_t bit) {
  SetHiddenControls(Settings().layout.MainHiddenControls ^ bit);
  ApplyHiddenParts();
  Relayout();
}

void OpenDestination() {
  const HWND main = MainWindow();
  const wchar_t* folder = Settings().options.DestinationFolder;
  if (folder[0] == L'\0') {
    ShowMessage(main, LabelText(LBL_DEST_NOT_SET), MB_OK | MB_ICONWARNING);
    return;
  }
  bool exists = false;
  {
    WaitCursor wait;
    exists = PathIsDirectoryW(folder) != FALSE;
  }
  if (!exists) {
    if (ShowMessage(main, FormatLabelWithArgument(LBL_ASK_CREATE_FOLDER, folder),
                    MB_YESNO | MB_ICONQUESTION) != IDYES) {
      return;
    }
    WaitCursor wait;
    if (SHCreateDirectoryExW(main, folder, nullptr) != ERROR_SUCCESS) {
      ShowLabelMessage(main, LBL_FOLDER_CREATE_ERROR, folder, MB_OK | MB_ICONERROR);
      return;
    }
  }
  WaitCursor wait;
  if (!ShellOpen(folder, ShellTarget::Path)) {
    ShowLabelMessage(main, LBL_FOLDER_OPEN_ERROR, folder, MB_OK | MB_ICONERROR);
  }
}

void ChooseSource() {
  PathBuffer folder;
  if (!PickFolder(MainWindow(), LabelText(LBL_SELECT_SOURCE_FOLDER), folder)) {
    ShowMessage(MainWindow(), LabelText(LBL_FOLDER_SELECTION_ERROR), MB_OK | MB_ICONERROR);
    return;
  }
  if (folder[0] == L'\0') return;
  LoadSourceFolder(folder, L"");
}

void OpenUserManual() {
  WaitCursor wait;
  PathBuffer folder;
  PathBuffer manual = L"";
  GetProgramFolder(folder);
  const bool joined = PathCombineW(manual, folder, L"HTML\\Index.htm") != nullptr;
  if (!joined) manual[0] = L'\0';
  if (!joined || !ShellOpen(manual, ShellTarget::Path)) {
    ShowLabelMessage(MainWindow(), LBL_HELP_FILE_ERROR, manual, MB_OK | MB_ICONERROR);
  }
}

void CancelDrag() {
  if (CancelSplitterDrag()) return;
  // The editor cancels a selection drag.
  SendMessageW(EditorPane(), WM_COMMAND, IDCANCEL, 0);
}

bool IsEnabled(int menuCommand) { return IsCommandEnabled(menuCommand); }

}  // namespace

void OnCommand(int id) {
  // The main window passes no command on while an operation runs.
  OperationScope operation;
  const int command = CommandToRun(id, IsEnabled);
  switch (command) {
    case IDCANCEL:
      CancelDrag();
      break;
    case IDM_FILE_LANGUAGE:
      ChangeLanguage();
      break;
    case IDM_FILE_OPTIONS:
      EditOptions();
      break;
    case IDM_FILE_OPTIONS_FOLDERS:
      EditOptions(OPTIONS_PAGE_FOLDERS);
      break;
    case IDM_FILE_EXIT:
      RequestExitWhenIdle();
      break;
    case IDM_VIEW_TOOLBAR:
      TogglePart(HIDDEN_TOOLBAR);
      break;
    case IDM_VIEW_STATUSBAR:
      TogglePart(HIDDEN_STATUS_BAR);
      break;
    case IDM_VIEW_FILES:
      TogglePart(HIDDEN_FILE_LIST);
      break;
    case IDM_FOLDER_OPEN:
      OpenDestination();
      break;
    case IDM_FOLDER_BROWSE:
      ChooseSource();
      break;
    case IDM_FOLDER_REFRESH:
      RefreshSource();
      break;
    case IDM_IMAGE_VIEW_ONLY:
      ToggleViewOnly();
      break;
    case IDM_IMAGE_KEEP_FRAME:
      ToggleKeepFrame();
      break;
    case IDM_IMAGE_MOVE_FIRST:
    case IDM_IMAGE_MOVE_BACK:
    case IDM_IMAGE_MOVE_NEXT:
    case IDM_IMAGE_MOVE_LAST:
    case IDM_IMAGE_SAVE_BACK:
    case IDM_IMAGE_SAVE_ONLY:
    case IDM_IMAGE_SAVE_NEXT:
      Navigate(command);
      break;
    case IDM_IMAGE_ROTATE:
      PictureEditor().RotateSelection();
      break;
    case IDM_HELP_MANUAL:
      OpenUserManual();
      break;
    case IDM_HELP_ABOUT:
      ShowAboutDialog(MainWindow());
      break;
    default:
      break;
  }
}

void Popup(LPARAM point, HWND control, HMENU menu) {
  POINT at = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  if (at.x == -1 && at.y == -1) {
    RECT bounds;
    GetWindowRect(control, &bounds);
    const int mark = static_cast<int>(SendMessageW(control, LVM_GETSELECTIONMARK, 0, 0));
    POINT position = {};
    const bool hasItem = mark != -1 && SendMessageW(control, LVM_GETITEMPOSITION, mark,
                                                    reinterpret_cast<LPARAM>(&position));
    const MenuPoint item = {position.x, position.y};
    const MenuPoint chosen = KeyboardMenuPoint(
        {bounds.left, bounds.top, bounds.right, bounds.bottom}, hasItem ? &item : nullptr);
    at = {chosen.x, chosen.y};
  }
  if (at.x < 0) at.x = 0;
  if (at.y < 0) at.y = 0;
  TrackPopupMenuEx(menu, TPM_LEFTBUTTON, at.x, at.y, GetParent(control), nullptr);
}

void OnDropFiles(HDROP drop) {
  if (OperationRunning()) {
    DragFinish(drop);
    return;
  }
  OperationScope operation;
  PathBuffer path = L"";
  // A longer path would come back cut short: the name of some ancestor.
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  const bool fits = length > 0 && length < PATH_CAPACITY &&
                    DragQueryFileW(drop, 0, path, PATH_CAPACITY) == length;
  DragFinish(drop);
  if (!fits) return;
  if (!PathIsDirectoryW(path)) {
    PathRemoveFileSpecW(path);
    if (!PathIsDirectoryW(path)) return;
  }
  LoadSourceFolder(path, L"");
}

void OnSourceChanged() {
  // During an operation the flag stays set; its end tells the change.
  if (!SourceChanged() || OperationRunning()) return;
  OperationScope operation;
  ShowLabelMessage(MainWindow(), LBL_SOURCE_CHANGED, L"\n", MB_OK | MB_ICONWARNING);
  RefreshSource();
}
