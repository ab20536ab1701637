// The Options dialog.
#pragma once

#include <windows.h>

// The page of the folders' options, the first.
constexpr int OPTIONS_PAGE_FOLDERS = 0;

// Shows the options, opening on page `tab` and leaving there the page shown
// last; true when an option changed.
bool ShowOptionsDialog(HWND owner, int* tab);
