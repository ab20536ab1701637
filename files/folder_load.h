// Loading the source folder into the file list as thumbnails.
#pragma once

#include <atomic>

// Lists the pictures of the source folder under the busy dialog and shows
// the first one, or the reselect name's file when it is still there.
void LoadSourceFolder();

using FolderEntryCallback = void (*)(const wchar_t* folder, const wchar_t* fileName, void* context);

// Calls `callback` for every entry of `folder` that is not a folder, until
// `cancel` (when given) is set; sub-folders are not entered.
void ForEachFileInFolder(const wchar_t* folder, FolderEntryCallback callback, void* context,
                         const std::atomic<bool>* cancel);

// Appends a 96 x 96 tile of the picture to the thumbnail list; the index, or
// -1 when the file is not listed (not decodable, or below the minimum size).
int MakeThumbnail(const wchar_t* path);
