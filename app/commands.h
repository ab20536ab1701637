// The main window's commands: menus, accelerators and toolbar buttons.
#pragma once

#include <windows.h>

// Runs the command of a WM_COMMAND id (menu, accelerator or toolbar button).
void OnCommand(int id);

// Shows `menu` as a context menu of `control` at `point` (screen
// coordinates as WM_CONTEXTMENU gives them; -1, -1 for the keyboard).
void Popup(LPARAM point, HWND control, HMENU menu);

// A folder or file dropped on the window: its folder becomes the source.
void OnDropFiles(HDROP drop);

// A listed file changed: tell the user, then reload the folder.
void OnSourceChanged();
