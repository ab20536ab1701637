// The main window.
#pragma once

#include <windows.h>

constexpr const wchar_t* MAIN_WINDOW_CLASS = L"Bluecrane.Trimlet.MainWindow";

// Creates the window, placed from the stored layout, with `folder` (possibly
// empty) as the source folder. False when any part could not be made; what
// was made is destroyed again.
bool CreateMainWindow(const wchar_t* folder);

// Shows the window as it was last left (maximized or not).
void ShowMainWindow();

// Destroys the window and unregisters its class.
void DestroyMainWindow();

HWND MainWindow();
// The accelerator table, or null.
HACCEL MainAccelerators();
