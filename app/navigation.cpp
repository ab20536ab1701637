#include "app/navigation.h"

#include <shlwapi.h>

#include <cwchar>
#include <iterator>

#include "app/app.h"
#include "app/bars.h"
#include "app/busy_dialog.h"
#include "app/file_list.h"
#include "app/main_window.h"
#include "app/shell_menu.h"
#include "base/error_report.h"
#include "base/folder_entries.h"
#include "editor/editor.h"
#include "files/crop_save.h"
#include "files/done_marks.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/labels.h"
#include "ui/message_box.h"
#include "ui/wait_cursor.h"

namespace {

struct CommandPair {
  int menu;
  int button;
};

constexpr CommandPair ROTATE = {IDM_IMAGE_ROTATE, IDC_TB_ROTATE};
constexpr CommandPair SAVE_BACK = {IDM_IMAGE_SAVE_BACK, IDC_TB_SAVE_BACK};
constexpr CommandPair SAVE_ONLY = {IDM_IMAGE_SAVE_ONLY, IDC_TB_SAVE_ONLY};
constexpr CommandPair SAVE_NEXT = {IDM_IMAGE_SAVE_NEXT, IDC_TB_SAVE_NEXT};
constexpr CommandPair kMoveCommands[] = {
    {IDM_IMAGE_MOVE_FIRST, IDC_TB_MOVE_FIRST},
    {IDM_IMAGE_MOVE_BACK, IDC_TB_MOVE_BACK},
    {IDM_IMAGE_MOVE_NEXT, IDC_TB_MOVE_NEXT},
    {IDM_IMAGE_MOVE_LAST, IDC_TB_MOVE_LAST},
};

void Enable(const CommandPair& command, bool enabled) {
  EnableCommand(enabled, command.menu, command.button);
}

void EnableSaveCommands(bool rotate, bool saveBack, bool save, bool saveNext) {
  Enable(ROTATE, rotate);
  Enable(SAVE_BACK, saveBack);
  Enable(SAVE_ONLY, save);
  Enable(SAVE_NEXT, saveNext);
}

int SelectionMark() {
  return static_cast<int>(SendMessageW(FileList(), LVM_GETSELECTIONMARK, 0, 0));
}

int ItemCount() { return static_cast<int>(SendMessageW(FileList(), LVM_GETITEMCOUNT, 0, 0)); }

class LoadPictureTask final : public BusyTask {
 public:
  explicit LoadPictureTask(const wchar_t* path) : path_(path) {}
  void Run() override { LoadEditorImage(path_); }

 private:
  const wchar_t* path_;
};

// Writes the crop, then, with a target, moves on under the same dialog.
class SaveTask final : public BusyTask {
 public:
  SaveTask(const wchar_t* target, int targetIndex) : target_(target), targetIndex_(targetIndex) {}

  void Run() override {
    const Options& settings = Settings().options;
    const SaveOptions options = {settings.DestinationFolder, settings.CopyImageExifTags,
                                 settings.TurnImagesUpright};
    if (!SaveCrop(EditorImage(), CropRect(), target_, options)) return;
    succeeded = true;
    if (targetIndex_ == -1) return;
    SelectListItem(targetIndex_);
    SendMessageW(MainWindow(), WM_SHOW_IMAGE, static_cast<WPARAM>(targetIndex_), 0);
  }

  bool succeeded = false;

 private:
  const wchar_t* target_;
  int targetIndex_;
};

// A picture saved under its own name into the destination gets its mark.
void MarkIfDone(int index) {
  PathBuffer name;
  if (ListItemText(index, name) &&
      HasDoneFile(Settings().options.DestinationFolder, SourceFolder(), name)) {
    MarkListItemDone(FileList(), Thumbnails(), index);
  }
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
bool ChooseTargetPath(PathBuffer& target) {
  PathBuffer name;
  ListItemText(SelectionMark(), name);
  const wchar_t* destination = Settings().options.DestinationFolder;
  bool exists = false;
  {
    WaitCursor wait;
    if (PathCombineW(target, destination, name) == nullptr) {
      target[0] = L'\0';
      ReportError(LBL_IMAGE_SAVE_ERROR, name, MB_ICONERROR);
      FinishOperation(false);
      return false;
    }
    exists = IsExistingFile(target);
  }
  if (!exists) return true;
  const int answer = ShowMessage(MainWindow(), FormatLabelWithArgument(LBL_ASK_OVERWRITE, target),
                                 MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (answer == IDYES) return true;
  target[0] = L'\0';
  if (answer != IDNO) return false;
  bool made = false;
  {
    WaitCursor renaming;
    made = MakeUniqueTargetPath(destination, name, target);
  }
  if (!made) {
    target[0] = L'\0';
    ShowMessage(MainWindow(), LabelText(LBL_UNIQUE_NAME_ERROR), MB_OK | MB_ICONERROR);
  }
  return made;
}

}  // namespace

bool ListItemText(int index, PathBuffer& name) {
  name[0] = L'\0';
  LVITEMW item = {};
  item.pszText = name;
  item.cchTextMax = PATH_CAPACITY;
  SendMessageW(FileList(), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
  return name[0] != L'\0';
}

void SelectListItem(int index) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageW(FileList(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

void GreyImageCommands() {
  for (const CommandPair& command : kMoveCommands) Enable(command, false);
  EnableSaveCommands(false, false, false, false);
}

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
  Enable(kMoveCommands[0], !first);
  Enable(kMoveCommands[1], !first);
  Enable(kMoveCommands[2], !last);
  Enable(kMoveCommands[3], !last);
  EnableSaveCommands(editing, !first && editing, editing, !last && editing);
  if (BusyDialog() == nullptr) {
    PostMessageW(MainWindow(), WM_SHOW_IMAGE, static_cast<WPARAM>(index), 0);
  }
}

// The next picture of the list is decoded while the user frames this one.
void PrefetchNext(int index) {
  PathBuffer name;
  PathBuffer path;
  if (index + 1 >= ItemCount() || !ListItemText(index + 1, name) ||
      PathCombineW(path, SourceFolder(), name) == nullptr) {
    PrefetchEditorImage(nullptr);
    return;
  }
  PrefetchEditorImage(path);
}

void ShowImage(int index) {
  PathBuffer name;
  PathBuffer path;
  if (!ListItemText(index, name) || PathCombineW(path, SourceFolder(), name) == nullptr) return;
  wchar_t position[32];
  std::swprintf(position, std::size(position), L"%d / %d", index + 1, ItemCount());
  SetStatusText(name, STATUS_FILE_NAME);
  SetStatusText(position, STATUS_POSITION);
  BuildShellMenu(MainWindow(), ImageShellMenu(), path);
  if (BusyDialog() != nullptr) {
    SetBusyMessage(LBL_GENERATING_PREVIEW);
    DropCancel();
    LoadEditorImage(path);
    PrefetchNext(index);
    return;
  }
  LoadPictureTask task(path);
  if (!RunBusy(task, LBL_GENERATING_PREVIEW, nullptr)) {
    // The picture never loaded: the editor must not go on showing the one
    // before under this picture's name, where a save would write it.
    LoadEditorImage(nullptr);
    ResetShellMenu();
    ReportError(LBL_IMAGE_LOAD_ERROR, path, MB_ICONERROR);
  } else {
    PrefetchNext(index);
  }
  FinishOperation(true);
}

void Navigate(int command) {
  const int targetIndex = TargetIndexOf(command);
  const bool saves = command == IDM_IMAGE_SAVE_BACK || command == IDM_IMAGE_SAVE_ONLY ||
                     command == IDM_IMAGE_SAVE_NEXT;
  PathBuffer target = L"";
  if (!saves) {
    if (targetIndex == -1) return;
    WaitCursor wait;
    SelectListItem(targetIndex);
    return;
  }
  if (!ChooseTargetPath(target)) return;
  const int saved = SelectionMark();
  SaveTask task(target, targetIndex);
  if (!RunBusy(task, LBL_SAVING_IMAGE, nullptr)) {
    ReportError(LBL_IMAGE_SAVE_ERROR, target, MB_ICONERROR);
  }
  if (task.succeeded) MarkIfDone(saved);
  FinishOperation(task.succeeded);
}

void ToggleViewOnly() {
  const bool viewOnly = !Settings().options.ViewOnlyImages;
  {
    WaitCursor wait;
    SetViewOnlyImages(viewOnly);
    CheckCommand(IDM_IMAGE_VIEW_ONLY, Settings().options.ViewOnlyImages);
    // Enabling again sets the button's check from the menu's.
    Enable({IDM_IMAGE_VIEW_ONLY, IDC_TB_VIEW_ONLY}, IsCommandEnabled(IDM_IMAGE_VIEW_ONLY));
    const bool editing = !Settings().options.ViewOnlyImages;
    EnableSaveCommands(editing, editing && IsCommandEnabled(IDM_IMAGE_MOVE_BACK), editing,
                       editing && IsCommandEnabled(IDM_IMAGE_MOVE_NEXT));
    // A picture loaded while the selection was hidden gets its rules now.
    if (editing) RefreshSelection();
  }
  FinishOperation(true);
}

void ToggleKeepFrame() {
  SetKeepFrame(!Settings().options.KeepFrame);
  CheckCommand(IDM_IMAGE_KEEP_FRAME, Settings().options.KeepFrame);
  EnableCommand(true, IDM_IMAGE_KEEP_FRAME, IDC_TB_KEEP_FRAME);
}

void ShowEditorStatus() {
  const Size size = EditorImageSize();
  if (!HasEditorImage()) {
    SetStatusText(nullptr, STATUS_IMAGE_SIZE);
    SetStatusText(nullptr, STATUS_SELECTION);
    return;
  }
  wchar_t text[96];
  std::swprintf(text, std::size(text), L"%d x %d", size.width, size.height);
  SetStatusText(text, STATUS_IMAGE_SIZE);
  if (Settings().options.ViewOnlyImages) {
    SetStatusText(nullptr, STATUS_SELECTION);
    return;
  }
  const Rect crop = CropRect();
  std::swprintf(text, std::size(text), L"%d x %d   (%d, %d)", crop.width, crop.height, crop.x,
                crop.y);
  SetStatusText(text, STATUS_SELECTION);
}

void FinishOperation(bool disableWhenEmpty) {
  SetEditorReady();
  InvalidateRect(EditorPane(), nullptr, FALSE);
  ErrorReport& report = LastError();
  if (report.label == -1) {
    ShowEditorStatus();
  } else {
    ShowMessage(MainWindow(), FormatMessageLabel(report.label, report.argument),
                MB_OK | report.icon);
    ClearError();
  }
  if (disableWhenEmpty && !HasEditorImage()) EnableSaveCommands(false, false, false, false);
}
