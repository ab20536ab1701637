#include "app/open_folder.h"

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <climits>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/bars.h"
#include "app/busy_dialog.h"
#include "app/file_list.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/shell_menu.h"
#include "base/product.h"
#include "editor/editor.h"
#include "files/folder_load.h"
#include "files/done_marks.h"
#include "files/folder_monitor.h"
#include "files/thumbnail_rules.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/labels.h"
#include "ui/message_box.h"

namespace {

// The walk runs on the worker; every change of the list and its thumbnails
// is handed to the user-interface thread.
class FolderLoadTask final : public BusyTask {
 public:
  FolderLoadTask(const wchar_t* folder, const wchar_t* reselect) : reselect_(reselect) {
    CopyText(folder_, folder);
  }

  void Run() override {
    found = PathIsDirectoryW(folder_) != FALSE;
    if (!found) return;
    DecodeFirstAhead();
    const Options& options = Settings().options;
    done_.Read(options.DestinationFolder, folder_);
    WalkFolderTiles(
        folder_, {options.MinimumImageWidth, options.MinimumImageHeight, options.TurnImagesUpright},
        &cancel, AddTile, this, ShowProgress);
    int index = -1;
    RunOnUiThread([this, &index] { index = ShowList(); });
    // The first picture loads under the same dialog, while this waits.
    if (index != -1) SendMessageW(MainWindow(), WM_SHOW_IMAGE, static_cast<WPARAM>(index), 0);
  }

  std::atomic<bool> cancel{false};
  bool found = false;

 private:
  static void AddTile(const wchar_t* fileName, HBITMAP tile, void* context) {
    const bool done = static_cast<FolderLoadTask*>(context)->done_.Contains(fileName);
    if (done) DrawDoneMark(tile);
    RunOnUiThread([fileName, tile, done] {
      LVITEMW item = {};
      item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
      item.iItem = INT_MAX;  // the sorted list puts it in its place
      item.pszText = const_cast<wchar_t*>(fileName);
      item.lParam = done ? ITEM_MARKED_DONE : 0;
      item.iImage = ImageList_Add(Thumbnails(), tile, nullptr);
      if (item.iImage != -1) {
        SendMessageW(FileList(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      }
    });
    DeleteObject(tile);
  }

  static void ShowProgress(int done, int found, void*) { SetBusyProgress(done, found); }

  // The picture the load will most likely show, the one to select again or
  // the first by name in the sorted list, is decoded alongside the tiles.
  void DecodeFirstAhead() const {
    PathBuffer first = L"";
    if (reselect_[0] == L'\0' || !CopyText(first, reselect_)) {
      ForEachFileInFolder(
          folder_,
          [](const wchar_t*, const wchar_t* fileName, void* context) {
            auto& least = *static_cast<PathBuffer*>(context);
            if (IsPictureFileName(fileName) &&
                (least[0] == L'\0' || lstrcmpiW(fileName, least) < 0)) {
              CopyText(least, fileName);
            }
          },
          &first, &cancel);
    }
    PathBuffer path;
    if (first[0] != L'\0' && PathCombineW(path, folder_, first) != nullptr) {
      PrefetchEditorImage(path);
    }
  }

  // The walk is over: the list is drawn, nothing can be cancelled any more,
  // and the picture to show is selected. Its index, or -1 for none.
  int ShowList() const {
    const HWND list = FileList();
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    SetBusyMessage(LBL_LOADING_FOLDER);
    DropCancel();
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EnableCommand(count > 0, IDM_IMAGE_VIEW_ONLY, IDC_TB_VIEW_ONLY);
    if (count == 0) return -1;
    int index = 0;
    if (reselect_[0] != L'\0') {
      LVFINDINFOW find = {};
      find.flags = LVFI_STRING;
      find.psz = reselect_;
      const auto match = static_cast<int>(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(&find)));
      if (match != -1) index = match;
    }
    SelectListItem(index);
    return index;
  }

  PathBuffer folder_ = L"";
  const wchar_t* reselect_;
  DoneNames done_;
};

void ShowFolderInTitle(const wchar_t* folder) {
  TextBuffer title = L"";
  if (!CopyText(title, PRODUCT_NAME) || !AppendText(title, L" - ") || !AppendText(title, folder)) {
    CopyText(title, PRODUCT_NAME);
  }
  SetWindowTextW(MainWindow(), title);
}

// What the list showed goes; the commands that need a picture are greyed.
void ClearFolder(const wchar_t* folder) {
  SetStatusText(nullptr, STATUS_FILE_NAME);
  SetStatusText(nullptr, STATUS_POSITION);
  LoadEditorImage(nullptr);
  ResetShellMenu();
  StopFolderMonitor();
  ShowFolderInTitle(folder);
  EnableCommand(true, IDM_FOLDER_REFRESH, IDC_TB_REFRESH_SOURCE);
  const HWND list = FileList();
  // The list is drawn once, when the walk is over: drawing every new tile
  // would take the time of the decoding thread on a busy machine.
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  ImageList_Remove(Thumbnails(), -1);
  GreyImageCommands();
}

}  // namespace

void LoadSourceFolder(const wchar_t* folder, const wchar_t* reselect) {
  PathBuffer copy;
  // The caller's text may be the source folder itself.
  if (!CopyText(copy, folder)) return;
  CopyText(SourceFolder(), copy);
  ClearFolder(copy);
  FolderLoadTask task(copy, reselect);
  const bool ran = RunBusy(task, LBL_LOADING_FOLDER, &task.cancel);
  SendMessageW(FileList(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FileList(), nullptr, TRUE);
  if (ran && !task.found) {
    ShowLabelMessage(MainWindow(), LBL_FOLDER_NOT_FOUND, copy, MB_OK | MB_ICONWARNING);
    return;
  }
  // Without a worker nothing was listed: the empty list says so.
  FinishOperation(true);
  WatchSourceFolder();
}

void WatchSourceFolder() {
  StopFolderMonitor();
  const HWND list = FileList();
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (!Settings().options.NotifySourceChanges || count == 0) return;
  std::vector<std::wstring> names;
  for (int index = 0; index < count; ++index) {
    PathBuffer name;
    ListItemText(index, name);
    names.emplace_back(name);
  }
  StartFolderMonitor(SourceFolder(), std::move(names), MainWindow(), WM_SOURCE_CHANGED);
}
