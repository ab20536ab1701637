#include "ui/dialog_helpers.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "settings/settings.h"
#include "resources/resource.h"
#include "ui/labels.h"
#include "ui/window_geometry.h"

namespace {

// The pattern brush of a tab control's body, with the tab control it shows.
struct PageBackground {
  HBRUSH brush = nullptr;
  HWND tab = nullptr;
};

PageBackground g_background;

void DropBackground() {
  if (g_background.brush != nullptr) DeleteObject(g_background.brush);
  g_background = PageBackground{};
}

// The brush for `tab`, made from a picture of it; null without visual
// styles.
HBRUSH BackgroundBrush(HWND tab, bool rebuild) {
  if (g_background.tab == tab && g_background.brush != nullptr && !rebuild) {
    return g_background.brush;
  }
  DropBackground();
  if (!IsThemed()) return nullptr;
  RECT size;
  GetWindowRect(tab, &size);
  const HDC screen = GetDC(tab);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP picture =
      CreateCompatibleBitmap(screen, size.right - size.left, size.bottom - size.top);
  const HGDIOBJ old = SelectObject(memory, picture);
  SendMessageW(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(tab, screen);
  g_background = {CreatePatternBrush(picture), tab};
  DeleteObject(picture);
  return g_background.brush;
}

// The pickers have no use for the context-help button.
void DropContextHelp(HWND frame) {
  SetWindowLongPtrW(
      frame, GWL_EXSTYLE,
      GetWindowLongPtrW(frame, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP));
}

UINT_PTR CALLBACK SaveFileHook(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) DropContextHelp(GetParent(dialog));
  return 0;
}

Box ToBox(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

int CALLBACK FolderBrowserEvent(HWND browser, UINT message, LPARAM item, LPARAM) {
  if (message == BFFM_INITIALIZED) {
    DropContextHelp(browser);
    const wchar_t* last = Settings().options.LastUsedFolder;
    if (last[0] != L'\0' && PathIsDirectoryW(last)) {
      SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(last));
    }
  } else if (message == BFFM_SELCHANGED) {
    // Only a place with a path can be taken, not a printer or the network.
    PathBuffer path;
    const BOOL hasPath =
        SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path) && path[0] != L'\0';
    SendMessageW(browser, BFFM_ENABLEOK, 0, hasPath);
  }
  return 0;
}

}  // namespace

void SetDialogLabels(HWND dialog, const DialogLabel* labels, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const wchar_t* text = LabelText(labels[i].label);
    if (labels[i].control == DIALOG_TITLE) {
      SetWindowTextW(dialog, text);
    } else {
      SetDlgItemTextW(dialog, labels[i].control, text);
    }
  }
}

bool HandlePageBackground(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  const HWND tab = GetParent(page);
  switch (message) {
    case WM_DESTROY:
      DropBackground();
      return false;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
      BackgroundBrush(tab, true);
      return false;
    case WM_ERASEBKGND:
      result = TRUE;
      return BackgroundBrush(tab, false) != nullptr;
    case WM_CTLCOLORSTATIC:
    case WM_LINK_BACKGROUND: {
      const HWND control = reinterpret_cast<HWND>(lParam);
      // Only a control of this page is painted, whoever sent the message.
      if (!IsChild(page, control)) return false;
      const HBRUSH brush = BackgroundBrush(tab, false);
      if (brush == nullptr) return false;
      const HDC dc = reinterpret_cast<HDC>(wParam);
      RECT place;
      GetWindowRect(control, &place);
      MapWindowPoints(HWND_DESKTOP, tab, reinterpret_cast<POINT*>(&place), 2);
      SetBkMode(dc, TRANSPARENT);
      SetBrushOrgEx(dc, -place.left, -place.top, nullptr);
      if (message == WM_LINK_BACKGROUND) {
        RECT client;
        GetClientRect(control, &client);
        FillRect(dc, &client, brush);
      }
      result = reinterpret_cast<INT_PTR>(brush);
      return true;
    }
  }
  return false;
}

bool IsThemed() {
  const HMODULE theme = LoadLibraryW(L"uxtheme.dll");
  if (theme == nullptr) return false;
  using IsAppThemedFunction = BOOL(WINAPI*)();
  const auto isAppThemed = reinterpret_cast<IsAppThemedFunction>(
      reinterpret_cast<void*>(GetProcAddress(theme, "IsAppThemed")));
  const bool themed = isAppThemed != nullptr && isAppThemed() != FALSE;
  FreeLibrary(theme);
  return themed;
}

void SetListHeight(HWND comboBox) { SendMessageW(comboBox, CB_SETMINVISIBLE, 20, 0); }

void CentreOnParent(HWND window) {
  const HWND parent = GetParent(window);
  if (parent == nullptr) return;
  RECT parentRect;
  RECT own;
  GetWindowRect(parent, &parentRect);
  GetWindowRect(window, &own);
  // The work area of the parent's own screen.
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(parent, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& workArea = monitor.rcWork;
  const Point at =
      CentreOver(ToBox(parentRect), own.right - own.left, own.bottom - own.top, ToBox(workArea));
  SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ShellOpen(const wchar_t* target, ShellTarget kind) {
  constexpr std::size_t TARGET_CAPACITY = 1032;
  wchar_t full[TARGET_CAPACITY] = L"";
  const wchar_t* prefix = kind == ShellTarget::Mail  ? L"mailto:"
                          : kind == ShellTarget::Web ? L"http://"
                                                     : L"";
  if (!CopyText(full, prefix) || !AppendText(full, target)) return false;
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", full, nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return true;
  // "Open with" is offered for files only; a link without a program for it
  // is a failure the caller reports.
  if (result != SE_ERR_NOASSOC || kind != ShellTarget::Path) return false;

  wchar_t parameters[TARGET_CAPACITY + 32] = L"shell32.dll,OpenAs_RunDLL ";
  PathBuffer system;
  if (!AppendText(parameters, target) ||
      FAILED(SHGetFolderPathW(nullptr, CSIDL_SYSTEM, nullptr, SHGFP_TYPE_CURRENT, system))) {
    return false;
  }
  return reinterpret_cast<INT_PTR>(ShellExecuteW(GetDesktopWindow(), L"open", L"RUNDLL32.EXE",
                                                 parameters, system, SW_SHOWNORMAL)) > 32;
}

bool PickFolder(HWND owner, const wchar_t* title, PathBuffer& folder) {
  folder[0] = L'\0';
  BROWSEINFOW browse = {};
  browse.hwndOwner = owner;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  browse.lpfn = FolderBrowserEvent;
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
  if (item == nullptr) return true;
  const bool found = SHGetPathFromIDListW(item, folder) != FALSE;
  CoTaskMemFree(item);
  if (!found) {
    folder[0] = L'\0';
    return false;
  }
  SetLastUsedFolder(folder);
  return true;
}

bool PickSaveFile(HWND owner, const wchar_t* title, const wchar_t* filter, const wchar_t* extension,
                  PathBuffer& path) {
  path[0] = L'\0';
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = PATH_CAPACITY;
  dialog.lpstrInitialDir = Settings().options.LastUsedFolder;
  dialog.lpstrTitle = title;
  dialog.lpstrDefExt = extension;
  dialog.lpfnHook = SaveFileHook;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_PATHMUSTEXIST |
                 OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING | OFN_DONTADDTORECENT;
  if (!GetSaveFileNameW(&dialog)) {
    path[0] = L'\0';
    return CommDlgExtendedError() == 0;
  }
  PathBuffer folder;
  if (CopyText(folder, path) && PathRemoveFileSpecW(folder)) SetLastUsedFolder(folder);
  return true;
}
