// The file list's own behaviour on top of the list view.
#pragma once

#include <windows.h>

// Replaces the list's window procedure with the file list's.
bool AttachFileList(HWND list);

// Follows the user's Explorer choice: with single-click, hovering selects.
void ApplyExplorerClickStyle(HWND list);
