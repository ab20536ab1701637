#include "app/navigation.h"

#include <shlwapi.h>

#include <cwchar>

#include "app/app.h"
#include "app/bars.h"
#include "app/busy_dialog.h"
#include "app/error_report.h"
#include "app/main_window.h"
#include "editor/editor.h"
#include "files/crop_save.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/labels.h"
#include "ui/message_box.h"
#include "ui/wait_cursor.h"

namespace {

constexpr int FILE_NAME_PART = 0;
constexpr int POSITION_PART = 1;

struct NavigationState {
  int targetIndex = -1;
  bool saveRequested = false;
  PathBuffer targetPath = L"";
  bool saveSucceeded = false;
};

NavigationState g_navigation;

int SelectionMark() {
  return static_cast<int>(SendMessageW(FileList(), LVM_GETSELECTIONMARK, 0, 0));
}

int ItemCount() { return static_cast<int>(SendMessageW(FileList(), LVM_GETITEMCOUNT, 0, 0)); }

bool ItemText(int index, PathBuffer& name) {
  name[0] = L'\0';
  LVITEMW item = {};
  item.pszText = name;
  item.cchTextMax = PATH_CAPACITY;
  SendMessageW(FileList(), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
  return name[0] != L'\0';
}

// Selecting an item makes the list report it, which shows the picture.
void SelectItem(int index) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageW(FileList(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

void EnableSaveCommands(bool rotate, bool saveBack, bool save, bool saveNext) {
  EnableCommand(rotate, IDM_IMAGE_ROTATE, IDC_TB_ROTATE);
  EnableCommand(saveBack, IDM_IMAGE_SAVE_BACK, IDC_TB_SAVE_BACK);
  EnableCommand(save, IDM_IMAGE_SAVE_ONLY, IDC_TB_SAVE_ONLY);
  EnableCommand(saveNext, IDM_IMAGE_SAVE_NEXT, IDC_TB_SAVE_NEXT);
}

void LoadPicture(void* path) { LoadEditorImage(static_cast<const wchar_t*>(path)); }

void SaveTask(void*) {
  if (!SaveCrop(g_navigation.targetPath)) return;
  g_navigation.saveRequested = false;
  g_navigation.saveSucceeded = true;
  if (g_navigation.targetIndex == -1) return;
  // The busy dialog is still open: the next picture loads under it.
  SelectItem(g_navigation.targetIndex);
  SendMessageW(MainWindow(), WM_SHOW_IMAGE, static_cast<WPARAM>(g_navigation.targetIndex), 0);
}

int TargetIndexOf(int command) {
  const int mark = SelectionMark();
  switch (command) {
    case IDM_IMAGE_MOVE_FIRST:
      return 0;
    case IDM_IMAGE_MOVE_LAST:
      return ItemCount() - 1;
    case IDM_IMAGE_MOVE_BACK:
    case IDM_IMAGE_SAVE_BACK:
      return mark - 1;
    case IDM_IMAGE_MOVE_NEXT:
    case IDM_IMAGE_SAVE_NEXT:
      return mark + 1;
    default:
      return -1;
  }
}

// Where the save goes: the destination folder with the current file's name,
// or a unique name beside it when the user does not want to overwrite.
// False when nothing is to be saved.
bool ChooseTargetPath() {
  WaitCursor wait;
  PathBuffer name;
  ItemText(SelectionMark(), name);
  wchar_t* target = g_navigation.targetPath;
  const wchar_t* destination = Settings().options.DestinationFolder;
  if (PathCombineW(target, destination, name) == nullptr) {
    target[0] = L'\0';
    ReportError(LBL_IMAGE_SAVE_ERROR, name, MB_ICONERROR);
    FinishOperation(false);
    return false;
  }
  const DWORD attributes = GetFileAttributesW(target);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return true;
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  const int answer = ShowMessage(MainWindow(), FormatLabelWithArgument(LBL_ASK_OVERWRITE, target),
                                 MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (answer == IDYES) return true;
  target[0] = L'\0';
  if (answer != IDNO) return false;
  WaitCursor renaming;
  if (!MakeUniqueTargetPath(destination, name, g_navigation.targetPath)) {
    target[0] = L'\0';
    ShowMessage(MainWindow(), LabelText(LBL_UNIQUE_NAME_ERROR), MB_OK | MB_ICONERROR);
    return false;
  }
  return true;
}

}  // namespace

void OnFileSelectionChanged(const NMLISTVIEW& change) {
  // Only a newly selected item counts: setting the focus below reports the
  // same item again, and must not load its picture twice.
  if (change.iItem == -1 || (change.uNewState & LVIS_SELECTED) == 0 ||
      (change.uOldState & LVIS_SELECTED) != 0) {
    return;
  }
  const HWND list = FileList();
  const int index = change.iItem;
  SendMessageW(list, LVM_SETSELECTIONMARK, 0, index);
  LVITEMW focused = {};
  focused.stateMask = LVIS_FOCUSED;
  focused.state = LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&focused));
  SendMessageW(list, LVM_ENSUREVISIBLE, index, FALSE);

  const bool first = index == 0;
  const bool last = index == ItemCount() - 1;
  const bool editing = !Settings().options.ViewOnlyImages;
  EnableCommand(!first, IDM_IMAGE_MOVE_FIRST, IDC_TB_MOVE_FIRST);
  EnableCommand(!first, IDM_IMAGE_MOVE_BACK, IDC_TB_MOVE_BACK);
  EnableCommand(!last, IDM_IMAGE_MOVE_NEXT, IDC_TB_MOVE_NEXT);
  EnableCommand(!last, IDM_IMAGE_MOVE_LAST, IDC_TB_MOVE_LAST);
  EnableSaveCommands(editing, !first && editing, editing, !last && editing);
  if (BusyDialog() == nullptr) {
    PostMessageW(MainWindow(), WM_SHOW_IMAGE, static_cast<WPARAM>(index), 0);
  }
}

void ShowImage(int index) {
  PathBuffer name;
  PathBuffer path;
  if (!ItemText(index, name) || PathCombineW(path, SourceFolder(), name) == nullptr) return;
  wchar_t position[32];
  std::swprintf(position, 32, L"%d / %d", index + 1, ItemCount());
  SetStatusText(name, FILE_NAME_PART);
  SetStatusText(position, POSITION_PART);
  if (BusyDialog() != nullptr) {
    SetBusyMessage(LBL_GENERATING_PREVIEW);
    DropCancel();
    LoadEditorImage(path);
    return;
  }
  RunBusy(LoadPicture, LBL_GENERATING_PREVIEW, path, nullptr);
  FinishOperation(true);
}

void Navigate(int command) {
  g_navigation.targetPath[0] = L'\0';
  g_navigation.saveRequested = command == IDM_IMAGE_SAVE_BACK || command == IDM_IMAGE_SAVE_ONLY ||
                               command == IDM_IMAGE_SAVE_NEXT;
  g_navigation.targetIndex = TargetIndexOf(command);
  if (!g_navigation.saveRequested) {
    if (g_navigation.targetIndex == -1) return;
    WaitCursor wait;
    SelectItem(g_navigation.targetIndex);
    return;
  }
  if (!ChooseTargetPath()) return;
  g_navigation.saveSucceeded = false;
  RunBusy(SaveTask, LBL_SAVING_IMAGE, nullptr, nullptr);
  FinishOperation(g_navigation.saveSucceeded);
}

void ToggleViewOnly() {
  WaitCursor wait;
  const HWND main = MainWindow();
  const HMENU menu = GetMenu(main);
  const bool viewOnly = (GetMenuState(menu, IDM_IMAGE_VIEW_ONLY, MF_BYCOMMAND) & MF_CHECKED) == 0;
  Settings().options.ViewOnlyImages = viewOnly;
  SaveSettings(false);
  CheckMenuItem(menu, IDM_IMAGE_VIEW_ONLY, MF_BYCOMMAND | (viewOnly ? MF_CHECKED : MF_UNCHECKED));
  SendMessageW(Toolbar(), TB_CHECKBUTTON, IDC_TB_VIEW_ONLY, MAKELPARAM(viewOnly, 0));
  EnableSaveCommands(!viewOnly, !viewOnly && IsCommandEnabled(IDM_IMAGE_MOVE_BACK), !viewOnly,
                     !viewOnly && IsCommandEnabled(IDM_IMAGE_MOVE_NEXT));
  FinishOperation(true);
}

void FinishOperation(bool disableWhenEmpty) {
  SetEditorReady();
  InvalidateRect(EditorPane(), nullptr, FALSE);
  ErrorReport& report = LastError();
  if (report.label == -1) {
    ShowSelectionStatus();
  } else {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    ShowMessage(MainWindow(), FormatMessageLabel(report.label, report.argument),
                MB_OK | report.icon);
    ClearError();
  }
  if (disableWhenEmpty && !HasEditorImage()) EnableSaveCommands(false, false, false, false);
}
