#include "ui/language_dialog.h"

#include <shlwapi.h>

#include <vector>

#include "base/folder_entries.h"
#include "base/product.h"
#include "base/win_text.h"
#include "resources/resource.h"
#include "ui/dialog_helpers.h"
#include "ui/labels.h"
#include "ui/language.h"
#include "ui/link_control.h"
#include "ui/message_box.h"
#include "ui/wait_cursor.h"

namespace {

constexpr DialogLabel kLabels[] = {
    {DIALOG_TITLE, LBL_LANGUAGE},
    {IDOK, LBL_OK},
    {IDCANCEL, LBL_CANCEL},
    {IDC_LANGUAGE_SET_GROUP, LBL_SET_LANGUAGE},
    {IDC_LANGUAGE_NEW_GROUP, LBL_NEW_TRANSLATION},
    {IDC_LANGUAGE_TRANSLATED_BY, LBL_TRANSLATED_BY},
    {IDC_LANGUAGE_NEW_HINT, LBL_TRANSLATION_HINT},
    {IDC_LANGUAGE_SEND_LINK, LBL_SEND_TRANSLATION},
    {IDC_LANGUAGE_CREATE_LINK, LBL_CREATE_LANGUAGE_FILE},
};

constexpr int kTranslator[] = {IDC_LANGUAGE_TRANSLATED_BY, IDC_LANGUAGE_TRANSLATOR_LINK,
                               IDC_LANGUAGE_TRANSLATOR_NAME};

struct LanguageEntry {
  PathBuffer path;
  PathBuffer name;  // what the list shows
  TextBuffer translator;
  TextBuffer mail;
};

// One run of the dialog: the languages it lists.
struct LanguageRun {
  std::vector<LanguageEntry> entries;
  bool changed = false;
};

void AddLanguageFile(const wchar_t* folder, const wchar_t* fileName, void* context) {
  if (!EqualsIgnoreAsciiCase(PathFindExtensionW(fileName), L".ini")) return;
  LanguageEntry entry = {};
  // A file whose path does not fit cannot be chosen: it is not listed.
  if (PathCombineW(entry.path, folder, fileName) == nullptr || !CopyText(entry.name, fileName)) {
    return;
  }
  PathRemoveExtensionW(entry.name);
  ReadTranslator(entry.path, entry.translator, entry.mail);
  static_cast<LanguageRun*>(context)->entries.push_back(entry);
}

void ListLanguages(LanguageRun& run) {
  LanguageEntry english = {};
  CopyText(english.path, DEFAULT_LANGUAGE);
  CopyText(english.name, LabelText(LBL_BUILTIN_ENGLISH));
  CopyText(english.translator, MAKER_NAME);
  CopyText(english.mail, MAKER_MAIL);
  run.entries.push_back(english);
  PathBuffer folder;
  GetLanguageFolder(folder);
  ForEachFileInFolder(folder, AddLanguageFile, &run, nullptr);
}

const LanguageEntry* SelectedEntry(HWND dialog, const LanguageRun& run) {
  const HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
  const LRESULT item = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (item == CB_ERR) return nullptr;
  const auto index = static_cast<std::size_t>(SendMessageW(list, CB_GETITEMDATA, item, 0));
  return index < run.entries.size() ? &run.entries[index] : nullptr;
}

void ShowTranslator(HWND dialog, const LanguageRun& run) {
  for (int control : kTranslator) {
    ShowWindow(GetDlgItem(dialog, control), SW_HIDE);
    EnableWindow(GetDlgItem(dialog, control), FALSE);
  }
  const LanguageEntry* entry = SelectedEntry(dialog, run);
  EnableWindow(GetDlgItem(dialog, IDOK), entry != nullptr);
  if (entry == nullptr || entry->translator[0] == L'\0') return;
  const int name =
      entry->mail[0] != L'\0' ? IDC_LANGUAGE_TRANSLATOR_LINK : IDC_LANGUAGE_TRANSLATOR_NAME;
  SetDlgItemTextW(dialog, name, entry->translator);
  if (name == IDC_LANGUAGE_TRANSLATOR_LINK) FitToText(GetDlgItem(dialog, name));
  for (int control : {IDC_LANGUAGE_TRANSLATED_BY, name}) {
    EnableWindow(GetDlgItem(dialog, control), TRUE);
    ShowWindow(GetDlgItem(dialog, control), SW_SHOW);
  }
}

void OnInitDialog(HWND dialog, LanguageRun& run) {
  WaitCursor wait;
  ListLanguages(run);
  const HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
  for (std::size_t i = 0; i < run.entries.size(); ++i) {
    const LRESULT item =
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(run.entries[i].name));
    if (item < 0) continue;
    SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(i));
    if (SameTextIgnoreCase(run.entries[i].path, CurrentLanguageFile())) {
      SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
  }
  if (SendMessageW(list, CB_GETCURSEL, 0, 0) == CB_ERR) SendMessageW(list, CB_SETCURSEL, 0, 0);
  SetDialogLabels(dialog, kLabels);
  for (int link :
       {IDC_LANGUAGE_TRANSLATOR_LINK, IDC_LANGUAGE_SEND_LINK, IDC_LANGUAGE_CREATE_LINK}) {
    MakeLink(GetDlgItem(dialog, link));
  }
  ShowTranslator(dialog, run);
  CentreOnParent(dialog);
  SetListHeight(list);
  SetFocus(list);
}

void Mail(HWND dialog, const wchar_t* address) {
  bool opened = false;
  {
    WaitCursor wait;
    opened = ShellOpen(address, ShellTarget::Mail);
  }
  if (!opened) ShowMessage(dialog, LabelText(LBL_MAIL_CLIENT_ERROR), MB_OK | MB_ICONERROR);
}

void CreateLanguageFile(HWND dialog) {
  // Description and pattern, then the empty text that ends the list.
  TextBuffer filter = L"";
  const std::size_t length = TextLength(LabelText(LBL_TRANSLATION_FILTER), TEXT_CAPACITY);
  if (length + 8 >= TEXT_CAPACITY) return;
  CopyText(filter, LabelText(LBL_TRANSLATION_FILTER));
  CopyText(filter + length + 1, TEXT_CAPACITY - length - 1, L"*.ini");
  filter[length + 7] = L'\0';
  PathBuffer path;
  if (!PickSaveFile(dialog, LabelText(LBL_SELECT_DEST_FILE), filter, L"ini", path)) {
    ShowMessage(dialog, LabelText(LBL_FILE_SELECTION_ERROR), MB_OK | MB_ICONERROR);
    return;
  }
  if (path[0] == L'\0') return;
  bool written = false;
  {
    WaitCursor wait;
    written = WriteEnglishLanguageFile(path);
  }
  if (!written) ShowLabelMessage(dialog, LBL_FILE_CREATE_ERROR, path, MB_OK | MB_ICONERROR);
}

void OnLink(HWND dialog, const LanguageRun& run, int control) {
  if (control == IDC_LANGUAGE_TRANSLATOR_LINK) {
    const LanguageEntry* entry = SelectedEntry(dialog, run);
    if (entry != nullptr) Mail(dialog, entry->mail);
  } else if (control == IDC_LANGUAGE_SEND_LINK) {
    Mail(dialog, MAKER_MAIL);
  } else if (control == IDC_LANGUAGE_CREATE_LINK) {
    CreateLanguageFile(dialog);
  }
}

void OnOk(HWND dialog, LanguageRun& run) {
  const LanguageEntry* entry = SelectedEntry(dialog, run);
  if (entry == nullptr || SameTextIgnoreCase(entry->path, CurrentLanguageFile())) {
    EndDialog(dialog, IDOK);
    return;
  }
  {
    WaitCursor wait;
    run.changed = SetLanguage(entry->path);
    if (run.changed) ReloadLabels();
  }
  if (!run.changed) ShowMessage(dialog, LabelText(LBL_REGISTRY_SAVE_ERROR), MB_OK | MB_ICONERROR);
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK LanguageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInitDialog(dialog, *KeepDialogData<LanguageRun>(dialog, lParam));
    return FALSE;
  }
  LanguageRun* run = DialogData<LanguageRun>(dialog);
  if (run == nullptr) return FALSE;
  switch (message) {
    case WM_LINK_ACTIVATED:
      OnLink(dialog, *run, static_cast<int>(wParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_LANGUAGE_LIST && HIWORD(wParam) == CBN_SELCHANGE) {
        ShowTranslator(dialog, *run);
      } else if (LOWORD(wParam) == IDOK) {
        OnOk(dialog, *run);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

bool ShowLanguageDialog(HWND owner) {
  LanguageRun run;
  RunDialog(owner, IDD_LANGUAGE, LanguageDialogProc, run);
  return run.changed;
}
