#include "files/folder_load.h"

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <climits>

#include "app/app.h"
#include "app/bars.h"
#include "app/busy_dialog.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/product.h"
#include "editor/editor.h"
#include "editor/gdiplus_objects.h"
#include "files/folder_monitor.h"
#include "files/thumbnail_rules.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/labels.h"
#include "ui/message_box.h"
#include "ui/text.h"

namespace {

constexpr ARGB TILE_GREY = 0xFF696969;
constexpr ARGB HBITMAP_BACKGROUND = 0x00FFFFFF;
// PathAddBackslashW may write one unit past a full path; "*" takes one more.
constexpr std::size_t PATTERN_CAPACITY = PATH_CAPACITY + 2;
constexpr int FILE_NAME_PART = 0;
constexpr int POSITION_PART = 1;

// The commands that need a current picture; greyed while a folder loads.
struct Command {
  int menu;
  int button;
};

constexpr Command kImageCommands[] = {
    {IDM_IMAGE_MOVE_FIRST, IDC_TB_MOVE_FIRST}, {IDM_IMAGE_MOVE_BACK, IDC_TB_MOVE_BACK},
    {IDM_IMAGE_MOVE_NEXT, IDC_TB_MOVE_NEXT},   {IDM_IMAGE_MOVE_LAST, IDC_TB_MOVE_LAST},
    {IDM_IMAGE_ROTATE, IDC_TB_ROTATE},         {IDM_IMAGE_SAVE_BACK, IDC_TB_SAVE_BACK},
    {IDM_IMAGE_SAVE_ONLY, IDC_TB_SAVE_ONLY},   {IDM_IMAGE_SAVE_NEXT, IDC_TB_SAVE_NEXT},
};

// The steps of the load that change state the user-interface thread also
// uses: menus, the busy dialog's buttons, and the thumbnail list, which the
// file list paints from while the walk appends to it (an image list is not
// made for two threads at once). The worker sends them to a message window of the load, so that
// they run on the user-interface thread like the messages it sends to controls.
enum LoadStep : UINT {
  STEP_ENABLE_COMMAND = WM_USER,  // wParam: enabled; lParam: menu ID, button ID
  STEP_CLEAR_LIST,
  STEP_ADD_THUMBNAIL,  // lParam: the tile's HBITMAP; result: its index or -1
  STEP_DROP_CANCEL,
};

constexpr const wchar_t* STEP_WINDOW_CLASS = L"Bluecrane.Trimlet.FolderLoad";

struct LoadState {
  bool folderFound = false;
  std::atomic<bool> cancel{false};
  HWND stepWindow = nullptr;
};

LoadState g_load;

void ClearFileList() {
  const HWND list = FileList();
  LockWindowUpdate(list);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  ImageList_Remove(Thumbnails(), -1);
  LockWindowUpdate(nullptr);
}

LRESULT RunStep(UINT step, WPARAM wParam, LPARAM lParam) {
  switch (step) {
    case STEP_ENABLE_COMMAND:
      EnableCommand(wParam != 0, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case STEP_CLEAR_LIST:
      ClearFileList();
      return 0;
    case STEP_ADD_THUMBNAIL:
      return ImageList_Add(Thumbnails(), reinterpret_cast<HBITMAP>(lParam), nullptr);
    case STEP_DROP_CANCEL:
      DropCancel();
      return 0;
  }
  return 0;
}

LRESULT CALLBACK StepWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= STEP_ENABLE_COMMAND && message <= STEP_DROP_CANCEL) {
    return RunStep(message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateStepWindow() {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = StepWindowProc;
  windowClass.hInstance = AppInstance();
  windowClass.lpszClassName = STEP_WINDOW_CLASS;
  // Registered by the first load; later registrations fail harmlessly.
  RegisterClassExW(&windowClass);
  return CreateWindowExW(0, STEP_WINDOW_CLASS, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         AppInstance(), nullptr);
}

// Outside a load the caller is the user-interface thread and runs the step
// itself; so does the worker in the rare load whose window could not be made.
LRESULT OnUiThread(LoadStep step, WPARAM wParam = 0, LPARAM lParam = 0) {
  if (g_load.stepWindow == nullptr) return RunStep(step, wParam, lParam);
  return SendMessageW(g_load.stepWindow, step, wParam, lParam);
}

void EnableOnUiThread(bool enabled, int menu, int button) {
  OnUiThread(STEP_ENABLE_COMMAND, enabled, MAKELPARAM(menu, button));
}

// The grey tile with the thumbnail drawn unscaled in its place, as a bitmap
// handle; a thumbnail that cannot be made leaves the tile grey.
HBITMAP DrawTile(GdiBitmap& image, const Rect& place) {
  GdiBitmap tile = GdiBitmap::Create(THUMBNAIL_TILE_SIZE, THUMBNAIL_TILE_SIZE);
  if (!tile) return nullptr;
  {
    GdiGraphics graphics(tile);
    graphics.Clear(TILE_GREY);
    // GDI+ reads a zero size as "its own default size".
    if (place.width > 0 && place.height > 0) {
      GdiBitmap thumbnail = image.Thumbnail(place.width, place.height);
      // With the size given, the picture's resolution cannot scale it.
      graphics.DrawImage(thumbnail, place.x, place.y, place.width, place.height);
    }
  }
  return tile.ToHbitmap(HBITMAP_BACKGROUND);
}

void AddFile(const wchar_t* folder, const wchar_t* fileName, void*) {
  if (!IsPictureFileName(fileName)) return;
  PathBuffer path;
  if (PathCombineW(path, folder, fileName) == nullptr) return;
  const int image = MakeThumbnail(path);
  if (image == -1) return;
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = INT_MAX;  // the sorted list puts it in its place
  item.pszText = const_cast<wchar_t*>(fileName);
  item.iImage = image;
  SendMessageW(FileList(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void ShowFolderInTitle() {
  TextBuffer title = L"";
  if (!CopyText(title, PRODUCT_NAME) || !AppendText(title, L" - ") ||
      !AppendText(title, SourceFolder())) {
    CopyText(title, PRODUCT_NAME);
  }
  SendMessageW(MainWindow(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title));
}

// After a refresh the file that was selected, when it is still listed.
int ItemToShow(HWND list) {
  const wchar_t* name = ReselectName();
  if (name[0] == L'\0') return 0;
  LVFINDINFOW find = {};
  find.flags = LVFI_STRING;
  find.psz = name;
  const int found = static_cast<int>(
      SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  return found != -1 ? found : 0;
}

// Runs on the busy dialog's worker; `argument` receives whether the folder
// exists.
void LoadFolderTask(void* argument) {
  bool& found = *static_cast<bool*>(argument);
  found = PathIsDirectoryW(SourceFolder()) != FALSE;
  StartFolderMonitor(nullptr);
  ShowFolderInTitle();
  EnableOnUiThread(true, IDM_FOLDER_REFRESH, IDC_TB_REFRESH_SOURCE);
  OnUiThread(STEP_CLEAR_LIST);
  for (const Command& command : kImageCommands) {
    EnableOnUiThread(false, command.menu, command.button);
  }
  if (!found) return;

  // The list is drawn once, when the walk is over: drawing every new tile
  // would take the time of the decoding thread on a busy machine.
  SendMessageW(FileList(), WM_SETREDRAW, FALSE, 0);
  ForEachFileInFolder(SourceFolder(), AddFile, nullptr, &g_load.cancel);
  SendMessageW(FileList(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FileList(), nullptr, TRUE);
  // From here on nothing can be cancelled.
  SetBusyMessage(LBL_LOADING_FOLDER);
  OnUiThread(STEP_DROP_CANCEL);

  const HWND list = FileList();
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  EnableOnUiThread(count > 0, IDM_IMAGE_VIEW_ONLY, IDC_TB_VIEW_ONLY);
  if (count == 0) return;
  const int index = ItemToShow(list);
  LVITEMW selected = {};
  selected.stateMask = LVIS_SELECTED;
  selected.state = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&selected));
  // The busy dialog is open: the picture loads under it, while this waits.
  SendMessageW(MainWindow(), WM_SHOW_IMAGE, static_cast<WPARAM>(index), 0);
  StartFolderMonitor(SourceFolder());
}

}  // namespace

void LoadSourceFolder() {
  SetStatusText(nullptr, FILE_NAME_PART);
  SetStatusText(nullptr, POSITION_PART);
  LoadEditorImage(nullptr);
  g_load.cancel = false;
  g_load.folderFound = false;
  g_load.stepWindow = CreateStepWindow();
  const bool ran = RunBusy(LoadFolderTask, LBL_LOADING_FOLDER, &g_load.folderFound, &g_load.cancel);
  if (g_load.stepWindow != nullptr) DestroyWindow(g_load.stepWindow);
  g_load.stepWindow = nullptr;
  // Without a worker nothing was read and the list is as it was.
  if (!ran) return;
  if (g_load.folderFound) {
    FinishOperation(true);
  } else {
    ShowLabelMessage(MainWindow(), LBL_FOLDER_NOT_FOUND, SourceFolder(), MB_OK | MB_ICONWARNING);
  }
}

void ForEachFileInFolder(const wchar_t* folder, FolderEntryCallback callback, void* context,
                         const std::atomic<bool>* cancel) {
  wchar_t pattern[PATTERN_CAPACITY] = L"";
  // An empty folder would make the pattern "*", the current folder.
  if (folder == nullptr || folder[0] == L'\0' || !CopyText(pattern, PATH_CAPACITY, folder)) return;
  if (PathAddBackslashW(pattern) == nullptr || !AppendText(pattern, L"*")) return;
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      callback(folder, entry.cFileName, context);
    }
  } while (FindNextFileW(search, &entry) && (cancel == nullptr || !cancel->load()));
  FindClose(search);
}

int MakeThumbnail(const wchar_t* path) {
  HBITMAP tile = nullptr;
  {
    GdiBitmap image = GdiBitmap::FromFile(path);
    if (!image) return -1;
    const uint32_t width = image.Width();
    const uint32_t height = image.Height();
    const Options& options = Settings().options;
    if (width < options.MinimumImageWidth || height < options.MinimumImageHeight) return -1;
    tile = DrawTile(image, PlaceThumbnail(width, height));
  }
  // The picture is released here: the file is not held open.
  if (tile == nullptr) return -1;
  const int index =
      static_cast<int>(OnUiThread(STEP_ADD_THUMBNAIL, 0, reinterpret_cast<LPARAM>(tile)));
  DeleteObject(tile);
  return index;
}
