#include "app/navigation.h"

#include <shlwapi.h>

#include <cwchar>
#include <iterator>

#include "app/app.h"
#include "app/bars.h"
#include "app/busy_dialog.h"
#include "app/file_list.h"
#include "app/main_window.h"
#include "app/operation.h"
#include "app/shell_menu.h"
#include "base/background_work.h"
#include "base/error_report.h"
#include "base/folder_entries.h"
#include "base/picture_file.h"
#include "editor/editor.h"
#include "files/crop_save.h"
#include "files/done_marks.h"
#include "files/save_rules.h"
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

// Decodes the picture to show: the one decoded ahead when it is this
// picture, otherwise the file.
class LoadPictureTask final : public BusyTask {
 public:
  LoadPictureTask(const wchar_t* path, const DecodeRequest& request,
                  std::shared_ptr<PendingDecode> ahead)
      : request_(request), ahead_(std::move(ahead)) {
    CopyText(path_, path);
  }

  void Run(BusyReport&) override { picture = TakeOrDecode(path_, request_, ahead_); }

  std::unique_ptr<DecodedPicture> picture;

 private:
  PathBuffer path_ = L"";
  DecodeRequest request_;
  std::shared_ptr<PendingDecode> ahead_;
};

// A crop cut out of the file's bytes: the file as the editor read it and
// the frame.
struct LosslessCut {
  LosslessFile file;
  Rect frame = {};
};

// Writes the crop cut before it started, or cuts it losslessly from the
// file; then, with a picture to go to, takes it, decoded beside the save,
// under the same dialog. A lossless cut the engine refuses writes nothing:
// `refused` asks the caller for the ordinary save.
class SaveTask final : public BusyTask {
 public:
  SaveTask(GdiBitmap crop, const LosslessCut* lossless, const wchar_t* target,
           const SaveOptions& options, const wchar_t* next, const DecodeRequest& request,
           std::shared_ptr<PendingDecode> ahead)
      : crop_(std::move(crop)), request_(request), ahead_(std::move(ahead)) {
    if (lossless != nullptr) lossless_ = *lossless;
    CopyText(target_, target);
    CopyText(destination_, options.destinationFolder);
    CopyText(next_, next);
    options_ = {destination_, options.copyProperties, options.upright};
  }

  void Run(BusyReport& report) override {
    const ForegroundWork waited;  // the tiles give way to it
    // The next picture decodes beside the save, unless it was decoded ahead.
    if (FastPictureWorkInUse() && next_[0] != L'\0' &&
        (ahead_ == nullptr || !ahead_->IsFor(next_, request_))) {
      ahead_ = PendingDecode::Start(next_, request_);
    }
    if (lossless_.file.path[0] != L'\0') {
      refused = !CutLosslessly();
      if (refused) return;
    } else {
      succeeded = WriteCrop(crop_, target_, options_, error);
    }
    crop_.Reset();
    if (!succeeded || next_[0] == L'\0') return;
    report.Step(LBL_GENERATING_PREVIEW);
    picture = TakeOrDecode(next_, request_, ahead_);
  }

  bool succeeded = false;
  bool refused = false;
  ErrorReport error;
  std::unique_ptr<DecodedPicture> picture;

 private:
  // False when the file changed since it was shown, or the engine refuses.
  bool CutLosslessly() {
    std::vector<unsigned char> bytes;
    FileStamp now;
    bool cut = false;
    const LosslessFile& file = lossless_.file;
    if (StampOf(file.path, now) && now == file.stamp && ReadPictureFile(file.path, bytes)) {
      succeeded =
          WriteLosslessCrop(bytes, file.turn, lossless_.frame, target_, options_, error, cut);
    }
    return cut;
  }

  LosslessCut lossless_;
  GdiBitmap crop_;
  PathBuffer target_ = L"";
  PathBuffer destination_ = L"";
  PathBuffer next_ = L"";
  SaveOptions options_ = {};
  DecodeRequest request_;
  std::shared_ptr<PendingDecode> ahead_;
};

// Runs a save under the busy dialog; its failure is the operation's error.
std::unique_ptr<SaveTask> RunSave(std::unique_ptr<SaveTask> task, const wchar_t* target) {
  if (!RunBusy(*task, LBL_SAVING_IMAGE, false)) {
    ReportError(LBL_IMAGE_SAVE_ERROR, target, MB_ICONERROR);
  } else if (!task->succeeded && !task->refused) {
    LastError() = task->error;
  }
  return task;
}

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
  // An operation that selects an item shows its picture itself.
  if (!OperationRunning()) {
    SetShowPending(true);
    PostMessageW(MainWindow(), WM_SHOW_IMAGE, static_cast<WPARAM>(index), 0);
  }
}

bool ListItemPath(int index, PathBuffer& path) {
  PathBuffer name;
  if (!ListItemText(index, name) || PathCombineW(path, SourceFolder(), name) == nullptr) {
    path[0] = L'\0';
    return false;
  }
  return true;
}

void InstallPicture(int index, std::unique_ptr<DecodedPicture> picture) {
  PathBuffer name;
  ListItemText(index, name);
  wchar_t position[32];
  std::swprintf(position, std::size(position), L"%d / %d", index + 1, ItemCount());
  SetStatusText(name, STATUS_FILE_NAME);
  SetStatusText(position, STATUS_POSITION);
  Editor& editor = PictureEditor();
  PathBuffer path;
  if (picture != nullptr && ListItemPath(index, path)) {
    BuildShellMenu(MainWindow(), ImageShellMenu(), path);
  } else {
    ResetShellMenu();
  }
  editor.Show(std::move(picture));
  // A JPEG picture that will be recompressed although the user asked for
  // lossless crops says so beside its name.
  LosslessFile file;
  if (Settings().options.LosslessJpegCrop && editor.HasImage() &&
      std::wcscmp(SaveFormatFor(PathFindExtensionW(name)).mime, L"image/jpeg") == 0 &&
      !editor.LosslessSource(file)) {
    TextBuffer text;
    std::swprintf(text, std::size(text), L"%ls \u2014 %ls", static_cast<const wchar_t*>(name),
                  LabelText(LBL_LOSSLESS_REFUSED));
    SetStatusText(text, STATUS_FILE_NAME);
  }
  // The next picture of the list is decoded while the user frames this one.
  PathBuffer next;
  editor.DecodeAhead(ListItemPath(index + 1, next) ? next : nullptr);
}

void LoadListedPicture(int index) {
  PathBuffer path;
  if (!ListItemPath(index, path)) return;
  Editor& editor = PictureEditor();
  LoadPictureTask task(path, editor.Request(), editor.Ahead());
  if (RunBusy(task, LBL_GENERATING_PREVIEW, false)) {
    InstallPicture(index, std::move(task.picture));
    return;
  }
  // The picture never loaded: the editor must not go on showing the one
  // before under this picture's name, where a save would write it.
  InstallPicture(index, nullptr);
  ReportError(LBL_IMAGE_LOAD_ERROR, path, MB_ICONERROR);
}

void OnShowImage(int index) {
  SetShowPending(false);
  // Never inside another operation; and only the selected item is shown,
  // whoever posted the message. The scope's end runs what waited for it.
  if (OperationRunning()) return;
  OperationScope operation;
  if (index < 0 || index != SelectionMark()) return;
  LoadListedPicture(index);
  FinishOperation(true);
}

void Navigate(int command) {
  const int targetIndex = TargetIndexOf(command);
  const bool saves = command == IDM_IMAGE_SAVE_BACK || command == IDM_IMAGE_SAVE_ONLY ||
                     command == IDM_IMAGE_SAVE_NEXT;
  if (!saves) {
    if (targetIndex < 0 || targetIndex >= ItemCount()) return;
    SelectListItem(targetIndex);
    LoadListedPicture(targetIndex);
    FinishOperation(true);
    return;
  }
  Editor& editor = PictureEditor();
  if (!editor.HasImage()) return;
  PathBuffer target = L"";
  if (!ChooseTargetPath(target)) return;
  const Options& settings = Settings().options;
  const SaveOptions options = {settings.DestinationFolder, settings.CopyImageExifTags,
                               settings.TurnImagesUpright};
  const int saved = SelectionMark();
  PathBuffer next = L"";
  if (targetIndex != -1) ListItemPath(targetIndex, next);
  LosslessCut lossless;
  std::unique_ptr<SaveTask> task;
  if (editor.LosslessSource(lossless.file)) {
    lossless.frame = editor.Crop();
    task = RunSave(std::make_unique<SaveTask>(GdiBitmap{}, &lossless, target, options, next,
                                              editor.Request(), editor.Ahead()),
                   target);
  }
  if (task == nullptr || task->refused) {
    if (task != nullptr) SetStatusText(LabelText(LBL_LOSSLESS_REFUSED), STATUS_FILE_NAME);
    GdiBitmap crop;
    {
      WaitCursor cutting;
      crop = CutCrop(editor.Image(), editor.Crop(), options, LastError());
    }
    if (!crop) {
      FinishOperation(false);
      return;
    }
    task = RunSave(std::make_unique<SaveTask>(std::move(crop), nullptr, target, options, next,
                                              editor.Request(), editor.Ahead()),
                   target);
  }
  if (task->succeeded) {
    MarkIfDone(saved);
    if (next[0] != L'\0') {
      SelectListItem(targetIndex);
      InstallPicture(targetIndex, std::move(task->picture));
    }
  }
  FinishOperation(task->succeeded);
}

void ToggleViewOnly() {
  const bool viewOnly = !Settings().options.ViewOnlyImages;
  {
    WaitCursor wait;
    SetViewOnlyImages(viewOnly);
    ApplyEditorOptions();
    CheckCommand(IDM_IMAGE_VIEW_ONLY, Settings().options.ViewOnlyImages);
    // Enabling again sets the button's check from the menu's.
    Enable({IDM_IMAGE_VIEW_ONLY, IDC_TB_VIEW_ONLY}, IsCommandEnabled(IDM_IMAGE_VIEW_ONLY));
    const bool editing = !Settings().options.ViewOnlyImages;
    EnableSaveCommands(editing, editing && IsCommandEnabled(IDM_IMAGE_MOVE_BACK), editing,
                       editing && IsCommandEnabled(IDM_IMAGE_MOVE_NEXT));
    // A picture loaded while the selection was hidden gets its rules now.
    if (editing) PictureEditor().RefreshSelection();
  }
  FinishOperation(true);
}

void ToggleKeepFrame() {
  SetKeepFrame(!Settings().options.KeepFrame);
  ApplyEditorOptions();
  CheckCommand(IDM_IMAGE_KEEP_FRAME, Settings().options.KeepFrame);
  EnableCommand(true, IDM_IMAGE_KEEP_FRAME, IDC_TB_KEEP_FRAME);
}

void ShowEditorStatus() {
  const Editor& editor = PictureEditor();
  const Size size = editor.ImageSize();
  if (!editor.HasImage()) {
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
  const Rect crop = editor.Crop();
  std::swprintf(text, std::size(text), L"%d x %d   (%d, %d)", crop.width, crop.height, crop.x,
                crop.y);
  SetStatusText(text, STATUS_SELECTION);
}

void FinishOperation(bool disableWhenEmpty) {
  PictureEditor().SetReady();
  InvalidateRect(EditorPane(), nullptr, FALSE);
  ErrorReport& report = LastError();
  if (report.label == -1) {
    ShowEditorStatus();
  } else {
    ShowMessage(MainWindow(), FormatMessageLabel(report.label, report.argument),
                MB_OK | report.icon);
    ClearError();
  }
  if (disableWhenEmpty && !PictureEditor().HasImage()) EnableSaveCommands(false, false, false, false);
}
