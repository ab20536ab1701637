// Walking the entries of one folder, and asking what a path names.
#pragma once

#include <atomic>

using FolderEntryCallback = void (*)(const wchar_t* folder, const wchar_t* fileName, void* context);

// Calls `callback` for every entry of `folder` that is not a folder, until
// `cancel` (when given) is set; sub-folders are not entered.
void ForEachFileInFolder(const wchar_t* folder, FolderEntryCallback callback, void* context,
                         const std::atomic<bool>* cancel);

// Whether `path` names an existing file, not a folder.
bool IsExistingFile(const wchar_t* path);
