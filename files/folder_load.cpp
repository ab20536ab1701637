#include "files/folder_load.h"

#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/background_work.h"
#include "base/colours.h"
#include "base/picture_header.h"
#include "base/gdiplus_objects.h"
#include "base/text.h"
#include "base/picture_file.h"
#include "files/thumbnail_rules.h"

namespace {

constexpr ARGB HBITMAP_BACKGROUND = 0x00FFFFFF;

// The grey tile with the thumbnail, turned upright for `orientation`, drawn
// unscaled in its place, as a bitmap handle; a thumbnail that cannot be made
// leaves the tile grey.
HBITMAP DrawTile(GdiBitmap& image, const Rect& place, int orientation) {
  GdiBitmap tile = GdiBitmap::Create(THUMBNAIL_TILE_SIZE, THUMBNAIL_TILE_SIZE);
  if (!tile) return nullptr;
  {
    GdiGraphics graphics(tile);
    graphics.Clear(DIM_GREY_ARGB);
    // GDI+ reads a zero size as "its own default size".
    if (place.width > 0 && place.height > 0) {
      // Only the small thumbnail is turned, not the whole picture.
      const bool swap = OrientationSwapsSides(orientation);
      GdiBitmap thumbnail =
          image.Thumbnail(swap ? place.height : place.width, swap ? place.width : place.height);
      TurnUpright(thumbnail, orientation);
      // With the size given, the picture's resolution cannot scale it.
      graphics.DrawImage(thumbnail, place.x, place.y, place.width, place.height);
    }
  }
  return tile.ToHbitmap(HBITMAP_BACKGROUND);
}

// One walk's pictures and their tiles. The walking thread and the tile
// threads share it; whoever lets go of it last frees it.
struct TileJob {
  std::vector<std::wstring> paths;
  std::vector<HBITMAP> tiles;
  std::vector<bool> done;
  std::atomic<size_t> next{0};
  TileRules rules;
  TileWorkers workers;
  // Set when the walk ends or gives up waiting: the tile threads stop, and
  // late tiles are deleted by their makers. The threads read nothing else
  // of the walk's: they may outlive it.
  std::atomic<bool> abandoned{false};
  std::mutex lock;
  std::condition_variable finished;
};

void MakeTiles(std::shared_ptr<TileJob> job) {
  for (;;) {
    const size_t index = job->next++;
    if (index >= job->paths.size() || job->abandoned.load()) break;
    const HBITMAP tile = job->workers.make(job->paths[index].c_str(), job->rules);
    std::lock_guard<std::mutex> hold(job->lock);
    if (job->abandoned.load()) {
      if (tile != nullptr) DeleteObject(tile);
      break;
    }
    job->tiles[index] = tile;
    job->done[index] = true;
    job->finished.notify_all();
  }
}

struct Listing {
  std::vector<std::wstring> names;
  std::vector<std::wstring> paths;
};

void ListPicture(const wchar_t* folder, const wchar_t* fileName, void* context) {
  if (!IsPictureFileName(fileName)) return;
  PathBuffer path;
  if (PathCombineW(path, folder, fileName) == nullptr) return;
  auto& listing = *static_cast<Listing*>(context);
  listing.names.emplace_back(fileName);
  listing.paths.emplace_back(path);
}

int ThreadCount(int asked, size_t pictures) {
  constexpr int MOST = 8;  // each holds a decoded picture: bounds the memory
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  const int threads = asked > 0 ? asked : std::clamp(cores, 2, MOST);
  return static_cast<int>(std::min<size_t>(static_cast<size_t>(threads), pictures));
}

bool Cancelled(const std::atomic<bool>* cancel) { return cancel != nullptr && cancel->load(); }

}  // namespace

HBITMAP MakeThumbnailTile(const wchar_t* path, const TileRules& rules) {
  StoredPicture stored = DecodeStored(path);
  GdiBitmap& image = stored.bitmap;
  if (!image) return nullptr;
  const int orientation = rules.upright ? stored.orientation : 1;
  const bool swap = OrientationSwapsSides(orientation);
  const uint32_t width = swap ? image.Height() : image.Width();
  const uint32_t height = swap ? image.Width() : image.Height();
  if (width < rules.minimumWidth || height < rules.minimumHeight) return nullptr;
  return DrawTile(image, PlaceThumbnail(width, height), orientation);
}

void WalkFolderTiles(const wchar_t* folder, const TileRules& rules, const std::atomic<bool>* cancel,
                     TileCallback onTile, void* context, ProgressCallback onProgress,
                     const TileWorkers& workers) {
  Listing listing;
  ForEachFileInFolder(folder, ListPicture, &listing, cancel);
  const size_t found = listing.paths.size();
  if (found == 0 || Cancelled(cancel)) return;
  auto job = std::make_shared<TileJob>();
  job->paths = std::move(listing.paths);
  job->tiles.assign(found, nullptr);
  job->done.assign(found, false);
  job->rules = rules;
  job->workers = workers;
  const int threads = ThreadCount(workers.threads, found);
  int started = 0;
  for (int i = 0; i < threads; ++i)
    started += StartBackgroundWork([job] { MakeTiles(job); }) ? 1 : 0;
  // Without a thread of its own the walk makes the tiles itself.
  if (started == 0) MakeTiles(job);
  // Cancel is polled while waiting; nobody signals it.
  constexpr auto POLL = std::chrono::milliseconds(10);
  std::unique_lock<std::mutex> hold(job->lock);
  for (size_t index = 0; index < found; ++index) {
    while (!job->done[index] && !Cancelled(cancel)) job->finished.wait_for(hold, POLL);
    if (!job->done[index]) break;
    const HBITMAP tile = job->tiles[index];
    job->tiles[index] = nullptr;
    hold.unlock();
    if (tile != nullptr) onTile(listing.names[index].c_str(), tile, context);
    if (onProgress != nullptr)
      onProgress(static_cast<int>(index + 1), static_cast<int>(found), context);
    hold.lock();
    if (Cancelled(cancel)) break;
  }
  job->abandoned.store(true);
  for (HBITMAP& tile : job->tiles) {
    if (tile != nullptr) DeleteObject(tile);
    tile = nullptr;
  }
}
