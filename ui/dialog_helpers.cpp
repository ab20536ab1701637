#include "ui/dialog_helpers.h"

#include <shlobj.h>

#include "settings/settings.h"
#include "ui/labels.h"
#include "ui/window_geometry.h"

namespace {

Box ToBox(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

int CALLBACK FolderBrowserEvent(HWND browser, UINT message, LPARAM, LPARAM) {
  if (message == BFFM_INITIALIZED) {
    const wchar_t* last = Settings().options.LastUsedFolder;
    if (last[0] != L'\0' && GetFileAttributesW(last) != INVALID_FILE_ATTRIBUTES) {
      SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(last));
    }
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

void CentreOnParent(HWND window) {
  const HWND parent = GetParent(window);
  if (parent == nullptr) return;
  RECT parentRect;
  RECT own;
  RECT workArea;
  GetWindowRect(parent, &parentRect);
  GetWindowRect(window, &own);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
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
  if (result != SE_ERR_NOASSOC) return false;

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
