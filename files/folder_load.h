// A source folder's pictures: listed by what their headers say, and their
// thumbnail tiles, made afterwards on threads of their own in the list's
// order. Jobs without windows: they hand their results on.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "files/thumbnail_rules.h"

// Which pictures are listed, and which way up.
struct TileRules {
  uint32_t minimumWidth;  // the smallest picture listed
  uint32_t minimumHeight;
  bool upright = false;      // turned by its orientation tag
  bool moreFormats = false;  // PNG, TIFF and the other JPEG names too
};


// Receives how many of the pictures found have been looked at.
using ProgressCallback = void (*)(int done, int found, void* context);

// The file names of the pictures in `folder` (by their extension, sub-folders
// left out) at least the rules' minimum size, in the folder's order. The
// sizes come from the files' headers; a picture whose header gives none is
// decoded to know it, and is left out when it does not decode. Stops early,
// with what it has, when `cancel` is raised. What the rules left out goes
// to `leftOut` when it is given.
std::vector<std::wstring> ListFolderPictures(const wchar_t* folder, const TileRules& rules,
                                             const std::atomic<bool>* cancel,
                                             ProgressCallback onProgress, void* context,
                                             LeftOut* leftOut = nullptr);

// A 96 x 96 tile of the picture: grey, with the thumbnail centred. A bitmap
// handle that the caller deletes, or null when the file does not decode or
// is smaller than the rules' minimum. The file is closed again when this
// returns.
HBITMAP MakeThumbnailTile(const wchar_t* path, const TileRules& rules);

// A grey tile without a thumbnail: a picture's place in the list until its
// tile is made. A bitmap handle that the caller deletes, or null.
HBITMAP MakeEmptyTile();

// How the tiles are made: by how many threads, and by what (a test makes
// some slower than others).
struct TileWorkers {
  int threads = 0;  // 0: one per core of the machine, at least 2, at most 8
  HBITMAP (*make)(const wchar_t* path, const TileRules& rules) = MakeThumbnailTile;
};

// The tiles of a list of pictures, made one picture after the other on
// threads of their own (background work), which give way to the work the
// user waits for. Whoever lets go of it last frees it.
class TileQueue {
 public:
  // Starts on the pictures at `paths`. After each tile it posts `message`
  // to `window`, unless the window has been told and has not taken since.
  // Null when no thread could be started.
  static std::shared_ptr<TileQueue> Start(std::vector<std::wstring> paths, const TileRules& rules,
                                          HWND window, UINT message,
                                          const TileWorkers& workers = {});
  ~TileQueue();

  // The tiles made since the last call, by the index of their path; the
  // caller deletes them. A picture whose tile could not be made comes with
  // null.
  std::vector<std::pair<size_t, HBITMAP>> Take();
  // Stops: the threads drop the tile in hand and end.
  void Stop();
  size_t Made();
  size_t Count() const { return paths_.size(); }

 private:
  void Run();

  std::vector<std::wstring> paths_;
  TileRules rules_ = {};
  TileWorkers workers_;
  HWND window_ = nullptr;
  UINT message_ = 0;
  std::atomic<size_t> next_{0};
  std::atomic<bool> stopped_{false};
  std::mutex lock_;
  std::vector<std::pair<size_t, HBITMAP>> ready_;
  size_t made_ = 0;
  bool told_ = false;
};
