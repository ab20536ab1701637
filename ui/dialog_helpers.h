// Helpers that the program's windows and dialogs share.
#pragma once

#include <windows.h>

#include <cstddef>

#include "base/text.h"

// Every dialog is made the same way: its data is handed to DialogBoxParamW
// and kept with the dialog (KeepDialogData in WM_INITDIALOG, DialogData
// afterwards), and its captions come from a table of controls and labels.

// A control of a dialog and the label that captions it; DIALOG_TITLE stands
// for the dialog's own title.
struct DialogLabel {
  int control;
  int label;
};
constexpr int DIALOG_TITLE = 0;

void SetDialogLabels(HWND dialog, const DialogLabel* labels, std::size_t count);

template <std::size_t N>
void SetDialogLabels(HWND dialog, const DialogLabel (&labels)[N]) {
  SetDialogLabels(dialog, labels, N);
}

template <typename Data>
Data* KeepDialogData(HWND dialog, LPARAM data) {
  SetWindowLongPtrW(dialog, DWLP_USER, data);
  return reinterpret_cast<Data*>(data);
}

// Runs dialog template `id` of the owner's module modally, handing `data`
// to its WM_INITDIALOG.
template <typename Data>
INT_PTR RunDialog(HWND owner, int id, DLGPROC procedure, Data& data) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(id), owner, procedure,
                         reinterpret_cast<LPARAM>(&data));
}

// The dialog's data; null before WM_INITDIALOG.
template <typename Data>
Data* DialogData(HWND dialog) {
  return reinterpret_cast<Data*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// The background of a page of a tab control: under visual styles the page
// shows the tab control's own body, and so do its static texts and links.
// Each page's procedure hands every message here first and returns
// `result` when this returns true.
bool HandlePageBackground(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

// True when the program is drawn with visual styles.
bool IsThemed();

// A drop-down list that shows 20 entries.
void SetListHeight(HWND comboBox);

// Centres a window over its parent (owner), kept on the work area.
void CentreOnParent(HWND window);

enum class ShellTarget { Path = 0, Mail = 1, Web = 2 };

// Opens a path, a mail address or a web address with the program the user
// has for it; offers "Open with" when there is none.
bool ShellOpen(const wchar_t* target, ShellTarget kind);

// Lets the user pick a folder, starting at the last used one. True with an
// empty path when the user cancelled; the chosen folder becomes the last
// used one.
bool PickFolder(HWND owner, const wchar_t* title, PathBuffer& folder);

// Lets the user name a file to write, starting in the last used folder;
// `filter` holds pairs of a description and a pattern, ended by an empty
// text. True with an empty path when the user cancelled; the chosen file's
// folder becomes the last used one.
bool PickSaveFile(HWND owner, const wchar_t* title, const wchar_t* filter, const wchar_t* extension,
                  PathBuffer& path);
