// The rebar with the toolbar, and the status bar, with their image lists.
#pragma once

#include <windows.h>

// Creates the bars, or makes them anew after a theme change; on a failed
// rebuild the old bars stay and the result is false.
bool RebuildBars(HWND mainWindow);

// Destroys the toolbar's three image lists (the window owns them).
void DestroyBarImageLists();

HWND Rebar();
HWND Toolbar();
HWND StatusBar();

// Height of the toolbar's first button: the band's minimum height.
int ToolbarButtonHeight();

// Shows `text` in a status-bar part, or the part's default text when null;
// with part -1, every part that shows its default is set again from the
// labels.
void SetStatusText(const wchar_t* text, int part);

// Places the four parts for a status bar `width` pixels wide.
void SetStatusParts(int width);
