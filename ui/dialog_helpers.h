// Helpers that the program's windows and dialogs share.
#pragma once

#include <windows.h>

#include "base/text.h"

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
