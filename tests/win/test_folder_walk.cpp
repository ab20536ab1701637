// The folder walk on threads of its own: the same tiles as one thread
// makes, handed on in the folder's order, and a cancel that stops at once.
#include <windows.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <vector>

#include "base/gdiplus_objects.h"
#include "base/background_work.h"
#include "files/folder_load.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"

namespace {

struct Walked {
  std::vector<std::wstring> names;
  std::vector<std::vector<BYTE>> pixels;
  std::vector<int> progress;
  int found = 0;
  std::atomic<bool> cancel{false};
  int cancelAfter = -1;
};

std::vector<BYTE> Pixels(HBITMAP tile) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 96;
  info.bmiHeader.biHeight = 96;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<BYTE> pixels(96 * 96 * 4);
  const HDC dc = GetDC(nullptr);
  GetDIBits(dc, tile, 0, 96, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  return pixels;
}

void Walk(const std::wstring& folder, const TileWorkers& workers, Walked& walked) {
  const TileCallback keep = [](const wchar_t* name, HBITMAP tile, void* context) {
    auto& into = *static_cast<Walked*>(context);
    into.names.emplace_back(name);
    into.pixels.push_back(Pixels(tile));
    DeleteObject(tile);
  };
  const ProgressCallback count = [](int done, int found, void* context) {
    auto& into = *static_cast<Walked*>(context);
    into.progress.push_back(done);
    into.found = found;
    if (done == into.cancelAfter) into.cancel = true;
  };
  WalkFolderTiles(folder.c_str(), {96, 96}, &walked.cancel, keep, &walked, count, workers);
}

// The first pictures of the folder take longest, so that later ones are
// ready first.
HBITMAP SlowFirst(const wchar_t* path, const TileRules& minimum) {
  const wchar_t* name = std::wcsrchr(path, L'\\') + 1;
  if (std::wcscmp(name, L"p03.jpg") < 0) Sleep(300);
  return MakeThumbnailTile(path, minimum);
}

}  // namespace

TEST_CASE(
    "the walk on four threads: one thread's tiles, in the folder's order; a cancel stops "
    "at once and leaves no thread behind") {
  ScratchFolder folder(L"TrimletParallelWalk");
  GdiplusSession gdiplus;
  for (int i = 0; i < 10; ++i) {
    wchar_t name[16];
    std::swprintf(name, 16, L"p%02d.jpg", i);
    REQUIRE(WritePatternPicture(folder.File(name), 200 + 37 * i, 150 + 23 * i, L"image/jpeg"));
  }
  WriteTextFile(folder.File(L"p10.jpg"), "not a picture");
  REQUIRE(WritePatternPicture(folder.File(L"p11.bmp"), 90, 200, L"image/bmp"));

  Walked sequential;
  Walk(folder.path, {1, MakeThumbnailTile}, sequential);
  REQUIRE(sequential.names.size() == 10);
  Walked parallel;
  Walk(folder.path, {4, SlowFirst}, parallel);
  CHECK(parallel.names == sequential.names);
  CHECK(parallel.pixels == sequential.pixels);
  // Every picture found counts, listed or not.
  CHECK(parallel.found == 12);
  CHECK(parallel.progress == std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});

  // Cancelled after the third picture while the slow first ones hold back
  // none: the list is the folder's first three, and the walk does not wait
  // for the threads still decoding.
  Walked cancelled;
  cancelled.cancelAfter = 3;
  const ULONGLONG start = GetTickCount64();
  Walk(folder.path, {4, SlowFirst}, cancelled);
  CHECK(cancelled.names ==
        std::vector<std::wstring>(sequential.names.begin(), sequential.names.begin() + 3));
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  WaitForBackgroundWork();
  CHECK(GetTickCount64() - start < 2000);
  DWORD after = 0;
  GetProcessHandleCount(GetCurrentProcess(), &after);
  CHECK(after <= handles);
}
