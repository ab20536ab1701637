#include "files/folder_load.h"

#include <shlwapi.h>

#include "base/colours.h"
#include "base/gdiplus_objects.h"
#include "base/text.h"
#include "files/thumbnail_rules.h"

namespace {

constexpr ARGB HBITMAP_BACKGROUND = 0x00FFFFFF;
// PathAddBackslashW may write one unit past a full path; "*" takes one more.
constexpr std::size_t PATTERN_CAPACITY = PATH_CAPACITY + 2;

// The grey tile with the thumbnail drawn unscaled in its place, as a bitmap
// handle; a thumbnail that cannot be made leaves the tile grey.
HBITMAP DrawTile(GdiBitmap& image, const Rect& place) {
  GdiBitmap tile = GdiBitmap::Create(THUMBNAIL_TILE_SIZE, THUMBNAIL_TILE_SIZE);
  if (!tile) return nullptr;
  {
    GdiGraphics graphics(tile);
    graphics.Clear(DIM_GREY_ARGB);
    // GDI+ reads a zero size as "its own default size".
    if (place.width > 0 && place.height > 0) {
      GdiBitmap thumbnail = image.Thumbnail(place.width, place.height);
      // With the size given, the picture's resolution cannot scale it.
      graphics.DrawImage(thumbnail, place.x, place.y, place.width, place.height);
    }
  }
  return tile.ToHbitmap(HBITMAP_BACKGROUND);
}

struct Walk {
  MinimumSize minimum;
  TileCallback onTile;
  void* context;
};

void TileFile(const wchar_t* folder, const wchar_t* fileName, void* context) {
  if (!IsPictureFileName(fileName)) return;
  const Walk& walk = *static_cast<const Walk*>(context);
  PathBuffer path;
  if (PathCombineW(path, folder, fileName) == nullptr) return;
  const HBITMAP tile = MakeThumbnailTile(path, walk.minimum);
  if (tile != nullptr) walk.onTile(fileName, tile, walk.context);
}

}  // namespace

void ForEachFileInFolder(const wchar_t* folder, FolderEntryCallback callback, void* context,
                         const std::atomic<bool>* cancel) {
  wchar_t pattern[PATTERN_CAPACITY] = L"";
  // An empty folder would make the pattern "*", the current folder.
  if (folder == nullptr || folder[0] == L'\0' || !CopyText(pattern, PATH_CAPACITY, folder)) return;
  if (PathAddBackslashW(pattern) == nullptr || !AppendText(pattern, L"*")) return;
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      callback(folder, entry.cFileName, context);
    }
  } while (FindNextFileW(search, &entry) && (cancel == nullptr || !cancel->load()));
  FindClose(search);
}

HBITMAP MakeThumbnailTile(const wchar_t* path, MinimumSize minimum) {
  GdiBitmap image = GdiBitmap::FromFile(path);
  if (!image) return nullptr;
  const uint32_t width = image.Width();
  const uint32_t height = image.Height();
  if (width < minimum.width || height < minimum.height) return nullptr;
  return DrawTile(image, PlaceThumbnail(width, height));
}

void WalkFolderTiles(const wchar_t* folder, MinimumSize minimum, const std::atomic<bool>* cancel,
                     TileCallback onTile, void* context) {
  Walk walk = {minimum, onTile, context};
  ForEachFileInFolder(folder, TileFile, &walk, cancel);
}
