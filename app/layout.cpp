#include "app/layout.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/bars.h"
#include "app/busy_dialog.h"
#include "app/layout_rules.h"
#include "app/main_window.h"
#include "settings/settings.h"

namespace {

struct LayoutState {
  int splitter = 0;
  bool dragging = false;
  int dragOffset = 0;
  int pressPosition = 0;
  Box area = {};  // what the bars leave, kept for the layouts of a drag
};

LayoutState g_layout;

bool IsShown(uint32_t hiddenBit) { return (Settings().layout.MainHiddenControls & hiddenBit) == 0; }

// The bars size themselves from the message; the rebar needs clipping of its
// children while it does.
void LayoutBars(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND rebar = Rebar();
  const LONG_PTR style = GetWindowLongPtrW(rebar, GWL_STYLE);
  SetWindowLongPtrW(rebar, GWL_STYLE, style | WS_CLIPCHILDREN);
  SendMessageW(Toolbar(), message, wParam, lParam);
  SendMessageW(rebar, message, wParam, lParam);
  SetWindowLongPtrW(rebar, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CLIPCHILDREN));
  SendMessageW(StatusBar(), message, wParam, lParam);
}

// The client area less the bars; false when there is no room at all.
bool MeasureArea(Box& area) {
  RECT client = {};
  // While the window is being made it is not known here yet.
  if (!GetClientRect(MainWindow(), &client)) return false;
  if (client.right - client.left <= 0 || client.bottom - client.top <= 0) return false;
  area = {client.left, client.top, client.right, client.bottom};
  if (IsShown(HIDDEN_TOOLBAR)) {
    REBARBANDINFOW band = {};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILDSIZE;
    SendMessageW(Rebar(), RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
    band.cyMinChild = static_cast<UINT>(ToolbarButtonHeight());
    SendMessageW(Rebar(), RB_SETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
    area.top += static_cast<int>(SendMessageW(Rebar(), RB_GETBARHEIGHT, 0, 0));
  }
  if (IsShown(HIDDEN_STATUS_BAR)) {
    RECT status;
    GetClientRect(StatusBar(), &status);
    SetStatusParts(status.right);
    area.bottom -= status.bottom;
  }
  return true;
}

void PlacePanes() {
  const bool listShown = IsShown(HIDDEN_FILE_LIST);
  const PaneLayout panes = ComputePaneLayout(g_layout.area, g_layout.splitter, listShown);
  g_layout.splitter = panes.splitter;
  const Box& editor = panes.editor;
  if (listShown) {
    const Box& list = panes.fileList;
    MoveWindow(FileList(), list.left, list.top, list.right - list.left, list.bottom - list.top,
               TRUE);
  }
  MoveWindow(EditorPane(), editor.left, editor.top, editor.right - editor.left,
             editor.bottom - editor.top, TRUE);
  if (listShown) SendMessageW(FileList(), LVM_ARRANGE, LVA_ALIGNLEFT, 0);
}

// After the system maximised or restored the window.
void KeepMaximizedState(WPARAM sizeType) {
  const HWND main = MainWindow();
  // Minimize in the busy dialog enables the window; restoring must not
  // leave it usable while the dialog is open.
  if (BusyDialog() != nullptr && IsWindowEnabled(main)) EnableWindow(main, FALSE);
  const bool maximized = sizeType == SIZE_MAXIMIZED;
  if (Settings().layout.MainWindowMaximized != maximized && IsWindowVisible(main)) {
    SetWindowMaximized(maximized);
  }
}

bool IsOverSplitter(POINT screen) {
  if (!IsWindowEnabled(MainWindow()) || !IsShown(HIDDEN_FILE_LIST)) return false;
  RECT list;
  GetWindowRect(FileList(), &list);
  return IsOnSplitter(screen.x - list.left, screen.y, g_layout.splitter, list.top, list.bottom);
}

void EndDrag() {
  g_layout.dragging = false;
  ReleaseCapture();
}

}  // namespace

void InitSplitter(int position) { g_layout.splitter = position; }

void LayoutMainWindow(UINT message, WPARAM wParam, LPARAM lParam, bool fromSystem) {
  if (!g_layout.dragging) LayoutBars(message, wParam, lParam);
  if (IsIconic(MainWindow())) return;
  if (!g_layout.dragging && !MeasureArea(g_layout.area)) return;
  PlacePanes();
  if (fromSystem && message == WM_SIZE && (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED)) {
    KeepMaximizedState(wParam);
  }
}

void Relayout() {
  RECT client = {};
  if (!GetClientRect(MainWindow(), &client)) return;
  LayoutMainWindow(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom), false);
}

bool OnSplitterSetCursor() {
  POINT cursor;
  if (!GetCursorPos(&cursor) || !IsOverSplitter(cursor)) return false;
  SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
  return true;
}

bool OnSplitterButtonDown(LPARAM clientPoint) {
  POINT point = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
  const int x = point.x;
  ClientToScreen(MainWindow(), &point);
  if (!IsOverSplitter(point)) return false;
  g_layout.dragging = true;
  g_layout.dragOffset = x - g_layout.splitter;
  g_layout.pressPosition = g_layout.splitter;
  SetCapture(MainWindow());
  SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
  return true;
}

bool OnSplitterMouseMove(LPARAM clientPoint) {
  if (!g_layout.dragging) return false;
  g_layout.splitter = GET_X_LPARAM(clientPoint) - g_layout.dragOffset;
  Relayout();
  return true;
}

bool OnSplitterButtonUp() {
  if (!g_layout.dragging) return false;
  EndDrag();
  SetSplitterPosition(g_layout.splitter);
  return true;
}

bool CancelSplitterDrag() {
  if (!g_layout.dragging) return false;
  EndDrag();
  g_layout.splitter = g_layout.pressPosition;
  Relayout();
  return true;
}

void SaveWindowPlacement() {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(MainWindow(), &placement)) return;
  const RECT& normal = placement.rcNormalPosition;
  SetWindowRect(normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top);
}
