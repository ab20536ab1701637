#include "ui/link_control.h"

#include "base/colours.h"
#include "base/text.h"
#include "resources/resource.h"

namespace {

constexpr int LINK_CAPACITY = 7;
constexpr int ENTER_HOT_KEY = 1;

enum LinkFlag : unsigned { IN_USE = 1, HOVER = 2, FOCUS = 4 };

struct LinkRecord {
  HWND control = nullptr;
  HWND parent = nullptr;
  unsigned flags = 0;
  HFONT normalFont = nullptr;
  HFONT hoverFont = nullptr;
  DLGPROC parentProc = nullptr;
  WNDPROC controlProc = nullptr;
};

LinkRecord g_links[LINK_CAPACITY];

// A slot whose windows are gone is free again.
bool IsLive(const LinkRecord& link) {
  return (link.flags & IN_USE) != 0 && IsWindow(link.control) && IsWindow(link.parent);
}

LinkRecord* FindControl(HWND control) {
  for (LinkRecord& link : g_links) {
    if (IsLive(link) && link.control == control) return &link;
  }
  return nullptr;
}

LinkRecord* FindParent(HWND parent) {
  for (LinkRecord& link : g_links) {
    if (IsLive(link) && link.parent == parent) return &link;
  }
  return nullptr;
}

void SetLinkFont(LinkRecord& link, bool hover) {
  SendMessageW(link.control, WM_SETFONT,
               reinterpret_cast<WPARAM>(hover ? link.hoverFont : link.normalFont), FALSE);
  FitToText(link.control);
}

void ChangeFlags(LinkRecord& link, unsigned set, unsigned clear) {
  link.flags = (link.flags | set) & ~clear;
  InvalidateRect(link.control, nullptr, TRUE);
}

void Activate(const LinkRecord& link) {
  PostMessageW(link.parent, WM_LINK_ACTIVATED, static_cast<WPARAM>(GetDlgCtrlID(link.control)), 0);
}

LRESULT CALLBACK LinkProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  LinkRecord* link = FindControl(control);
  if (link == nullptr) return DefWindowProcW(control, message, wParam, lParam);
  const WNDPROC previous = link->controlProc;
  switch (message) {
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, control, 0};
      TrackMouseEvent(&track);
      if ((link->flags & HOVER) == 0) {
        SetLinkFont(*link, true);
        ChangeFlags(*link, HOVER, 0);
      }
      break;
    }
    case WM_MOUSELEAVE:
      if ((link->flags & HOVER) != 0) {
        SetLinkFont(*link, false);
        ChangeFlags(*link, 0, HOVER);
      }
      break;
    case WM_SETFOCUS:
      // Enter goes to the focused link, not to the dialog's default button.
      RegisterHotKey(control, ENTER_HOT_KEY, 0, VK_RETURN);
      ChangeFlags(*link, FOCUS, 0);
      break;
    case WM_KILLFOCUS:
      UnregisterHotKey(control, ENTER_HOT_KEY);
      ChangeFlags(*link, 0, FOCUS);
      break;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_LBUTTONUP:
      Activate(*link);
      break;
    case WM_HOTKEY:
      if (wParam == ENTER_HOT_KEY) Activate(*link);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE) Activate(*link);
      break;
    case WM_DESTROY:
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(link->normalFont), FALSE);
      DeleteObject(link->hoverFont);
      *link = LinkRecord{};
      break;
  }
  return CallWindowProcW(previous, control, message, wParam, lParam);
}

// In front of the dialog's own procedure: colours its links.
INT_PTR CALLBACK LinkParentProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  LinkRecord* first = FindParent(dialog);
  if (first == nullptr) return FALSE;
  const DLGPROC previous = first->parentProc;
  if (message == WM_DESTROY) {
    // The links let go of their slots as they are destroyed after it.
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(previous));
    return previous(dialog, message, wParam, lParam);
  }
  const LinkRecord* link =
      message == WM_CTLCOLORSTATIC ? FindControl(reinterpret_cast<HWND>(lParam)) : nullptr;
  if (link == nullptr || link->parent != dialog) return previous(dialog, message, wParam, lParam);
  const HDC dc = reinterpret_cast<HDC>(wParam);
  INT_PTR brush = previous(dialog, WM_LINK_BACKGROUND, wParam, lParam);
  if (brush == 0) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    brush = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
  }
  SetTextColor(dc, (link->flags & (HOVER | FOCUS)) != 0 ? LINK_HOT_COLORREF : LINK_COLORREF);
  return brush;
}

}  // namespace

bool MakeLink(HWND control) {
  LinkRecord* slot = nullptr;
  for (LinkRecord& link : g_links) {
    if (!IsLive(link)) {
      slot = &link;
      break;
    }
  }
  if (slot == nullptr) return false;
  const HWND parent = GetParent(control);
  const auto normal = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW font = {};
  if (normal == nullptr || GetObjectW(normal, sizeof(font), &font) == 0) return false;
  font.lfUnderline = TRUE;
  LinkRecord link;
  link.control = control;
  link.parent = parent;
  link.flags = IN_USE;
  link.normalFont = normal;
  link.hoverFont = CreateFontIndirectW(&font);
  // A dialog with a link already is hooked already.
  const LinkRecord* sibling = FindParent(parent);
  link.parentProc = sibling != nullptr
                        ? sibling->parentProc
                        : reinterpret_cast<DLGPROC>(SetWindowLongPtrW(
                              parent, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(LinkParentProc)));
  *slot = link;
  slot->controlProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
  FitToText(control);
  SetWindowLongPtrW(control, GWL_STYLE,
                    GetWindowLongPtrW(control, GWL_STYLE) | WS_TABSTOP | SS_NOTIFY);
  return true;
}

void FitToText(HWND control) {
  TextBuffer text = L"";
  GetWindowTextW(control, text, static_cast<int>(TEXT_CAPACITY));
  const HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size = {};
  GetTextExtentPoint32W(dc, text, static_cast<int>(TextLength(text, TEXT_CAPACITY)), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
