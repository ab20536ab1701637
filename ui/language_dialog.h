// The Language dialog.
#pragma once

#include <windows.h>

// Lets the user pick the language; true when it changed.
bool ShowLanguageDialog(HWND owner);
