#include "app/open_folder.h"

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <iterator>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/bars.h"
#include "app/busy_dialog.h"
#include "app/file_list.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/operation.h"
#include "app/shell_menu.h"
#include "app/taskbar_progress.h"
#include "base/background_work.h"
#include "base/folder_entries.h"
#include "base/product.h"
#include "base/win_text.h"
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

// A listed picture, found by the walk.
struct ListedPicture {
  std::wstring name;
  bool done;  // its crop is in the destination
};

// The tiles being made for the list, and what the window needs of them.
struct TileState {
  std::shared_ptr<TileQueue> queue;
  HBITMAP placeholder = nullptr;  // a grey tile, until a picture's own is in
};

TileState g_tiles;

DoneNames ListDestination(const wchar_t* destination, const wchar_t* folder) {
  DoneNames names;
  names.Read(destination, folder);
  return names;
}

DoneLister g_listDone = ListDestination;

// Which pictures the options list, and which way up.
TileRules ListingRules(const Options& options) {
  return {options.MinimumImageWidth, options.MinimumImageHeight, options.TurnImagesUpright,
          options.ListMoreFormats};
}

// The names of the destination's files, listed beside the walk: a slow
// network folder must not keep Cancel waiting.
std::future<DoneNames> ListDoneNames(DoneLister list, const wchar_t* destination,
                                     const wchar_t* folder) {
  auto promise = std::make_shared<std::promise<DoneNames>>();
  std::future<DoneNames> names = promise->get_future();
  std::wstring from = destination;
  std::wstring source = folder;
  if (!StartBackgroundWork([promise, from, source, list] {
        promise->set_value(list(from.c_str(), source.c_str()));
      })) {
    promise->set_value(DoneNames{});
  }
  return names;
}

// The walk and the first picture's decode, on the worker, from what the
// window thread handed over when it started. The names and the picture
// come back as values; the tiles come afterwards.
class FolderLoadTask final : public BusyTask {
 public:
  FolderLoadTask(const wchar_t* folder, const wchar_t* reselect, const Options& options,
                 const DecodeRequest& request)
      : rules_(ListingRules(options)), request_(request) {
    CopyText(folder_, folder);
    CopyText(reselect_, reselect);
    CopyText(destination_, options.DestinationFolder);
  }

  void Run(BusyReport& report) override {
    report_ = &report;
    found = PathIsDirectoryW(folder_) != FALSE;
    if (!found) return;
    std::future<DoneNames> done = ListDoneNames(listDone_, destination_, folder_);
    const std::shared_ptr<PendingDecode> ahead = DecodeFirstAhead(report);
    for (std::wstring& name :
         ListFolderPictures(folder_, rules_, &report.CancelFlag(), ShowProgress, this, &leftOut)) {
      pictures.push_back({std::move(name), false});
    }
    MarkDone(done, report);
    if (pictures.empty()) return;
    report.Step(LBL_GENERATING_PREVIEW);
    // What the list will show first: the picture to select again, or the
    // first by name.
    const ListedPicture* first = &pictures.front();
    for (const ListedPicture& listed : pictures) {
      if (reselect_[0] != L'\0' && SameTextIgnoreCase(listed.name.c_str(), reselect_)) {
        first = &listed;
        break;
      }
      if (lstrcmpiW(listed.name.c_str(), first->name.c_str()) < 0) first = &listed;
    }
    PathBuffer path;
    if (PathCombineW(path, folder_, first->name.c_str()) == nullptr) return;
    shown = first->name;
    picture = TakeOrDecode(path, request_, ahead);
  }

  bool found = false;
  std::vector<ListedPicture> pictures;
  LeftOut leftOut;     // the pictures the options do not list
  std::wstring shown;  // whose picture `picture` is
  std::unique_ptr<DecodedPicture> picture;

 private:
  static void ShowProgress(int done, int found, void* context) {
    static_cast<FolderLoadTask*>(context)->report_->Progress(done, found);
  }

  // The picture the load will most likely show, the one to select again or
  // the first by name, is decoded alongside the tiles.
  std::shared_ptr<PendingDecode> DecodeFirstAhead(const BusyReport& report) {
    struct First {
      PathBuffer least = L"";
      bool moreFormats;
    } first = {L"", rules_.moreFormats};
    if (reselect_[0] == L'\0' || !CopyText(first.least, reselect_)) {
      ForEachFileInFolder(
          folder_,
          [](const wchar_t*, const wchar_t* fileName, void* context) {
            auto& seen = *static_cast<First*>(context);
            if (IsPictureFileName(fileName, seen.moreFormats) &&
                (seen.least[0] == L'\0' || lstrcmpiW(fileName, seen.least) < 0)) {
              CopyText(seen.least, fileName);
            }
          },
          &first, &report.CancelFlag());
    }
    PathBuffer path;
    if (first.least[0] == L'\0' || PathCombineW(path, folder_, first.least) == nullptr) {
      return nullptr;
    }
    return PendingDecode::Start(path, request_);
  }

  // The pictures whose crop is in the destination get their mark, once the
  // destination's listing is in; after a Cancel it is not waited for.
  void MarkDone(std::future<DoneNames>& done, const BusyReport& report) {
    constexpr auto POLL = std::chrono::milliseconds(10);
    while (done.wait_for(POLL) != std::future_status::ready) {
      if (report.Cancelled()) return;
    }
    const DoneNames names = done.get();
    for (ListedPicture& listed : pictures) listed.done = names.Contains(listed.name.c_str());
  }

  PathBuffer folder_ = L"";
  PathBuffer reselect_ = L"";
  PathBuffer destination_ = L"";
  TileRules rules_;
  DecodeRequest request_;
  DoneLister listDone_ = g_listDone;
  BusyReport* report_ = nullptr;
};

// The walk's pictures go into the list in one go, each with a place of its
// own in the image list that holds a grey tile until its tile is in.
void FillList(const std::vector<ListedPicture>& pictures) {
  const HWND list = FileList();
  if (g_tiles.placeholder == nullptr) g_tiles.placeholder = MakeEmptyTile();
  // Grown once: an image list grown by each image copies all it holds.
  const HIMAGELIST thumbnails = Thumbnails();
  int slot = ImageList_GetImageCount(thumbnails);
  if (!ImageList_SetImageCount(thumbnails, static_cast<UINT>(slot + std::ssize(pictures)))) return;
  for (const ListedPicture& listed : pictures) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = INT_MAX;  // the sorted list puts it in its place
    item.pszText = const_cast<wchar_t*>(listed.name.c_str());
    item.iImage = slot++;
    if (!ImageList_Replace(thumbnails, item.iImage, g_tiles.placeholder, nullptr)) continue;
    const auto index =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (listed.done && index != -1) MarkListItemDone(list, thumbnails, index);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

// Shows how many tiles are in, on the status bar and the taskbar button;
// nothing once they all are.
void ShowTileProgress() {
  const size_t count = g_tiles.queue != nullptr ? g_tiles.queue->Count() : 0;
  const size_t made = g_tiles.queue != nullptr ? g_tiles.queue->Made() : 0;
  if (made >= count) {
    ShowStatusProgress(nullptr);
    ShowTaskbarProgress(MainWindow(), 0, 0);
    return;
  }
  wchar_t progress[32];
  std::swprintf(progress, std::size(progress), L"%zu / %zu", made, count);
  ShowStatusProgress(FormatMessageLabel(LBL_THUMBNAILS_PROGRESS, progress));
  ShowTaskbarProgress(MainWindow(), made, count);
}

// The tiles of the listed pictures, made in the list's order.
void StartTiles(const TileRules& rules) {
  const HWND list = FileList();
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  std::vector<std::wstring> paths;
  for (int index = 0; index < count; ++index) {
    PathBuffer path;
    ListItemPath(index, path);
    paths.emplace_back(path);
  }
  if (count > 0)
    g_tiles.queue = TileQueue::Start(std::move(paths), rules, MainWindow(), WM_TILES_READY);
  ShowTileProgress();
}

// The item to show: the one to select again when it is listed, otherwise
// the first. -1 for an empty list.
int FirstIndex(const wchar_t* reselect) {
  const HWND list = FileList();
  if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0) return -1;
  if (reselect[0] == L'\0') return 0;
  LVFINDINFOW find = {};
  find.flags = LVFI_STRING;
  find.psz = reselect;
  const auto match = static_cast<int>(
      SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  return match != -1 ? match : 0;
}

void ShowFolderInTitle(const wchar_t* folder) {
  TextBuffer title = L"";
  if (!CopyText(title, PRODUCT_NAME) || !AppendText(title, L" - ") || !AppendText(title, folder)) {
    CopyText(title, PRODUCT_NAME);
  }
  SetWindowTextW(MainWindow(), title);
}

// What the list showed goes; the commands that need a picture are greyed.
void ClearFolder(const wchar_t* folder) {
  StopTiles();
  SetStatusText(nullptr, STATUS_FILE_NAME);
  SetStatusText(nullptr, STATUS_POSITION);
  PictureEditor().Show(nullptr);
  PictureEditor().DecodeAhead(nullptr);
  ResetShellMenu();
  StopFolderMonitor();
  ShowFolderInTitle(folder);
  EnableCommand(true, IDM_FOLDER_REFRESH, IDC_TB_REFRESH_SOURCE);
  const HWND list = FileList();
  // The list is drawn once, when the walk is over: drawing every new tile
  // would take the time of the decoding thread on a busy machine.
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  SetFileListHint(list, L"", 0);
  ImageList_Remove(Thumbnails(), -1);
  GreyImageCommands();
}

}  // namespace

void LoadSourceFolder(const wchar_t* folder, const wchar_t* reselect) {
  OperationScope operation;
  PathBuffer copy;
  PathBuffer again;
  // The caller's texts may be the source folder and the list's own.
  if (!CopyText(copy, folder) || !CopyText(again, reselect)) return;
  CopyText(SourceFolder(), copy);
  ClearFolder(copy);
  const Options& options = Settings().options;
  FolderLoadTask task(copy, again, options, PictureEditor().Request());
  const bool ran = RunBusy(task, LBL_LOADING_FOLDER, true);
  FillList(task.pictures);
  if (task.pictures.empty()) {
    TextBuffer hint;
    DescribeLeftOut(task.leftOut, LabelText(LBL_NOT_LISTED_ONE), LabelText(LBL_NOT_LISTED),
                    LabelText(LBL_BELOW_MINIMUM_SIZE), hint);
    SetFileListHint(FileList(), hint, IDM_FILE_OPTIONS_FOLDERS);
  }
  if (ran && !task.found) {
    ShowLabelMessage(MainWindow(), LBL_FOLDER_NOT_FOUND, copy, MB_OK | MB_ICONWARNING);
    return;
  }
  const int index = FirstIndex(again);
  EnableCommand(index != -1, IDM_IMAGE_VIEW_ONLY, IDC_TB_VIEW_ONLY);
  if (index != -1) {
    SelectListItem(index);
    PathBuffer name;
    // Without the list's order, the walk may have decoded another picture.
    if (ListItemText(index, name) && task.picture != nullptr &&
        SameTextIgnoreCase(name, task.shown.c_str())) {
      InstallPicture(index, std::move(task.picture));
    } else {
      LoadListedPicture(index);
    }
  }
  // Without a worker nothing was listed: the empty list says so.
  FinishOperation(true);
  WatchSourceFolder();
  StartTiles(ListingRules(options));
}

void TakeReadyTiles() {
  if (g_tiles.queue == nullptr) return;
  const HWND list = FileList();
  // Asked before taking: a tile made after the last take is told again.
  const bool last = g_tiles.queue->Made() >= g_tiles.queue->Count();
  for (const auto& [index, tile] : g_tiles.queue->Take()) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(index);
    if (tile != nullptr && SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
      if (item.lParam == ITEM_MARKED_DONE) DrawDoneMark(tile);
      ImageList_Replace(Thumbnails(), item.iImage, tile, nullptr);
      SendMessageW(list, LVM_REDRAWITEMS, item.iItem, item.iItem);
    }
    if (tile != nullptr) DeleteObject(tile);
  }
  if (last) g_tiles.queue = nullptr;
  ShowTileProgress();
}

bool TilesPending() { return g_tiles.queue != nullptr; }

void StopTiles() {
  if (g_tiles.queue != nullptr) g_tiles.queue->Stop();
  g_tiles.queue = nullptr;
  ShowTileProgress();
  if (g_tiles.placeholder != nullptr) DeleteObject(g_tiles.placeholder);
  g_tiles.placeholder = nullptr;
}

void SetDoneLister(DoneLister lister) { g_listDone = lister != nullptr ? lister : ListDestination; }

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
