#include "files/folder_load.h"

#include <shlwapi.h>

#include "base/colours.h"
#include "base/gdiplus_objects.h"
#include "base/text.h"
#include "files/thumbnail_rules.h"

namespace {

constexpr ARGB HBITMAP_BACKGROUND = 0x00FFFFFF;

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
