// The Options dialog's pages: child dialogs of its tab control, each showing
// and reading its part of the options being edited.
#pragma once

#include <windows.h>

#include <cstdint>

#include "settings/settings_block.h"

// What the dialog edits: a copy of the options and the Explorer verb's
// caption, handed back only on OK.
struct OptionsEdit {
  Options options;
  TextBuffer verbCaption;
  bool administrator;
};

HWND CreateFoldersPage(HWND tab, OptionsEdit& edit);
HWND CreateEditorPage(HWND tab, OptionsEdit& edit);
HWND CreateShellPage(HWND tab, OptionsEdit& edit);

void ReadFoldersPage(HWND page, OptionsEdit& edit);
void ReadEditorPage(HWND page, OptionsEdit& edit);
void ReadShellPage(HWND page, OptionsEdit& edit);

// Shared by the pages: a page made from its template with `edit` as its
// data, and the number edits with their up-down controls.
HWND CreatePage(HWND tab, int templateId, DLGPROC procedure, OptionsEdit& edit);
void InitNumberField(HWND page, int editId, int spinId, uint32_t minimum, uint32_t maximum,
                     uint32_t value);
// The edit's number held in its range, written back into the edit.
uint32_t ReadNumberField(HWND page, int editId, uint32_t minimum, uint32_t maximum);
// The part of a page procedure that every page has: its background and
// number edits snapping into range when they lose the focus. True when the
// message was answered with `result`.
bool HandlePageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
