// The Options dialog's Shell page: the caption of the Explorer verb for
// folders and drives, which only an administrator may change.
#include <iterator>

#include "resources/resource.h"
#include "ui/dialog_helpers.h"
#include "ui/labels.h"
#include "ui/options_pages.h"
#include "ui/options_rules.h"

namespace {

constexpr DialogLabel kLabels[] = {
    {IDC_OPT_SHELL_GROUP, LBL_CONTEXT_MENU},
    {IDC_OPT_SHELL_PROMPT, LBL_CONTEXT_MENU_HINT},
    {IDC_OPT_SHELL_NOTICE_GROUP, LBL_MISSING_PRIVILEGES},
    {IDC_OPT_SHELL_NOTICE_TEXT, LBL_ADMIN_RIGHTS_NEEDED},
};

constexpr int kEditing[] = {IDC_OPT_SHELL_GROUP, IDC_OPT_SHELL_PROMPT, IDC_OPT_SHELL_VERB_CAPTION};
constexpr int kNotice[] = {IDC_OPT_SHELL_NOTICE_GROUP, IDC_OPT_SHELL_NOTICE_ICON,
                           IDC_OPT_SHELL_NOTICE_TEXT};

void OnInitDialog(HWND page, const OptionsEdit& edit) {
  SetDialogLabels(page, kLabels);
  const HWND caption = GetDlgItem(page, IDC_OPT_SHELL_VERB_CAPTION);
  SendMessageW(caption, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
  SendMessageW(caption, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LabelText(LBL_OPEN_IN_TRIMLET)));
  SendMessageW(caption, CB_LIMITTEXT, VERB_CAPTION_LENGTH, 0);
  SetWindowTextW(caption, edit.verbCaption);
  SetListHeight(caption);
  if (edit.administrator) return;
  for (int control : kEditing) EnableWindow(GetDlgItem(page, control), FALSE);
  for (int control : kNotice) {
    EnableWindow(GetDlgItem(page, control), TRUE);
    ShowWindow(GetDlgItem(page, control), SW_SHOW);
  }
}

INT_PTR CALLBACK ShellPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = FALSE;
  if (HandlePageMessage(page, message, wParam, lParam, result)) return result;
  if (message == WM_INITDIALOG) {
    OnInitDialog(page, *KeepDialogData<OptionsEdit>(page, lParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateShellPage(HWND tab, OptionsEdit& edit) {
  return CreatePage(tab, IDD_OPTIONS_SHELL, ShellPageProc, edit);
}

void ReadShellPage(HWND page, OptionsEdit& edit) {
  if (!edit.administrator) return;
  wchar_t caption[VERB_CAPTION_LENGTH + 1] = L"";
  GetDlgItemTextW(page, IDC_OPT_SHELL_VERB_CAPTION, caption, static_cast<int>(std::size(caption)));
  CopyText(edit.verbCaption, caption);
}
