// Watching the source folder for changes to the files it lists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Stops any running monitor, then watches `folder` (not its sub-folders) on
// a thread of its own. When one of the `listed` files is removed, rewritten
// or renamed away, SourceChanged becomes true and, if `window` is in front,
// enabled and not minimized, it is posted `message`. A folder that cannot be
// watched is simply not watched.
void StartFolderMonitor(const wchar_t* folder, std::vector<std::wstring> listed, HWND window,
                        UINT message);

// Ends the monitor at once, if one runs, and clears SourceChanged.
void StopFolderMonitor();

// True when a listed file changed since the monitor started.
bool SourceChanged();
