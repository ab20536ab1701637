#include "ui/options_dialog.h"

#include <commctrl.h>
#include <shlobj.h>

#include <iterator>

#include "base/folder_entries.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/dialog_helpers.h"
#include "ui/labels.h"
#include "ui/message_box.h"
#include "ui/options_pages.h"
#include "ui/options_rules.h"
#include "ui/wait_cursor.h"

namespace {

constexpr int PAGE_COUNT = 3;

constexpr DialogLabel kLabels[] = {
    {DIALOG_TITLE, LBL_OPTIONS},
    {IDOK, LBL_OK},
    {IDCANCEL, LBL_CANCEL},
};

constexpr int kTabLabels[PAGE_COUNT] = {LBL_TAB_FOLDERS, LBL_TAB_EDITOR, LBL_TAB_SHELL};

// One run of the dialog, handed in through DialogBoxParamW.
struct OptionsRun {
  OptionsEdit edit;
  int tab = 0;
  bool changed = false;
  HWND pages[PAGE_COUNT] = {};
};

HWND Tabs(HWND dialog) { return GetDlgItem(dialog, IDC_OPT_TABS); }

void ShowSelectedPage(HWND dialog, OptionsRun& run) {
  run.tab = static_cast<int>(SendMessageW(Tabs(dialog), TCM_GETCURSEL, 0, 0));
  for (int page = 0; page < PAGE_COUNT; ++page) {
    const bool shown = page == run.tab;
    EnableWindow(run.pages[page], shown);
    ShowWindow(run.pages[page], shown ? SW_SHOWNA : SW_HIDE);
  }
}

void SelectPage(HWND dialog, int page) {
  // The focused tab too: the tab control selects it when it takes the focus.
  SendMessageW(Tabs(dialog), TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
  SendMessageW(Tabs(dialog), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  SendMessageW(dialog, WM_SHOW_SELECTED_PAGE, 0, 0);
}

// The pages fill the tab control's display area, whatever the font and
// the screen's resolution.
void PlacePages(HWND dialog, const OptionsRun& run) {
  const HWND tabs = Tabs(dialog);
  RECT area;
  GetClientRect(tabs, &area);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  for (HWND page : run.pages) {
    SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages, as in every tabbed dialog,
// wherever the focus is in the dialog.
struct PageKeys {
  HHOOK hook = nullptr;
  HWND dialog = nullptr;
};

PageKeys g_pageKeys;

LRESULT CALLBACK PageKeyHook(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN && message->wParam == VK_TAB &&
      GetKeyState(VK_CONTROL) < 0 && IsChild(g_pageKeys.dialog, message->hwnd)) {
    OptionsRun* run = DialogData<OptionsRun>(g_pageKeys.dialog);
    const int step = GetKeyState(VK_SHIFT) < 0 ? PAGE_COUNT - 1 : 1;
    const int next = (run->tab + step) % PAGE_COUNT;
    SetFocus(Tabs(g_pageKeys.dialog));
    SelectPage(g_pageKeys.dialog, next);
    return TRUE;
  }
  return CallNextHookEx(g_pageKeys.hook, code, wParam, lParam);
}

void OnInitDialog(HWND dialog, OptionsRun& run) {
  WaitCursor wait;
  const HWND tabs = Tabs(dialog);
  // Tab moves on into the pages.
  SetWindowLongPtrW(tabs, GWL_EXSTYLE, GetWindowLongPtrW(tabs, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  run.pages[0] = CreateFoldersPage(tabs, run.edit);
  run.pages[1] = CreateEditorPage(tabs, run.edit);
  run.pages[2] = CreateShellPage(tabs, run.edit);
  for (int page = 0; page < PAGE_COUNT; ++page) {
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(LabelText(kTabLabels[page]));
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
  }
  SetDialogLabels(dialog, kLabels);
  PlacePages(dialog, run);
  SelectPage(dialog, run.tab);
  CentreOnParent(dialog);
  SetFocus(run.pages[run.tab]);
  g_pageKeys = {SetWindowsHookExW(WH_MSGFILTER, PageKeyHook, nullptr, GetCurrentThreadId()),
                dialog};
}

void ShowFault(HWND dialog, OptionsRun& run, int label) {
  ShowMessage(dialog, LabelText(label), MB_OK | MB_ICONWARNING);
  SelectPage(dialog, OPTIONS_PAGE_FOLDERS);
  const HWND folder = GetDlgItem(run.pages[OPTIONS_PAGE_FOLDERS], IDC_OPT_FOLDERS_DEST_FOLDER);
  SendMessageW(folder, EM_SETSEL, 0, -1);
  SetFocus(folder);
}

// The edited options are checked, then saved all at once; the dialog closes
// only when they are saved, or when nothing changed.
void OnOk(HWND dialog, OptionsRun& run) {
  OptionsEdit& edit = run.edit;
  ReadFoldersPage(run.pages[0], edit);
  ReadEditorPage(run.pages[1], edit);
  ReadShellPage(run.pages[2], edit);
  const wchar_t* folder = edit.options.DestinationFolder;
  const int fault = DestinationFolderFault(folder, IsExistingFile(folder));
  if (fault != -1) {
    ShowFault(dialog, run, fault);
    return;
  }
  const SettingsBlock& stored = Settings();
  if (OptionsChanged(stored.options, edit.options, stored.ContextMenuText, edit.verbCaption)) {
    run.changed = true;
    bool saved = false;
    {
      WaitCursor wait;
      saved = ReplaceOptions(edit.options, edit.verbCaption);
    }
    if (!saved) {
      ShowMessage(dialog, LabelText(LBL_REGISTRY_SAVE_ERROR), MB_OK | MB_ICONERROR);
      return;
    }
  }
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInitDialog(dialog, *KeepDialogData<OptionsRun>(dialog, lParam));
    return FALSE;
  }
  OptionsRun* run = DialogData<OptionsRun>(dialog);
  if (run == nullptr) return FALSE;
  switch (message) {
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) ShowSelectedPage(dialog, *run);
      return TRUE;
    case WM_SHOW_SELECTED_PAGE:
      ShowSelectedPage(dialog, *run);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) OnOk(dialog, *run);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
      return TRUE;
    case WM_DESTROY:
      if (g_pageKeys.hook != nullptr) UnhookWindowsHookEx(g_pageKeys.hook);
      g_pageKeys = PageKeys{};
      return FALSE;
  }
  return FALSE;
}

}  // namespace

bool ShowOptionsDialog(HWND owner, int* tab) {
  OptionsRun run;
  const SettingsBlock& stored = Settings();
  run.edit.options = stored.options;
  CopyText(run.edit.verbCaption, stored.ContextMenuText);
  run.edit.administrator = IsUserAnAdmin() != FALSE;
  run.tab = OptionsPageToOpen(*tab);
  RunDialog(owner, IDD_OPTIONS, OptionsDialogProc, run);
  *tab = run.tab;
  return run.changed;
}
