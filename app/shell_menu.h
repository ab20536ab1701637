// The Explorer context menu of the current picture, in Image > System
// commands. User-interface thread only; COM is initialised on it.
#pragma once

#include <windows.h>
#include <shlobj.h>

// Fills `submenu` with the shell's context menu of the file at `path`, for
// `owner`, the window whose messages go through ShellMenuMessage. Any
// failure leaves the "(empty)" item and holds nothing. Inside a message sent
// by another thread the shell cannot be called: the build is posted to
// `owner` as WM_BUILD_SHELL_MENU and done by BuildPendingShellMenu.
void BuildShellMenu(HWND owner, HMENU submenu, const wchar_t* path);
void BuildPendingShellMenu();

// Back to the single greyed "(empty)" item; the shell's handler released.
void ResetShellMenu();

// Offers a message of the owner window: runs the shell's commands and lets
// its handler fill and draw its own items. True when `result` holds the
// handler's answer, which the window returns.
bool ShellMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Runs the menu's default command (usually Open), if it has one.
void RunShellMenuDefault();

// For tests, which count its references: the handler the menu holds, with
// a reference of the caller's own added; null when none is held.
IContextMenu* HeldShellHandler();
