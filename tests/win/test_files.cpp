// The file jobs: crops written by GDI+ and read back pixel by pixel, and the
// folder walk's thumbnail tiles.
#include <doctest/doctest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <initializer_list>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <tuple>

#include "base/error_report.h"
#include "files/crop_save.h"
#include "files/folder_load.h"
#include "files/folder_monitor.h"
#include "files/thumbnail_rules.h"
#include "tests/support/test_pictures.h"
#include "ui/label_ids.h"

namespace {

constexpr Rect AREA = {37, 21, 150, 100};

// The sum of the differences of the three channels.
int Difference(unsigned a, unsigned b) {
  int sum = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    sum += std::abs(static_cast<int>(a >> shift & 255) - static_cast<int>(b >> shift & 255));
  }
  return sum;
}

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
      total += Difference(a, b);
    }
  }
  return total / (AREA.width * AREA.height);
}

bool Begins(const std::wstring& path, const std::string& magic) {
  std::string bytes(magic.size(), '\0');
  std::ifstream(std::filesystem::path(path), std::ios::binary).read(bytes.data(), magic.size());
  return bytes == magic;
}

using Tile = std::unique_ptr<std::remove_pointer_t<HBITMAP>, decltype(&DeleteObject)>;

// The walk's tiles by file name; with a flag, the first tile raises it.
std::map<std::wstring, Tile> Walk(const std::wstring& folder, const TileRules& minimum,
                                  std::atomic<bool>* cancel) {
  std::pair<std::map<std::wstring, Tile>, std::atomic<bool>*> walk;
  walk.second = cancel;
  const TileCallback collect = [](const wchar_t* name, HBITMAP tile, void* context) {
    auto& [tiles, flag] = *static_cast<decltype(walk)*>(context);
    tiles.emplace(name, Tile(tile, DeleteObject));
    if (flag != nullptr) flag->store(true);
  };
  WalkFolderTiles(folder.c_str(), minimum, cancel, collect, &walk);
  return std::move(walk.first);
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
    wrong += (outside && pixel != RGB(105, 105, 105)) || (inside && Difference(pixel, colour) > 6);
  }
  DeleteDC(dc);
  return wrong;
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

// Regression: the temporary file came from GetTempFileNameW, which refuses
// folders of more than 246 characters on Windows, so no crop could be saved
// there. Wine's does not refuse them (it returns a number and leaves the name
// unterminated), so under Wine that code could pass this test too.
TEST_CASE("into a folder of 250 characters: an existing target gives way only to a whole file") {
  ScratchFolder folder(L"TrimletCropDeep");
  GdiplusSession gdiplus;
  REQUIRE(WritePatternPicture(folder.File(L"source.bmp"), 240, 180, L"image/bmp"));
  GdiBitmap source = GdiBitmap::FromFile(folder.File(L"source.bmp").c_str());
  std::wstring deep = folder.path;
  while (deep.size() < 250) {
    deep += L"\\" + std::wstring(std::min<std::size_t>(100, 249 - deep.size()), L'd');
    CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);  // past the 248 of plain paths
  }
  REQUIRE(deep.size() == 250);
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

TEST_CASE("the folder walk gives a grey tile with its thumbnail to each picture big enough") {
  ScratchFolder folder(L"TrimletTiles");
  GdiplusSession gdiplus;
  REQUIRE(WritePicture(folder.File(L"wide.bmp"), 640, 480, 0xFFFF0000, L"image/bmp"));
  REQUIRE(WritePicture(folder.File(L"tall.jpg"), 480, 640, 0xFF0000FF, L"image/jpeg"));
  REQUIRE(WritePicture(folder.File(L"smallest.bmp"), 96, 96, 0xFFFF0000, L"image/bmp"));
  REQUIRE(WritePicture(folder.File(L"narrow.bmp"), 95, 400, 0xFFFF0000, L"image/bmp"));
  REQUIRE(WritePicture(folder.File(L"low.bmp"), 400, 95, 0xFFFF0000, L"image/bmp"));
  REQUIRE(WritePicture(folder.File(L"other.png"), 200, 200, 0xFFFF0000, L"image/png"));
  WriteTextFile(folder.File(L"broken.jpg"), "not a picture");
  std::map<std::wstring, Tile> tiles = Walk(folder.path, {96, 96}, nullptr);
  REQUIRE(tiles.size() == 3);
  CHECK(WrongPixels(tiles.at(L"wide.bmp"), PlaceThumbnail(640, 480), RGB(255, 0, 0)) == 0);
  CHECK(WrongPixels(tiles.at(L"tall.jpg"), PlaceThumbnail(480, 640), RGB(0, 0, 255)) == 0);
  CHECK(WrongPixels(tiles.at(L"smallest.bmp"), PlaceThumbnail(96, 96), RGB(255, 0, 0)) == 0);
  CHECK(Walk(folder.path, {480, 480}, nullptr).size() == 2);
  // Cancel is seen after the file in progress.
  std::atomic<bool> cancel = false;
  CHECK(Walk(folder.path, {96, 96}, &cancel).size() == 1);
}

TEST_CASE("the folder monitor: a listed file rewritten or renamed; a quick, clean stop") {
  ScratchFolder folder(L"TrimletMonitor");
  for (const wchar_t* name : {L"a.jpg", L"b.bmp"}) WriteTextFile(folder.File(name), "x");
  // Which changes count is the records' rule, tested natively; here the
  // system's reports reach it.
  for (const auto& change : std::initializer_list<std::function<void()>>{
           [&] { WriteTextFile(folder.File(L"A.JPG"), "rewritten"); },
           [&] { MoveFileW(folder.File(L"b.bmp").c_str(), folder.File(L"d.bmp").c_str()); }}) {
    StartFolderMonitor(folder.path.c_str(), {L"a.jpg", L"b.bmp"}, nullptr, 0);
    Sleep(100);
    change();
    const ULONGLONG deadline = GetTickCount64() + 3000;
    while (!SourceChanged() && GetTickCount64() < deadline) Sleep(20);
    CHECK(SourceChanged());
  }
  // A stop ends a waiting read at once, clears the report, leaves no handle.
  DWORD before = 0, after = 0;
  GetProcessHandleCount(GetCurrentProcess(), &before);
  for (int i = 0; i < 1000; ++i) StartFolderMonitor(folder.path.c_str(), {L"b.bmp"}, nullptr, 0);
  Sleep(200);
  const ULONGLONG stop = GetTickCount64();
  StopFolderMonitor();
  CHECK(GetTickCount64() - stop < 500);
  CHECK_FALSE(SourceChanged());
  GetProcessHandleCount(GetCurrentProcess(), &after);
  CHECK(after <= before + 2);
}

TEST_CASE("a folder renamed or deleted under the monitor ends its read; the stop stays quick") {
  DWORD before = 0, after = 0;
  GetProcessHandleCount(GetCurrentProcess(), &before);
  for (bool deleted : {false, true}) {
    ScratchFolder parent(L"TrimletMonitorGone");
    const std::wstring folder = parent.File(L"watched");
    REQUIRE(CreateDirectoryW(folder.c_str(), nullptr));
    WriteTextFile(folder + L"\\a.jpg", "x");
    StartFolderMonitor(folder.c_str(), {L"a.jpg"}, nullptr, 0);
    Sleep(100);
    if (deleted) {
      REQUIRE(DeleteFileW((folder + L"\\a.jpg").c_str()));
      CHECK(RemoveDirectoryW(folder.c_str()));
    } else {
      CHECK(MoveFileW(folder.c_str(), parent.File(L"moved").c_str()));
    }
    Sleep(300);
    const ULONGLONG stop = GetTickCount64();
    StopFolderMonitor();
    CHECK(GetTickCount64() - stop < 500);
  }
  GetProcessHandleCount(GetCurrentProcess(), &after);
  CHECK(after <= before + 2);
}
