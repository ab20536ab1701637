#include "files/folder_load.h"

#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/background_work.h"
#include "base/colours.h"
#include "base/folder_entries.h"
#include "base/picture_header.h"
#include "base/gdiplus_objects.h"
#include "base/text.h"
#include "base/picture_file.h"
#include "files/thumbnail_rules.h"

namespace {

constexpr ARGB HBITMAP_BACKGROUND = 0x00FFFFFF;

// The grey tile with the thumbnail, made at `stored` (its sides before the
// turn) and turned upright for `orientation`, drawn unscaled in its place,
// as a bitmap handle; a thumbnail that cannot be made, or an empty place,
// leaves the tile grey.
HBITMAP DrawTile(GdiBitmap& image, const Rect& place, Size stored, int orientation) {
  GdiBitmap tile = GdiBitmap::Create(THUMBNAIL_TILE_SIZE, THUMBNAIL_TILE_SIZE);
  if (!tile) return nullptr;
  {
    GdiGraphics graphics(tile);
    graphics.Clear(DIM_GREY_ARGB);
    // GDI+ reads a zero size as "its own default size".
    if (place.width > 0 && place.height > 0) {
      // Only the small thumbnail is turned, not the whole picture.
      GdiBitmap thumbnail = image.Thumbnail(stored.width, stored.height);
      TurnUpright(thumbnail, orientation);
      // With the size given, the picture's resolution cannot scale it.
      graphics.DrawImage(thumbnail, place.x, place.y, place.width, place.height);
    }
  }
  return tile.ToHbitmap(HBITMAP_BACKGROUND);
}

// A picture's header and its size upright, when the rules list it. A header
// without a size is completed by a decode, whose picture stays in `decoded`.
struct ListedSize {
  StoredHeader header;
  int orientation = 1;  // the turn the rules ask for
  uint32_t width = 0;
  uint32_t height = 0;
};

bool ReadListedSize(const wchar_t* path, const TileRules& rules, ListedSize& size,
                    GdiBitmap& decoded) {
  StoredHeader& header = size.header;
  if (!ReadStoredHeader(path, header) || !header.decodable) return false;
  if (!header.sized) {
    decoded = GdiBitmap::FromFile(path);
    header.width = decoded.Width();
    header.height = decoded.Height();
    if (!decoded || decoded.status() != Gdiplus::Ok) return false;
  }
  size.orientation = rules.upright ? header.orientation : 1;
  const bool swap = OrientationSwapsSides(size.orientation);
  size.width = swap ? header.height : header.width;
  size.height = swap ? header.width : header.height;
  return size.width > 0;
}

bool BigEnough(const ListedSize& size, const TileRules& rules) {
  return size.width >= rules.minimumWidth && size.height >= rules.minimumHeight;
}

// The walk's findings: the pictures to look at, and the files of formats
// the rules leave out.
struct Found {
  const TileRules& rules;
  std::vector<std::wstring> names;
  LeftOut leftOut;
};

void ListPicture(const wchar_t*, const wchar_t* fileName, void* context) {
  auto& found = *static_cast<Found*>(context);
  if (IsPictureFileName(fileName, found.rules.moreFormats)) {
    found.names.emplace_back(fileName);
  } else if (const MoreFormat format = MoreFormatOf(fileName); format != MoreFormat::None) {
    ++found.leftOut.byFormat[static_cast<int>(format) - 1];
  }
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
  ListedSize size;
  GdiBitmap image;
  if (!ReadListedSize(path, rules, size, image) || !BigEnough(size, rules)) return nullptr;
  const Rect place = PlaceThumbnail(size.width, size.height);
  // Sides as stored: the thumbnail is turned after it is made.
  const bool swap = OrientationSwapsSides(size.orientation);
  const Size stored = swap ? Size{place.height, place.width} : Size{place.width, place.height};
  if (!image) image = DecodeStoredCovering(path, size.header, stored);
  if (!image) return nullptr;
  return DrawTile(image, place, stored, size.orientation);
}

HBITMAP MakeEmptyTile() {
  GdiBitmap none;
  return DrawTile(none, Rect{}, Size{}, 1);
}

std::vector<std::wstring> ListFolderPictures(const wchar_t* folder, const TileRules& rules,
                                             const std::atomic<bool>* cancel,
                                             ProgressCallback onProgress, void* context,
                                             LeftOut* leftOut) {
  Found found = {rules, {}, {}};
  ForEachFileInFolder(folder, ListPicture, &found, cancel);
  std::vector<std::wstring> listed;
  const int count = static_cast<int>(found.names.size());
  for (int index = 0; index < count && !Cancelled(cancel); ++index) {
    PathBuffer path;
    ListedSize size;
    GdiBitmap decoded;  // only for a header without a size; dropped here
    if (PathCombineW(path, folder, found.names[index].c_str()) != nullptr &&
        ReadListedSize(path, rules, size, decoded)) {
      if (BigEnough(size, rules)) {
        listed.push_back(std::move(found.names[index]));
      } else {
        ++found.leftOut.belowMinimum;
      }
    }
    if (onProgress != nullptr) onProgress(index + 1, count, context);
  }
  if (leftOut != nullptr) *leftOut = found.leftOut;
  return listed;
}

std::shared_ptr<TileQueue> TileQueue::Start(std::vector<std::wstring> paths, const TileRules& rules,
                                            HWND window, UINT message, const TileWorkers& workers) {
  auto queue = std::make_shared<TileQueue>();
  queue->paths_ = std::move(paths);
  queue->rules_ = rules;
  queue->workers_ = workers;
  queue->window_ = window;
  queue->message_ = message;
  const int threads = ThreadCount(workers.threads, queue->paths_.size());
  int started = 0;
  for (int i = 0; i < threads; ++i) started += StartBackgroundWork([queue] { queue->Run(); });
  return started > 0 ? queue : nullptr;
}

TileQueue::~TileQueue() {
  for (const auto& [index, tile] : ready_) {
    if (tile != nullptr) DeleteObject(tile);
  }
}

void TileQueue::Run() {
  for (;;) {
    YieldToForegroundWork();
    const size_t index = next_++;
    if (index >= paths_.size() || stopped_.load()) return;
    const HBITMAP tile = workers_.make(paths_[index].c_str(), rules_);
    std::unique_lock<std::mutex> hold(lock_);
    if (stopped_.load()) {
      if (tile != nullptr) DeleteObject(tile);
      return;
    }
    ready_.emplace_back(index, tile);
    ++made_;
    if (!std::exchange(told_, true)) PostMessageW(window_, message_, 0, 0);
  }
}

std::vector<std::pair<size_t, HBITMAP>> TileQueue::Take() {
  std::lock_guard<std::mutex> hold(lock_);
  told_ = false;
  return std::exchange(ready_, {});
}

void TileQueue::Stop() { stopped_.store(true); }

size_t TileQueue::Made() {
  std::lock_guard<std::mutex> hold(lock_);
  return made_;
}
