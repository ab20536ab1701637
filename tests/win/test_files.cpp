// The file jobs: crops written by GDI+ and read back pixel by pixel, the
// folder walk's thumbnail tiles, the folder monitor, and pictures turned
// upright.
#include <doctest/doctest.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <functional>
#include <filesystem>
#include <iterator>
#include <string>
#include <memory>
#include <tuple>

#include "base/background_work.h"
#include "base/error_report.h"
#include "base/picture_file.h"
#include "files/crop_save.h"
#include "files/folder_load.h"
#include "files/folder_monitor.h"
#include "files/thumbnail_rules.h"
#include "tests/support/bytes.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"
#include "ui/label_ids.h"

namespace {

constexpr Rect AREA = {37, 21, 150, 100};

// The mean difference between a saved crop and the source's area; huge when
// the crop's size is wrong.
double CropDifference(const std::wstring& crop, GdiBitmap& source) {
  GdiBitmap saved = GdiBitmap::FromFile(crop.c_str());
  if (!saved || saved.Width() != 150u || saved.Height() != 100u) return 1e9;
  double total = 0;
  for (int x = 0; x < AREA.width; ++x) {
    for (int y = 0; y < AREA.height; ++y) {
      ARGB a = 0;
      ARGB b = 0;
      Gdiplus::DllExports::GdipBitmapGetPixel(saved.get(), x, y, &a);
      Gdiplus::DllExports::GdipBitmapGetPixel(source.get(), AREA.x + x, AREA.y + y, &b);
      total += ColourDistance(a, b);
    }
  }
  return total / (AREA.width * AREA.height);
}

bool Begins(const std::wstring& path, const std::string& magic) {
  const Bytes bytes = ReadAll(path);
  return std::string(bytes.begin(), bytes.begin() + std::min(bytes.size(), magic.size())) == magic;
}

using Tile = std::unique_ptr<std::remove_pointer_t<HBITMAP>, decltype(&DeleteObject)>;

// The first pictures of the folder take longest, so that later ones are
// ready first.
HBITMAP SlowFirst(const wchar_t* path, const TileRules& minimum) {
  if (std::wcscmp(std::wcsrchr(path, L'\\') + 1, L"c") < 0) Sleep(300);
  return MakeThumbnailTile(path, minimum);
}

// Every picture takes long, and is counted.
std::atomic<int> g_slowTiles = 0;
HBITMAP SlowCounted(const wchar_t* path, const TileRules& minimum) {
  ++g_slowTiles;
  Sleep(100);
  return MakeThumbnailTile(path, minimum);
}

// Every tile of the queue, by the index of its picture, once all are made.
std::vector<Tile> AllTiles(TileQueue& queue) {
  for (int wait = 0; wait < 500 && queue.Made() < queue.Count(); ++wait) Sleep(10);
  std::vector<Tile> tiles;
  for (size_t i = 0; i < queue.Count(); ++i) tiles.emplace_back(nullptr, DeleteObject);
  for (const auto& [index, tile] : queue.Take()) tiles[index].reset(tile);
  return tiles;
}

// Pixels of a tile that are not dim grey outside the thumbnail's place, or
// not its colour (within the JPEG's loss) a pixel in from its edges.
int WrongPixels(const Tile& tile, const Rect& place, COLORREF colour) {
  const HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, tile.get());
  int wrong = 0;
  for (int i = 0; i < THUMBNAIL_TILE_SIZE * THUMBNAIL_TILE_SIZE; ++i) {
    const int x = i % THUMBNAIL_TILE_SIZE - place.x;
    const int y = i / THUMBNAIL_TILE_SIZE - place.y;
    const COLORREF pixel = GetPixel(dc, place.x + x, place.y + y);
    const bool outside = x < 0 || y < 0 || x >= place.width || y >= place.height;
    const bool inside = x > 0 && y > 0 && x < place.width - 1 && y < place.height - 1;
    wrong += (outside && pixel != RGB(105, 105, 105)) ||
             (inside && ColourDistance(pixel, colour) > 6);
  }
  DeleteDC(dc);
  return wrong;
}

// Writes `picture`'s JPEG stream to `target` with an EXIF block, as cameras
// write one, whose IFD1 holds `preview`'s: at 44, after the TIFF header,
// an empty IFD0 and IFD1's two entries.
void WriteWithPreview(const std::wstring& picture, const std::wstring& preview,
                      const std::wstring& target) {
  const Bytes jpeg = ReadAll(picture);
  const Bytes thumbnail = ReadAll(preview);
  Bytes exif = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I'};
  Put(exif, false, {{42, 2}, {8, 4}, {0, 2}, {14, 4}, {2, 2}, {0x0201, 2}, {4, 2}, {1, 4}});
  Put(exif, false, {{44, 4}, {0x0202, 2}, {4, 2}, {1, 4}});
  Put(exif, false, {{static_cast<uint32_t>(thumbnail.size()), 4}, {0, 4}});
  exif.insert(exif.end(), thumbnail.begin(), thumbnail.end());
  Bytes out = Segment(0xE1, exif);
  out.insert(out.begin(), jpeg.begin(), jpeg.begin() + 2);
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  WriteAll(target, out);
}

constexpr int W = 3;
constexpr int H = 2;

ARGB StoredColour(int x, int y) {
  return 0xFF000000u | static_cast<ARGB>(x * 80) << 16 | static_cast<ARGB>(y * 80);
}

// Cut on the window thread, written by the worker: the save in one call.
bool SaveCrop(GdiBitmap& source, const Rect& area, const wchar_t* target,
              const SaveOptions& options) {
  GdiBitmap crop = CutCrop(source, area, options, LastError());
  return crop && WriteCrop(crop, target, options, LastError());
}

}  // namespace

TEST_CASE("a crop holds the source's area unscaled, in the format of its extension") {
  ScratchFolder folder(L"TrimletCropFormats");
  GdiplusSession gdiplus;
  const std::wstring out = folder.File(L"out");
  // Wine's GDI+ ignores the JPEG quality and stores no property items: what
  // the program hands over for those is checked by the native tests.
  for (const auto& [mime, name, magic, loss] : {std::tuple{L"image/bmp", L"a.bmp", "BM", 0.0},
                                                {L"image/jpeg", L"a.jpg", "\xFF\xD8\xFF", 6.0},
                                                {L"image/gif", L"a.gif", "GIF8", 0.0}}) {
    CAPTURE(magic);
    REQUIRE(WritePatternPicture(folder.File(name), 240, 180, mime));
    GdiBitmap source = GdiBitmap::FromFile(folder.File(name).c_str());
    const std::wstring target = out + L"\\" + name;
    REQUIRE(SaveCrop(source, AREA, target.c_str(), {out.c_str(), true}));
    CHECK(Begins(target, magic));
    CHECK(CropDifference(target, source) <= loss);
  }
  // Nothing else, such as a temporary file, is left.
  CHECK(std::distance(std::filesystem::directory_iterator(out), {}) == 3);
}

TEST_CASE("an existing target gives way only to a whole file") {
  ScratchFolder folder(L"TrimletCropTarget");
  GdiplusSession gdiplus;
  REQUIRE(WritePatternPicture(folder.File(L"source.bmp"), 240, 180, L"image/bmp"));
  GdiBitmap source = GdiBitmap::FromFile(folder.File(L"source.bmp").c_str());
  const std::wstring deep = folder.File(L"out");
  CreateDirectoryW(deep.c_str(), nullptr);
  const std::wstring target = deep + L"\\crop.bmp";
  const SaveOptions options = {deep.c_str(), false};
  CHECK(SaveCrop(source, AREA, target.c_str(), options));

  // Held open, the old file cannot go: it stays as it was, attributes too.
  WriteTextFile(target, "old");
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const HANDLE held =
      CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  CHECK_FALSE(SaveCrop(source, AREA, target.c_str(), options));
  CloseHandle(held);
  CHECK(LastError().label == LBL_FILE_DELETE_ERROR);
  ClearError();
  CHECK(Begins(target, "old"));
  CHECK(GetFileAttributesW(target.c_str()) == attributes);
  // Read-only alone, it is replaced by a plain file.
  CHECK(SaveCrop(source, AREA, target.c_str(), options));
  CHECK(CropDifference(target, source) == 0);
  CHECK((GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY) == 0);
  CHECK(std::distance(std::filesystem::directory_iterator(deep), {}) == 1);
}

TEST_CASE("the pictures big enough listed by their headers; their tiles on four threads, each "
          "with its thumbnail; a stop ends the threads") {
  ScratchFolder folder(L"TrimletTiles");
  GdiplusSession gdiplus;
  constexpr unsigned RED = 0xFFFF0000, BLUE = 0xFF0000FF;
  constexpr const wchar_t *BMP = L"image/bmp", *JPEG = L"image/jpeg";
  // Listed; then too narrow, too low, no picture.
  const std::tuple<const wchar_t*, int, int, unsigned, const wchar_t*> pictures[] = {
      {L"a.bmp", 640, 480, RED, BMP},         {L"b.jpg", 480, 640, BLUE, JPEG},
      {L"c.bmp", 96, 96, RED, BMP},           {L"d.jpg", 237, 173, BLUE, JPEG},
      {L"e.gif", 311, 219, RED, L"image/gif"}, {L"f.jpg", 348, 242, BLUE, JPEG},
      {L"g.bmp", 95, 400, RED, BMP},          {L"h.bmp", 400, 95, RED, BMP}};
  for (const auto& [name, width, height, colour, mime] : pictures) {
    REQUIRE(WritePicture(folder.File(name), width, height, colour, mime));
  }
  WriteTextFile(folder.File(L"i.jpg"), "not a picture");
  REQUIRE(WritePicture(folder.File(L"j.png"), 200, 200, RED, L"image/png"));  // not listed
  std::pair<int, int> progress;
  LeftOut leftOut;
  std::vector<std::wstring> names = ListFolderPictures(
      folder.path.c_str(), {96, 96}, nullptr,
      [](int done, int found, void* seen) {
        *static_cast<std::pair<int, int>*>(seen) = {done, found};
      },
      &progress, &leftOut);
  CHECK(progress == std::pair{9, 9});  // every picture found counts, listed or not
  CHECK((leftOut.byFormat[0] == 1 && leftOut.belowMinimum == 2));  // j.png; g.bmp and h.bmp
  std::sort(names.begin(), names.end());
  CHECK(names ==
        std::vector<std::wstring>{L"a.bmp", L"b.jpg", L"c.bmp", L"d.jpg", L"e.gif", L"f.jpg"});

  std::vector<std::wstring> paths;
  for (const std::wstring& name : names) paths.push_back(folder.File(name.c_str()));
  const auto queue = TileQueue::Start(paths, {96, 96}, nullptr, 0, {4, SlowFirst});
  REQUIRE(queue != nullptr);
  const std::vector<Tile> tiles = AllTiles(*queue);
  for (size_t index = 0; index < names.size() && index < tiles.size(); ++index) {
    for (const auto& [name, width, height, colour, mime] : pictures) {
      if (names[index] != name) continue;
      CAPTURE(Narrow(name));
      REQUIRE(tiles[index] != nullptr);
      CHECK(WrongPixels(tiles[index], PlaceThumbnail(width, height),
                        RGB(colour >> 16 & 255, colour >> 8 & 255, colour & 255)) == 0);
    }
  }
  // Stopped after the first tile, each thread ends with the one in hand.
  const auto stopped = TileQueue::Start(paths, {96, 96}, nullptr, 0, {2, SlowCounted});
  REQUIRE(stopped != nullptr);
  while (stopped->Made() == 0) Sleep(5);
  stopped->Stop();
  WaitForBackgroundWork();
  CHECK(g_slowTiles.load() <= 4);
}

TEST_CASE("JPEG tiles: an EXIF preview of the picture's shape stands in for it, another is not "
          "used") {
  ScratchFolder folder(L"TrimletEngine");
  GdiplusSession gdiplus;
  const std::wstring blue = folder.File(L"blue.jpg");
  REQUIRE(WritePicture(blue, 640, 480, 0xFF0000FF, L"image/jpeg"));
  REQUIRE(WritePicture(folder.File(L"4x3.jpg"), 160, 120, 0xFFFF0000, L"image/jpeg"));
  REQUIRE(WritePicture(folder.File(L"3x2.jpg"), 160, 107, 0xFFFF0000, L"image/jpeg"));
  WriteWithPreview(blue, folder.File(L"4x3.jpg"), folder.File(L"a.jpg"));
  WriteWithPreview(blue, folder.File(L"3x2.jpg"), folder.File(L"b.jpg"));
  const Rect place = PlaceThumbnail(640, 480);
  CHECK(WrongPixels(Tile(MakeThumbnailTile(folder.File(L"a.jpg").c_str(), {96, 96}), DeleteObject),
                    place, RGB(255, 0, 0)) == 0);
  CHECK(WrongPixels(Tile(MakeThumbnailTile(folder.File(L"b.jpg").c_str(), {96, 96}), DeleteObject),
                    place, RGB(0, 0, 255)) == 0);
}

TEST_CASE("the folder monitor: a listed file rewritten or renamed is told; the folder renamed or "
          "deleted ends its read; each stop quick") {
  ScratchFolder parent(L"TrimletMonitor");
  const std::wstring folder = parent.File(L"watched");
  const auto file = [&](const wchar_t* name) { return folder + L"\\" + name; };
  // Which changes count is the records' rule, tested natively; here the
  // system's reports reach it. The last two are no listed file's.
  const std::function<void()> changes[] = {
      [&] { WriteTextFile(file(L"A.JPG"), "rewritten"); },
      [&] { MoveFileW(file(L"b.bmp").c_str(), file(L"d.bmp").c_str()); },
      [&] { CHECK(MoveFileW(folder.c_str(), parent.File(L"moved").c_str())); },
      [&] {
        DeleteFileW(file(L"a.jpg").c_str());
        DeleteFileW(file(L"b.bmp").c_str());
        CHECK(RemoveDirectoryW(folder.c_str()));
      }};
  for (const auto& change : changes) {
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"a.jpg", L"b.bmp"}) WriteTextFile(file(name), "x");
    StartFolderMonitor(folder.c_str(), {L"a.jpg", L"b.bmp"}, nullptr, 0);
    Sleep(100);
    change();
    if (&change < &changes[2]) CHECK(WaitUntil(SourceChanged, 3000));
    Sleep(300);
    const ULONGLONG stop = GetTickCount64();
    StopFolderMonitor();
    CHECK(GetTickCount64() - stop < 500);
    CHECK_FALSE(SourceChanged());
  }
}

// Each of the eight orientations a photo can be stored with: where a stored
// pixel lands is the tag's own definition, written out in the tests' support
// apart from the turns the program asks GDI+ for.
TEST_CASE("every orientation turns the stored pixels to where the tag says they belong") {
  GdiplusSession gdiplus;
  for (int orientation = 1; orientation <= 8; ++orientation) {
    CAPTURE(orientation);
    GdiBitmap picture = GdiBitmap::Create(W, H);
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        Gdiplus::DllExports::GdipBitmapSetPixel(picture.get(), x, y, StoredColour(x, y));
      }
    }
    TurnUpright(picture, orientation);
    REQUIRE(picture.Width() == static_cast<uint32_t>(orientation >= 5 ? H : W));
    for (int i = 0; i < W * H; ++i) {
      const int x = i % static_cast<int>(picture.Width()), y = i / static_cast<int>(picture.Width());
      const auto [storedX, storedY] = StoredPoint(orientation, W, H, x, y);
      ARGB shown = 0;
      Gdiplus::DllExports::GdipBitmapGetPixel(picture.get(), x, y, &shown);
      CHECK(shown == StoredColour(storedX, storedY));
    }
  }
}
