// The rebar with the toolbar, and the status bar, with their image lists.
#pragma once

#include <windows.h>

// The status bar's parts.
enum StatusPart : int {
  STATUS_FILE_NAME = 0,
  STATUS_POSITION = 1,
  STATUS_IMAGE_SIZE = 2,
  STATUS_SELECTION = 3,
  STATUS_PART_COUNT = 4,
};

// Creates the bars, or makes them anew after a theme change; on a failed
// rebuild the old bars stay and the result is false. The buttons take the
// states of their menu commands, and the status parts keep their texts.
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

// Places the parts for a status bar `width` pixels wide.
void SetStatusParts(int width);

// Shows the progress of work in the background in a part of its own at the
// right of the status bar; with null the part goes.
void ShowStatusProgress(const wchar_t* text);
