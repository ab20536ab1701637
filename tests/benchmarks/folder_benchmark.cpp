// Times the folder load with photo-sized JPEG pictures (4000 x 3000): the
// time until the first picture can be framed and until every tile is in,
// on a folder of PICTURES photos and on one of 25 names for each of them,
// with the memory each load takes; and the tiles alone, of the photos as
// they are and of copies that carry an EXIF preview as a camera's do,
// against a bare one-thread GDI+ loop doing the tiles' work.
//   folder_benchmark [PICTURES]           (24 unless told)
//   folder_benchmark --generate PICTURES  only make the photos
// The photos are made once, by a child process so that their making stays
// out of the memory figures, and kept in the temporary folder for later
// runs. The copies with a preview are made there by the caller (./dev
// bench, with ImageMagick and exiftool), in the folder "previews"; without
// them that line is left out.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "app/main_window.h"
#include "app/open_folder.h"
#include "editor/editor.h"
#include "files/crop_save.h"
#include "base/background_work.h"
#include "files/folder_load.h"
#include "files/thumbnail_rules.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/benchmarks/photo.h"
#include "tests/benchmarks/timing.h"
#include "tests/support/test_pictures.h"

namespace gdi = Gdiplus::DllExports;

namespace {

constexpr int DEFAULT_PICTURES = 24;
constexpr int NAMES_EACH = 25;
constexpr const char* GENERATE_SWITCH = "--generate";

std::wstring PictureFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"TrimletFolderBenchmark";
}

std::wstring PictureName(int index) {
  wchar_t name[32];
  std::swprintf(name, 32, L"\\photo_%04d.jpg", index);
  return name;
}

std::wstring PicturePath(int index) { return PictureFolder() + PictureName(index); }

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int GeneratePictures(int count) {
  GdiplusSession gdiplus;
  CreateDirectoryW(PictureFolder().c_str(), nullptr);
  std::vector<Gdiplus::ARGB> pixels;
  for (int i = 0; i < count; ++i) {
    const std::wstring path = PicturePath(i);
    if (!Exists(path) && !WritePhoto(path, i, pixels)) return 1;
  }
  return 0;
}

// Makes the missing pictures in a child process.
bool EnsurePictures(int count) {
  int missing = 0;
  for (int i = 0; i < count; ++i) missing += Exists(PicturePath(i)) ? 0 : 1;
  if (missing == 0) return true;
  std::printf("making %d pictures of %d x %d in %ls (once)\n", missing, PHOTO_WIDTH,
              PHOTO_HEIGHT, PictureFolder().c_str());
  std::fflush(stdout);
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  wchar_t commandLine[2 * MAX_PATH];
  std::swprintf(commandLine, 2 * MAX_PATH, L"\"%ls\" %hs %d", exe, GENERATE_SWITCH, count);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode == 0;
}

// The per-file work of the load, without the list: decode, thumbnail, tile,
// bitmap handle.
void MakeTileBare(const std::wstring& path) {
  Gdiplus::GpBitmap* image = nullptr;
  if (gdi::GdipCreateBitmapFromFile(path.c_str(), &image) != Gdiplus::Ok) return;
  UINT width = 0;
  UINT height = 0;
  gdi::GdipGetImageWidth(image, &width);
  gdi::GdipGetImageHeight(image, &height);
  const Rect place = PlaceThumbnail(width, height);
  Gdiplus::GpBitmap* tile = nullptr;
  gdi::GdipCreateBitmapFromScan0(THUMBNAIL_TILE_SIZE, THUMBNAIL_TILE_SIZE, 0, PixelFormat32bppARGB,
                                 nullptr, &tile);
  Gdiplus::GpGraphics* graphics = nullptr;
  gdi::GdipGetImageGraphicsContext(tile, &graphics);
  gdi::GdipGraphicsClear(graphics, 0xFF696969);
  Gdiplus::GpImage* thumbnail = nullptr;
  gdi::GdipGetImageThumbnail(image, static_cast<UINT>(place.width), static_cast<UINT>(place.height),
                             &thumbnail, nullptr, nullptr);
  gdi::GdipDrawImageRectI(graphics, thumbnail, place.x, place.y, place.width, place.height);
  gdi::GdipDeleteGraphics(graphics);
  HBITMAP handle = nullptr;
  gdi::GdipCreateHBITMAPFromBitmap(tile, &handle, 0x00FFFFFF);
  DeleteObject(handle);
  gdi::GdipDisposeImage(thumbnail);
  gdi::GdipDisposeImage(tile);
  gdi::GdipDisposeImage(image);
}

constexpr double MEGABYTE = 1024.0 * 1024.0;

// The highest working set and commit seen while a phase runs, sampled every
// 2 ms by a thread of its own: Wine reports the current commit as its peak.
class MemorySampler {
 public:
  MemorySampler() { thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
  ~MemorySampler() { Stop(); }
  MemorySampler(const MemorySampler&) = delete;
  MemorySampler& operator=(const MemorySampler&) = delete;

  // Prints the highest figures seen; the working set's.
  double Print(const char* phase) {
    Stop();
    std::printf("  %-34s %8.1f %8.1f\n", phase, static_cast<double>(workingSet_) / MEGABYTE,
                static_cast<double>(commit_) / MEGABYTE);
    return static_cast<double>(workingSet_) / MEGABYTE;
  }

 private:
  void Stop() {
    if (thread_ == nullptr) return;
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  void Sample() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    workingSet_ = std::max(workingSet_, counters.WorkingSetSize);
    commit_ = std::max(commit_, counters.PagefileUsage);
  }
  static DWORD WINAPI Run(void* self) {
    auto* sampler = static_cast<MemorySampler*>(self);
    while (!sampler->stop_) {
      sampler->Sample();
      Sleep(2);
    }
    sampler->Sample();
    return 0;
  }

  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
  SIZE_T workingSet_ = 0;
  SIZE_T commit_ = 0;
};

double PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return static_cast<double>(counters.PeakWorkingSetSize) / MEGABYTE;
}

// How long the listing takes to return once Cancel is pressed in the middle.
double CancelDelay(const std::wstring& folder) {
  struct Run {
    std::wstring folder;
    std::atomic<bool> cancel{false};
    LARGE_INTEGER returned = {};
  } run;
  run.folder = folder;
  const HANDLE walker = CreateThread(
      nullptr, 0,
      [](void* argument) -> DWORD {
        auto& walk = *static_cast<Run*>(argument);
        ListFolderPictures(walk.folder.c_str(), {96, 96}, &walk.cancel, nullptr, nullptr);
        QueryPerformanceCounter(&walk.returned);
        return 0;
      },
      &run, 0, nullptr);
  Sleep(50);
  LARGE_INTEGER pressed;
  QueryPerformanceCounter(&pressed);
  run.cancel = true;
  WaitForSingleObject(walker, INFINITE);
  CloseHandle(walker);
  return std::max(0.0, Milliseconds(pressed, run.returned));
}

// The first `count` photos of `from` in a folder of their own (a folder left
// from a larger run holds more), each under `names` names, linked where the
// file system can; empty when they are not all there.
std::wstring GatherPictures(const std::wstring& from, int count, int names,
                            std::vector<std::wstring>& files) {
  const std::wstring folder = from + L"\\" + std::to_wstring(count) + L"x" + std::to_wstring(names);
  CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < count * names; ++i) {
    const std::wstring name = PictureName(i % count);
    const std::wstring link = folder + name.substr(0, name.size() - 4) + L"_" +
                              std::to_wstring(i / count) + L".jpg";
    const std::wstring source = from + name;
    if (!Exists(link) && !CreateHardLinkW(link.c_str(), source.c_str(), nullptr) &&
        !CopyFileW(source.c_str(), link.c_str(), TRUE)) {
      return L"";
    }
    files.push_back(link);
  }
  return folder;
}

// All the tiles of the pictures, made as the list's are.
double MakeTiles(const std::vector<std::wstring>& files) {
  return Time([&files] {
    const std::shared_ptr<TileQueue> queue = TileQueue::Start(files, {96, 96}, nullptr, 0);
    for (size_t taken = 0; queue != nullptr && taken < queue->Count(); Sleep(1)) {
      for (const auto& [index, tile] : queue->Take()) {
        if (tile != nullptr) DeleteObject(tile);
        ++taken;
      }
    }
  });
}

// The folder loaded into the window: the time until its first picture can
// be framed, then until every tile is in, with the memory it takes.
struct LoadTimes {
  double firstPicture;
  double allTiles;
  double peakMegabytes;
};

LoadTimes LoadFolder(const std::wstring& folder, const char* phase) {
  MemorySampler memory;
  LARGE_INTEGER start;
  LARGE_INTEGER shown;
  LARGE_INTEGER tiled;
  QueryPerformanceCounter(&start);
  LoadSourceFolder(folder.c_str(), L"");
  PumpMessages();
  QueryPerformanceCounter(&shown);
  while (TilesPending()) {
    PumpMessages();
    Sleep(1);
  }
  QueryPerformanceCounter(&tiled);
  return {Milliseconds(start, shown), Milliseconds(start, tiled), memory.Print(phase)};
}

double MegabytesOnDisk(int count) {
  double bytes = 0;
  for (int i = 0; i < count; ++i) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(PicturePath(i).c_str(), GetFileExInfoStandard, &data)) {
      bytes += static_cast<double>(data.nFileSizeLow) +
               static_cast<double>(data.nFileSizeHigh) * 4294967296.0;
    }
  }
  return bytes / MEGABYTE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], GENERATE_SWITCH) == 0) {
    return GeneratePictures(std::max(1, std::atoi(argv[2])));
  }
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : DEFAULT_PICTURES;
  if (!EnsurePictures(count)) {
    std::puts("could not make the pictures");
    return 1;
  }
  std::vector<std::wstring> files;
  std::vector<std::wstring> many;
  std::vector<std::wstring> withPreviews;
  const std::wstring folder = GatherPictures(PictureFolder(), count, 1, files);
  const std::wstring manyFolder = GatherPictures(PictureFolder(), count, NAMES_EACH, many);
  const std::wstring previewFolder =
      GatherPictures(PictureFolder() + L"\\previews", count, 1, withPreviews);
  if (folder.empty() || manyFolder.empty()) {
    std::puts("could not gather the pictures");
    return 1;
  }
  std::printf("%d JPEG pictures of %d x %d, %.0f MB on disk; %zu names for them\n", count,
              PHOTO_WIDTH, PHOTO_HEIGHT, MegabytesOnDisk(count), many.size());

  MainWindowFixture fixture;
  GdiplusSession gdiplus;
  Options options = Settings().options;
  options.CopySourceToTemp = false;
  ReplaceOptions(options, Settings().ContextMenuText);
  std::puts("memory, highest seen (MB)            working set   commit");
  MemorySampler().Print("with the main window");
  const LoadTimes few = LoadFolder(folder, "loading the photos");
  const int listed = static_cast<int>(SendMessageW(FileList(), LVM_GETITEMCOUNT, 0, 0));
  const LoadTimes lots = LoadFolder(manyFolder, "loading them under 25 names each");
  const int listedMany = static_cast<int>(SendMessageW(FileList(), LVM_GETITEMCOUNT, 0, 0));

  const double tiles = MakeTiles(files);
  const double previewTiles = previewFolder.empty() ? 0 : MakeTiles(withPreviews);
  const double bare = Time([&files] {
    for (const std::wstring& file : files) MakeTileBare(file);
  });
  std::printf("  %-34s %8.1f\n", "peak working set of the run", PeakWorkingSet());
  const double cancelDelay = CancelDelay(manyFolder);

  std::printf("%d photos listed: first picture ready        %8.1f ms, all tiles in %8.1f ms\n",
              listed, few.firstPicture, few.allTiles);
  std::printf("%d names listed: first picture ready       %8.1f ms, all tiles in %8.1f ms\n",
              listedMany, lots.firstPicture, lots.allTiles);
  std::printf("tiles alone                                  %8.1f ms\n", tiles);
  std::printf("bare GDI+ loop (decode, thumbnail, tile)     %8.1f ms, %6.1f ms a picture\n", bare,
              bare / count);
  std::printf("GOAL first picture ready, %zu names         %8.1f ms (at most 1000)\n", many.size(),
              lots.firstPicture);
  std::printf("GOAL tiles / bare loop, no EXIF preview      %8.2f   (at most 0.15, %u cores)\n",
              tiles / bare, std::thread::hardware_concurrency());
  if (!previewFolder.empty()) {
    std::printf("tiles alone, photos with an EXIF preview     %8.1f ms\n", previewTiles);
    std::printf("GOAL tiles / bare loop, EXIF preview         %8.2f   (at most 0.05)\n",
                previewTiles / bare);
  }
  std::printf("GOAL peak memory, %zu names less %d photos  %8.1f MB (at most 50)\n", many.size(),
              count, lots.peakMegabytes - few.peakMegabytes);
  std::printf("GOAL cancel during the listing takes effect  %8.1f ms (at most 100)\n", cancelDelay);
  return listed == count && listedMany == count * NAMES_EACH ? 0 : 1;
}
