#include "app/file_list.h"

#include <commctrl.h>
#include <shlobj.h>

#include "base/colours.h"
#include "base/text.h"
#include "files/done_marks.h"
#include "files/thumbnail_rules.h"

namespace {

constexpr DWORD HOVER_STYLES = LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT;

constexpr int HINT_MARGIN = 6;

struct FileListState {
  WNDPROC listViewProc = nullptr;
  TextBuffer hint = L"";
  int hintCommand = 0;
  RECT hintPlace = {};  // where it was drawn last
};

FileListState g_fileList;

// A click on empty space must not clear the selection: the selected item is
// the picture being edited.
bool HitsNoItem(HWND list, LPARAM clientPoint) {
  LVHITTESTINFO hit = {};
  hit.pt = {static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
  return SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == -1;
}

bool ShowsHint(HWND list) {
  return g_fileList.hint[0] != L'\0' && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0;
}

bool OnHint(HWND list, POINT point) {
  return ShowsHint(list) && PtInRect(&g_fileList.hintPlace, point);
}

// The hint at the top of the empty list, wrapped to its width, in the
// colour of a link.
void DrawHint(HWND list) {
  if (!ShowsHint(list)) return;
  RECT place;
  GetClientRect(list, &place);
  InflateRect(&place, -HINT_MARGIN, -HINT_MARGIN);
  const HDC dc = GetDC(list);
  const HGDIOBJ font =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  SetTextColor(dc, LINK_COLORREF);
  SetBkMode(dc, TRANSPARENT);
  constexpr UINT FORMAT = DT_WORDBREAK | DT_NOPREFIX | DT_CENTER;
  DrawTextW(dc, g_fileList.hint, -1, &place, FORMAT | DT_CALCRECT);
  DrawTextW(dc, g_fileList.hint, -1, &place, FORMAT);
  g_fileList.hintPlace = place;
  SelectObject(dc, font);
  ReleaseDC(list, dc);
}

LRESULT CALLBACK FileListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_PAINT: {
      const LRESULT painted =
          CallWindowProcW(g_fileList.listViewProc, list, message, wParam, lParam);
      DrawHint(list);
      return painted;
    }
    case WM_SIZE:
      if (ShowsHint(list)) InvalidateRect(list, nullptr, TRUE);  // it wraps anew
      break;
    case WM_SETCURSOR: {
      POINT cursor;
      GetCursorPos(&cursor);
      ScreenToClient(list, &cursor);
      if (LOWORD(lParam) == HTCLIENT && OnHint(list, cursor)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(list);
      if (OnHint(list, point)) {
        PostMessageW(GetParent(list), WM_COMMAND, static_cast<WPARAM>(g_fileList.hintCommand), 0);
      }
      if (HitsNoItem(list, lParam)) return 0;
      break;
    case WM_RBUTTONDOWN:
      // The list view would select the item under the mouse, which would
      // change the picture being edited.
      SetFocus(list);
      return 0;
    case WM_RBUTTONUP:
      // The system turns the release into WM_CONTEXTMENU for the main window.
      return DefWindowProcW(list, message, wParam, lParam);
    case WM_DESTROY:
      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_fileList.listViewProc));
      break;
  }
  return CallWindowProcW(g_fileList.listViewProc, list, message, wParam, lParam);
}

}  // namespace

bool AttachFileList(HWND list) {
  g_fileList.listViewProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FileListProc)));
  return g_fileList.listViewProc != nullptr;
}

void ApplyExplorerClickStyle(HWND list) {
  SHELLFLAGSTATE shell = {};
  SHGetSettings(&shell, SSF_DOUBLECLICKINWEBVIEW);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, HOVER_STYLES,
               shell.fDoubleClickInWebView ? 0 : HOVER_STYLES);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  if (static_cast<COLORREF>(SendMessageW(list, LVM_GETBKCOLOR, 0, 0)) != window) {
    SendMessageW(list, LVM_SETBKCOLOR, 0, window);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
  }
}

void MarkListItemDone(HWND list, HIMAGELIST thumbnails, int index) {
  LVITEMW item = {};
  item.mask = LVIF_IMAGE | LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ||
      item.lParam == ITEM_MARKED_DONE || item.iImage < 0) {
    return;
  }
  // The tile is drawn out of the image list, marked and put back.
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = THUMBNAIL_TILE_SIZE;
  info.bmiHeader.biHeight = -THUMBNAIL_TILE_SIZE;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP tile = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC dc = CreateCompatibleDC(nullptr);
  bool drawn = false;
  if (tile != nullptr && dc != nullptr) {
    const HGDIOBJ old = SelectObject(dc, tile);
    drawn = ImageList_Draw(thumbnails, item.iImage, dc, 0, 0, ILD_NORMAL) != FALSE;
    SelectObject(dc, old);
  }
  if (dc != nullptr) DeleteDC(dc);
  if (drawn) {
    DrawDoneMark(tile);
    if (ImageList_Replace(thumbnails, item.iImage, tile, nullptr)) {
      item.mask = LVIF_PARAM;
      item.lParam = ITEM_MARKED_DONE;
      SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
      SendMessageW(list, LVM_REDRAWITEMS, index, index);
    }
  }
  if (tile != nullptr) DeleteObject(tile);
}

void SetFileListHint(HWND list, const wchar_t* text, int command) {
  CopyText(g_fileList.hint, text);
  g_fileList.hintCommand = command;
  InvalidateRect(list, nullptr, TRUE);
}
