// Walking a source folder into thumbnail tiles. A job without windows: it
// runs on a worker and hands each tile to its caller.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/folder_entries.h"

// Which pictures are listed, and which way up.
struct TileRules {
  uint32_t minimumWidth;  // the smallest picture listed
  uint32_t minimumHeight;
  bool upright = false;  // turned by its orientation tag
};

// A 96 x 96 tile of the picture: grey, with the thumbnail centred. A bitmap
// handle that the caller deletes, or null when the file does not decode or
// is smaller than the rules' minimum. The file is closed again when this
// returns.
HBITMAP MakeThumbnailTile(const wchar_t* path, const TileRules& rules);

// Receives a listed picture's file name and tile (the callee's to delete).
using TileCallback = void (*)(const wchar_t* fileName, HBITMAP tile, void* context);

// Receives how many of the pictures found have been looked at.
using ProgressCallback = void (*)(int done, int found, void* context);

// How the tiles are made: by how many threads, and by what (a test makes
// some slower than others).
struct TileWorkers {
  int threads = 0;  // 0: one per core of the machine, at least 2, at most 8
  HBITMAP (*make)(const wchar_t* path, const TileRules& rules) = MakeThumbnailTile;
};

// Makes a tile of every picture in `folder` (by its extension, sub-folders
// left out) on threads of its own, and hands each on from the calling thread
// in the folder's order, with the progress after each picture. When
// `cancel` is raised it returns within a few milliseconds; pictures still
// being decoded are finished and dropped by their threads (background work:
// WaitForBackgroundWork waits for them).
void WalkFolderTiles(const wchar_t* folder, const TileRules& rules, const std::atomic<bool>* cancel,
                     TileCallback onTile, void* context, ProgressCallback onProgress = nullptr,
                     const TileWorkers& workers = {});
