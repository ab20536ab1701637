// The file list's own behaviour on top of the list view.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Replaces the list's window procedure with the file list's.
bool AttachFileList(HWND list);

// An item's parameter: whether its tile carries the done mark.
constexpr LPARAM ITEM_MARKED_DONE = 1;

// Marks the tile of item `index` as done, once: its crop is in the
// destination folder.
void MarkListItemDone(HWND list, HIMAGELIST thumbnails, int index);

// Follows the user's Explorer choice: with single-click, hovering selects.
void ApplyExplorerClickStyle(HWND list);

// The line the list shows while it is empty, as a link: a click on it sends
// its parent `command`. An empty text shows none.
void SetFileListHint(HWND list, const wchar_t* text, int command);
