// Walking a source folder into thumbnail tiles. A job without windows: it
// runs on a worker and hands each tile to its caller.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/folder_entries.h"

// The smallest picture that is listed.
struct MinimumSize {
  uint32_t width;
  uint32_t height;
};

// A 96 x 96 tile of the picture: grey, with the thumbnail centred. A bitmap
// handle that the caller deletes, or null when the file does not decode or
// is smaller than `minimum`. The file is closed again when this returns.
HBITMAP MakeThumbnailTile(const wchar_t* path, MinimumSize minimum);

// Receives a listed picture's file name and tile (the callee's to delete).
using TileCallback = void (*)(const wchar_t* fileName, HBITMAP tile, void* context);

// Makes a tile of every picture in `folder` (by its extension, sub-folders
// left out) and hands it on, polling `cancel` between two files.
void WalkFolderTiles(const wchar_t* folder, MinimumSize minimum, const std::atomic<bool>* cancel,
                     TileCallback onTile, void* context);
