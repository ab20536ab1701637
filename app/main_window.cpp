#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/app.h"
#include "app/bars.h"
#include "app/command_table.h"
#include "app/commands.h"
#include "app/file_list.h"
#include "app/layout.h"
#include "app/layout_rules.h"
#include "app/menu_captions.h"
#include "app/navigation.h"
#include "app/open_folder.h"
#include "app/shell_menu.h"
#include "app/startup_rules.h"
#include "app/taskbar_progress.h"
#include "app/busy_dialog.h"
#include "app/operation.h"
#include "base/colours.h"
#include "base/product.h"
#include "editor/editor.h"
#include "base/background_work.h"
#include "files/folder_monitor.h"
#include "files/thumbnail_rules.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/labels.h"

namespace {

// Both panes are list views: the list of tiles, and the editor, which
// takes the list's frame and keyboard handling and draws everything else.
constexpr DWORD FILE_LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_ICON |
                                  LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SORTASCENDING;
constexpr DWORD EDITOR_PANE_STYLE =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_NOSCROLL;
constexpr int FOLDER_MENU_POSITION = 2;
constexpr int IMAGE_MENU_POSITION = 3;

struct MainWindowState {
  HWND window = nullptr;
  HWND fileList = nullptr;
  HWND editorPane = nullptr;
  HIMAGELIST thumbnails = nullptr;
  HACCEL accelerators = nullptr;
  HWND focusPane = nullptr;
  Editor editor;
};

MainWindowState g_main;

// A part of the window that View can hide: its bit, control and menu item.
struct HideablePart {
  uint32_t bit;
  int control;
  int menuItem;
};

constexpr HideablePart kHideableParts[] = {
    {HIDDEN_TOOLBAR, IDC_REBAR, IDM_VIEW_TOOLBAR},
    {HIDDEN_STATUS_BAR, IDC_STATUSBAR, IDM_VIEW_STATUSBAR},
    {HIDDEN_FILE_LIST, IDC_FILE_LIST, IDM_VIEW_FILES},
};

// The pane that takes the focus: the file list only while it is shown.
HWND FocusPane() {
  const HWND pane = g_main.focusPane;
  if (pane == g_main.fileList && !IsWindowVisible(pane)) return g_main.editorPane;
  return pane != nullptr ? pane : g_main.editorPane;
}

void PlaceMainWindow() {
  const WindowLayout& layout = Settings().layout;
  InitSplitter(layout.MainSplitterPosition);
  RECT workArea = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  const WindowRect placed =
      PlaceOnWorkArea({layout.MainWindowLeft, layout.MainWindowTop, layout.MainWindowWidth,
                       layout.MainWindowHeight},
                      workArea.right - workArea.left, workArea.bottom - workArea.top);
  MoveWindow(g_main.window, placed.left, placed.top, placed.width, placed.height, FALSE);
}

void OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE || HIWORD(wParam) != 0) return;
  if (IsWindowEnabled(g_main.window)) {
    SetFocus(FocusPane());
    if (SourceChanged()) PostMessageW(g_main.window, WM_SOURCE_CHANGED, 0, 0);
  } else if (BusyDialog() != nullptr) {
    SetForegroundWindow(BusyDialog());
  }
}

void OnSettingsChanged(UINT message, WPARAM wParam, LPARAM lParam) {
  ApplyExplorerClickStyle(g_main.fileList);
  SetEditorBackground();
  LayoutMainWindow(message, wParam, lParam, false);
}

void OnThemeChanged(UINT message, WPARAM wParam, LPARAM lParam) {
  RebuildBars(g_main.window);
  ApplyHiddenParts();
  OnSettingsChanged(message, wParam, lParam);
}

// The panes' menus; anything else (the caption's system menu) is the
// system's. False when not handled.
bool OnContextMenu(HWND control, LPARAM point) {
  if (control == g_main.fileList) {
    Popup(point, control, FolderMenu());
  } else if (control == g_main.editorPane) {
    Popup(point, control, GetSubMenu(GetMenu(g_main.window), IMAGE_MENU_POSITION));
  } else {
    return false;
  }
  return true;
}

LRESULT OnNotify(NMHDR* header) {
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    info->hinst = nullptr;
    // The table entry outlives the notification.
    info->lpszText =
        const_cast<wchar_t*>(LabelText(ToolbarTooltipLabel(static_cast<int>(header->idFrom))));
  } else if (header->code == LVN_ITEMCHANGED && header->idFrom == IDC_FILE_LIST) {
    OnFileSelectionChanged(*reinterpret_cast<const NMLISTVIEW*>(header));
  } else if (header->code == NM_SETFOCUS &&
             (header->hwndFrom == g_main.fileList || header->hwndFrom == g_main.editorPane)) {
    g_main.focusPane = header->hwndFrom;
  } else if (header->code == EDITOR_CHANGED && header->hwndFrom == g_main.editorPane) {
    ShowEditorStatus();
  } else if (header->code == NM_DBLCLK && header->hwndFrom == g_main.editorPane) {
    RunShellMenuDefault();
  }
  return 0;
}

void OnDestroy() {
  DragAcceptFiles(g_main.window, FALSE);
  StopFolderMonitor();
  StopTiles();
  ReleaseTaskbarProgress();
  // GDI+ goes with the editor: a cancelled load's last decodes end first.
  WaitForBackgroundWork();
  ResetShellMenu();
  DestroyBarImageLists();
  // The list would destroy its image list too: it must let go first.
  SendMessageW(g_main.fileList, LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
  if (g_main.thumbnails != nullptr) ImageList_Destroy(g_main.thumbnails);
  g_main.thumbnails = nullptr;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A command that arrives during an operation is dropped before anything,
  // the picture's shell menu included, can run it.
  if (message == WM_COMMAND && OperationRunning()) return 0;
  // The picture's shell menu sees every message first, and answers some.
  LRESULT shellAnswer = 0;
  if (ShellMenuMessage(message, wParam, lParam, &shellAnswer)) return shellAnswer;
  switch (message) {
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SIZE:
      LayoutMainWindow(message, wParam, lParam, true);
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_CLOSE:
      RequestExitWhenIdle();
      return 0;
    case WM_QUERYENDSESSION:
      // A folder load stops now; the program may end once it has.
      CancelBusyTask();
      return TRUE;
    case WM_ENDSESSION:
      // The process ends when this returns: a save in progress finishes
      // first, a folder load stops.
      if (wParam != FALSE && OperationRunning()) {
        RequestExitWhenIdle();
        WaitForBusyWorker();
      }
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      OnSettingsChanged(message, wParam, lParam);
      return 0;
    case WM_THEMECHANGED:
      OnThemeChanged(message, wParam, lParam);
      return 0;
    case WM_SETCURSOR:
      if (OnSplitterSetCursor()) return TRUE;
      break;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {MIN_WINDOW_WIDTH, MIN_WINDOW_HEIGHT};
      return 0;
    }
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
      if (!OnContextMenu(reinterpret_cast<HWND>(wParam), lParam)) break;
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      OnSplitterButtonDown(lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnSplitterMouseMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      OnSplitterButtonUp();
      return 0;
    case WM_CAPTURECHANGED:
      CancelSplitterDrag();
      return 0;
    case WM_EXITSIZEMOVE:
      SaveWindowPlacement();
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_SHOW_IMAGE:
      OnShowImage(static_cast<int>(wParam));
      return 0;
    case WM_SOURCE_CHANGED:
      OnSourceChanged();
      return 0;
    case WM_BUILD_SHELL_MENU:
      BuildPendingShellMenu();
      return 0;
    case WM_TILES_READY:
      TakeReadyTiles();
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainWindowClass() {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_BYTEALIGNWINDOW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = AppInstance();
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(AppInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(AppInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
  windowClass.lpszClassName = MAIN_WINDOW_CLASS;
  return RegisterClassExW(&windowClass) != 0;
}

HWND CreatePane(DWORD style) {
  return CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, style, 0, 0, 0, 0, g_main.window,
                         nullptr, AppInstance(), nullptr);
}

// Everything inside the window; false at the first part that fails.
bool CreateChildren() {
  g_main.fileList = CreatePane(FILE_LIST_STYLE);
  g_main.editorPane = CreatePane(EDITOR_PANE_STYLE);
  g_main.thumbnails =
      ImageList_Create(THUMBNAIL_TILE_SIZE, THUMBNAIL_TILE_SIZE, ILC_COLOR32 | ILC_MASK, 0, 1);
  if (g_main.fileList == nullptr || g_main.editorPane == nullptr || g_main.thumbnails == nullptr ||
      !g_main.editor.Attach(g_main.editorPane)) {
    return false;
  }
  SendMessageW(g_main.fileList, LVM_SETIMAGELIST, LVSIL_NORMAL,
               reinterpret_cast<LPARAM>(g_main.thumbnails));
  SetWindowLongPtrW(g_main.fileList, GWLP_ID, IDC_FILE_LIST);
  SetWindowLongPtrW(g_main.editorPane, GWLP_ID, IDC_EDITOR_PANE);
  if (!AttachFileList(g_main.fileList)) return false;
  SendMessageW(g_main.fileList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_LABELTIP, LVS_EX_LABELTIP);
  ApplyExplorerClickStyle(g_main.fileList);
  ApplyEditorOptions();
  SetEditorBackground();
  DragAcceptFiles(g_main.window, TRUE);
  // The toolbar's check buttons take their state from the menu.
  CheckCommand(IDM_IMAGE_VIEW_ONLY, Settings().options.ViewOnlyImages);
  CheckCommand(IDM_IMAGE_KEEP_FRAME, Settings().options.KeepFrame);
  if (!RebuildBars(g_main.window)) return false;
  g_main.accelerators = LoadAcceleratorsW(AppInstance(), MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
  SetMenuCaptions();
  ApplyHiddenParts();
  PlaceMainWindow();
  return true;
}

}  // namespace

bool CreateMainWindow(const wchar_t* folder) {
  if (g_main.window != nullptr) return false;
  CopyText(SourceFolder(), folder);
  if (!RegisterMainWindowClass()) return false;
  g_main.window =
      CreateWindowExW(WS_EX_CONTROLPARENT, MAIN_WINDOW_CLASS, PRODUCT_NAME,
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, CW_USEDEFAULT,
                      CW_USEDEFAULT, 0, 0, nullptr, nullptr, AppInstance(), nullptr);
  if (g_main.window == nullptr || !CreateChildren()) {
    DestroyMainWindow();
    return false;
  }
  return true;
}

void ShowMainWindow() {
  // Showing activates the window, which gives the focus pane the focus.
  g_main.focusPane = g_main.editorPane;
  ShowWindow(g_main.window, Settings().layout.MainWindowMaximized ? SW_MAXIMIZE : SW_SHOW);
  UpdateWindow(g_main.window);
}

void DestroyMainWindow() {
  if (g_main.window != nullptr) DestroyWindow(g_main.window);
  UnregisterClassW(MAIN_WINDOW_CLASS, AppInstance());
  g_main.window = nullptr;
  g_main.fileList = nullptr;
  g_main.editorPane = nullptr;
  g_main.thumbnails = nullptr;
  g_main.accelerators = nullptr;
  g_main.focusPane = nullptr;
}

bool TranslateMainWindowMessage(MSG& message) {
  const HWND window = g_main.window;
  if (window == nullptr) return false;
  if (g_main.accelerators != nullptr && IsWindowEnabled(window) && !IsIconic(window) &&
      TranslateAcceleratorW(window, g_main.accelerators, &message)) {
    return true;
  }
  return IsDialogMessageW(window, &message) != FALSE;
}

HWND MainWindow() { return g_main.window; }
HWND FileList() { return g_main.fileList; }
HIMAGELIST Thumbnails() { return g_main.thumbnails; }
HWND EditorPane() { return g_main.editorPane; }
Editor& PictureEditor() { return g_main.editor; }

void ApplyEditorOptions() {
  const Options& options = Settings().options;
  EditorOptions editor;
  editor.ratioMode = options.ResizeRatioMode;
  editor.ratioWidth = options.ResizeRatioWidth;
  editor.ratioHeight = options.ResizeRatioHeight;
  editor.minimumWidth = options.MinimumImageWidth;
  editor.minimumHeight = options.MinimumImageHeight;
  editor.viewOnly = options.ViewOnlyImages;
  editor.keepFrame = options.KeepFrame;
  editor.enhancedSelection = options.EnhancedSelection;
  editor.systemColour = options.EditorSystemColor;
  editor.copySourceToTemp = options.CopySourceToTemp;
  editor.upright = options.TurnImagesUpright;
  editor.lossless = options.LosslessJpegCrop;
  g_main.editor.SetOptions(editor);
}
HMENU FolderMenu() { return GetSubMenu(GetMenu(g_main.window), FOLDER_MENU_POSITION); }
// System commands, the last item of the Image menu.
HMENU ImageShellMenu() {
  const HMENU image = GetSubMenu(GetMenu(g_main.window), IMAGE_MENU_POSITION);
  return GetSubMenu(image, GetMenuItemCount(image) - 1);
}

void ApplyHiddenParts() {
  // Disabling the list takes the focus from it: ask before.
  const bool listFocused = GetFocus() == g_main.fileList;
  const uint32_t hidden = Settings().layout.MainHiddenControls;
  for (const HideablePart& part : kHideableParts) {
    const bool shown = (hidden & part.bit) == 0;
    const HWND control = GetDlgItem(g_main.window, part.control);
    EnableWindow(control, shown);
    ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
    CheckMenuItem(GetMenu(g_main.window), static_cast<UINT>(part.menuItem),
                  MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
  }
  // A hidden list cannot keep the focus.
  if (listFocused && !IsWindowVisible(g_main.fileList)) SetFocus(g_main.editorPane);
}

void SetMenuCaptions() {
  CaptionMenu(GetMenu(g_main.window));
  SetStatusText(nullptr, -1);
  DrawMenuBar(g_main.window);
}

void EnableCommand(bool enabled, int menuId, int buttonId) {
  const HMENU menu = GetMenu(g_main.window);
  EnableMenuItem(menu, static_cast<UINT>(menuId),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  DrawMenuBar(g_main.window);
  const bool checked =
      (GetMenuState(menu, static_cast<UINT>(menuId), MF_BYCOMMAND) & MF_CHECKED) != 0;
  SendMessageW(Toolbar(), TB_CHECKBUTTON, buttonId, MAKELPARAM(enabled && checked, 0));
  SendMessageW(Toolbar(), TB_ENABLEBUTTON, buttonId, MAKELPARAM(enabled, 0));
}

void CheckCommand(int menuId, bool checked) {
  CheckMenuItem(GetMenu(g_main.window), static_cast<UINT>(menuId),
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool IsCommandEnabled(int menuId) {
  const UINT state = GetMenuState(GetMenu(g_main.window), static_cast<UINT>(menuId), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_GRAYED) == 0;
}

void SetEditorBackground() {
  const COLORREF colour = Settings().options.EditorSystemColor
                              ? GetSysColor(COLOR_WINDOW)
                              : RGB(DIM_GREY_LEVEL, DIM_GREY_LEVEL, DIM_GREY_LEVEL);
  SendMessageW(g_main.editorPane, LVM_SETBKCOLOR, 0, colour);
  RedrawWindow(g_main.editorPane, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
}
