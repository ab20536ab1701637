// The Options dialog.
#pragma once

#include <windows.h>

// Shows the options, opening on page `tab` and leaving there the page shown
// last; true when an option changed.
bool ShowOptionsDialog(HWND owner, int* tab);
