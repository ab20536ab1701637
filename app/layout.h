// Placing the main window's children, the splitter between the file list
// and the editor pane, and keeping the window's place in the settings.
#pragma once

#include <windows.h>

void InitSplitter(int position);

// Places every child. `message` and its parameters are passed on to the bars
// so that they size themselves; `fromSystem` marks a WM_SIZE of the system,
// which also keeps MainWindowMaximized.
void LayoutMainWindow(UINT message, WPARAM wParam, LPARAM lParam, bool fromSystem);

// Places every child after the program changed what is shown.
void Relayout();

// The splitter's part of the main window's mouse handling; each returns true
// when it consumed the message.
bool OnSplitterSetCursor();
bool OnSplitterButtonDown(LPARAM clientPoint);
bool OnSplitterMouseMove(LPARAM clientPoint);
bool OnSplitterButtonUp();
// Escape during a drag: the splitter goes back, nothing is saved.
bool CancelSplitterDrag();

// The end of a move or resize: the normal rectangle goes to the settings.
void SaveWindowPlacement();
