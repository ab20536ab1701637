// Message boxes in the program's own words: always captioned "Trimlet".
#pragma once

#include <windows.h>

int ShowMessage(HWND owner, const wchar_t* text, UINT type);

// A label with "%1" replaced by `argument`.
int ShowLabelMessage(HWND owner, int label, const wchar_t* argument, UINT type);
