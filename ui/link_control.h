// Links: static texts of a dialog that look and act like web links. A click,
// or Enter or Space while focused, posts WM_LINK_ACTIVATED (wParam: the
// control's ID) to the dialog, which may paint the link's background when
// asked with WM_LINK_BACKGROUND.
#pragma once

#include <windows.h>

// Turns a static text, its caption already set, into a link. At most seven
// links live at once; an eighth stays plain text and the result is false.
bool MakeLink(HWND control);

// Resizes a control, keeping its place, to its text in its font.
void FitToText(HWND control);
