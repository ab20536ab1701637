// Walking the entries of one folder.
#pragma once

#include <atomic>

using FolderEntryCallback = void (*)(const wchar_t* folder, const wchar_t* fileName, void* context);

// Calls `callback` for every entry of `folder` that is not a folder, until
// `cancel` (when given) is set; sub-folders are not entered.
void ForEachFileInFolder(const wchar_t* folder, FolderEntryCallback callback, void* context,
                         const std::atomic<bool>* cancel);
