// Times the folder load with photo-sized JPEG pictures: the real load into
// the file list, the tiles alone, of the photos as they are and of copies
// that carry an EXIF preview as a camera's do, then a bare GDI+ loop doing
// the tiles' work for each file, with the process's memory after each.
//   folder_benchmark [PICTURES]
//   folder_benchmark --generate PICTURES   only make the photos
// The pictures (4000 x 3000, 100 unless told) are made once, by a child
// process so that their making stays out of the memory figures, and kept in
// the temporary folder for later runs. The copies with a preview are made
// there by the caller (./dev bench, with ImageMagick and exiftool), in the
// folder "previews"; without them that line is left out.
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
#include "tests/benchmarks/timing.h"
#include "tests/support/test_pictures.h"

namespace gdi = Gdiplus::DllExports;

namespace {

constexpr int PICTURE_WIDTH = 4000;
constexpr int PICTURE_HEIGHT = 3000;
constexpr int DEFAULT_PICTURES = 100;
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

// Something like a photograph for the decoder: smooth light over the frame,
// a few round shapes, and grain, different for each picture.
void PaintPhoto(std::vector<Gdiplus::ARGB>& pixels, int seed) {
  unsigned noise = 2166136261u ^ static_cast<unsigned>(seed);
  const int cx = PICTURE_WIDTH * (seed % 7 + 1) / 8;
  const int cy = PICTURE_HEIGHT * (seed % 5 + 1) / 6;
  for (int y = 0; y < PICTURE_HEIGHT; ++y) {
    for (int x = 0; x < PICTURE_WIDTH; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = static_cast<int>(noise >> 27) - 16;
      const int dx = (x - cx) / 8;
      const int dy = (y - cy) / 8;
      const bool inShape = dx * dx + dy * dy < 40000 || (x / 250 + y / 250 + seed) % 9 == 0;
      int red = x * 200 / PICTURE_WIDTH + 30 + grain;
      int green = y * 180 / PICTURE_HEIGHT + 40 + grain;
      int blue = inShape ? 220 + grain / 2 : 90 + (x + y) % 97 + grain;
      red = std::clamp(red, 0, 255);
      green = std::clamp(green, 0, 255);
      blue = std::clamp(blue, 0, 255);
      pixels[static_cast<std::size_t>(y) * PICTURE_WIDTH + x] =
          0xFF000000u | static_cast<unsigned>(red) << 16 | static_cast<unsigned>(green) << 8 |
          static_cast<unsigned>(blue);
    }
  }
}

int GeneratePictures(int count) {
  GdiplusSession gdiplus;
  CLSID encoder;
  if (!FindEncoder(L"image/jpeg", encoder)) return 1;
  CreateDirectoryW(PictureFolder().c_str(), nullptr);
  std::vector<Gdiplus::ARGB> pixels(static_cast<std::size_t>(PICTURE_WIDTH) * PICTURE_HEIGHT);
  for (int i = 0; i < count; ++i) {
    const std::wstring path = PicturePath(i);
    if (Exists(path)) continue;
    PaintPhoto(pixels, i);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdi::GdipCreateBitmapFromScan0(PICTURE_WIDTH, PICTURE_HEIGHT, PICTURE_WIDTH * 4,
                                       PixelFormat32bppARGB, reinterpret_cast<BYTE*>(pixels.data()),
                                       &bitmap) != Gdiplus::Ok) {
      return 1;
    }
    // Written under a temporary name: a cut-off run leaves no half picture.
    const std::wstring partial = path + L".part";
    const bool saved =
        gdi::GdipSaveImageToFile(bitmap, partial.c_str(), &encoder, nullptr) == Gdiplus::Ok;
    gdi::GdipDisposeImage(bitmap);
    if (!saved || !MoveFileW(partial.c_str(), path.c_str())) return 1;
  }
  return 0;
}

// Makes the missing pictures in a child process.
bool EnsurePictures(int count) {
  int missing = 0;
  for (int i = 0; i < count; ++i) missing += Exists(PicturePath(i)) ? 0 : 1;
  if (missing == 0) return true;
  std::printf("making %d pictures of %d x %d in %ls (once)\n", missing, PICTURE_WIDTH,
              PICTURE_HEIGHT, PictureFolder().c_str());
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

  void Print(const char* phase) {
    Stop();
    std::printf("  %-30s %8.1f %8.1f\n", phase, static_cast<double>(workingSet_) / MEGABYTE,
                static_cast<double>(commit_) / MEGABYTE);
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

// How long the walk takes to return once Cancel is pressed in the middle.
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
        WalkFolderTiles(
            walk.folder.c_str(), {96, 96}, &walk.cancel,
            [](const wchar_t*, HBITMAP tile, void*) { DeleteObject(tile); }, nullptr);
        QueryPerformanceCounter(&walk.returned);
        return 0;
      },
      &run, 0, nullptr);
  Sleep(700);
  LARGE_INTEGER pressed;
  QueryPerformanceCounter(&pressed);
  run.cancel = true;
  WaitForSingleObject(walker, INFINITE);
  CloseHandle(walker);
  WaitForBackgroundWork();
  return Milliseconds(pressed, run.returned);
}

// The first `count` photos of `from` in a folder of their own (a folder left
// from a larger run holds more), linked where the file system can; empty
// when they are not all there.
std::wstring GatherPictures(const std::wstring& from, int count, std::vector<std::wstring>& files) {
  const std::wstring folder = from + L"\\" + std::to_wstring(count);
  CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < count; ++i) {
    const std::wstring link = folder + PictureName(i);
    const std::wstring source = from + PictureName(i);
    if (!Exists(link) && !CreateHardLinkW(link.c_str(), source.c_str(), nullptr) &&
        !CopyFileW(source.c_str(), link.c_str(), TRUE)) {
      return L"";
    }
    files.push_back(link);
  }
  return folder;
}

// All the tiles of a folder, made as the load makes them.
double MakeTiles(const std::wstring& folder) {
  return Time([&folder] {
    WalkFolderTiles(
        folder.c_str(), {96, 96}, nullptr,
        [](const wchar_t*, HBITMAP tile, void*) { DeleteObject(tile); }, nullptr);
  });
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
  std::vector<std::wstring> withPreviews;
  const std::wstring folder = GatherPictures(PictureFolder(), count, files);
  const std::wstring previewFolder =
      GatherPictures(PictureFolder() + L"\\previews", count, withPreviews);
  if (folder.empty()) {
    std::puts("could not gather the pictures");
    return 1;
  }
  std::printf("%d JPEG pictures of %d x %d, %.0f MB on disk\n", count, PICTURE_WIDTH,
              PICTURE_HEIGHT, MegabytesOnDisk(count));

  MainWindowFixture fixture;
  GdiplusSession gdiplus;
  Options options = Settings().options;
  options.CopySourceToTemp = false;
  ReplaceOptions(options, Settings().ContextMenuText);
  std::puts("memory, highest seen (MB)        working set   commit");
  MemorySampler().Print("with the main window");

  MemorySampler duringLoad;
  const double load = Time([&folder] { LoadSourceFolder(folder.c_str(), L""); });
  PumpMessages();
  duringLoad.Print("during the folder load");
  const int listed = static_cast<int>(SendMessageW(FileList(), LVM_GETITEMCOUNT, 0, 0));
  // The load ends by showing the first picture; timed alone for comparison.
  Editor& editor = PictureEditor();
  const double preview =
      Time([&files, &editor] { editor.Show(DecodePicture(files[0].c_str(), editor.Request())); });
  editor.Show(nullptr);

  MemorySampler duringTiles;
  const double tiles = MakeTiles(folder);
  duringTiles.Print("while the tiles are made");
  const double previewTiles = previewFolder.empty() ? 0 : MakeTiles(previewFolder);

  MemorySampler duringBare;
  const double bare = Time([&files] {
    for (const std::wstring& file : files) MakeTileBare(file);
  });
  duringBare.Print("during the bare GDI+ loop");
  std::printf("  %-30s %8.1f\n", "peak working set of the run", PeakWorkingSet());

  const double cancelDelay = CancelDelay(folder);
  std::printf("folder load, %d listed, first picture shown  %8.1f ms, %6.1f ms a picture\n", listed,
              load, load / count);
  std::printf("  showing the first picture alone            %8.1f ms\n", preview);
  std::printf("bare GDI+ loop (decode, thumbnail, tile)     %8.1f ms, %6.1f ms a picture\n", bare,
              bare / count);
  std::printf("tiles alone                                  %8.1f ms\n", tiles);
  std::printf("GOAL folder load / bare loop                 %8.2f   (at most 0.60, %u cores)\n",
              load / bare, std::thread::hardware_concurrency());
  std::printf("GOAL tiles / bare loop, no EXIF preview      %8.2f   (at most 0.15)\n",
              tiles / bare);
  if (!previewFolder.empty()) {
    std::printf("tiles alone, photos with an EXIF preview     %8.1f ms\n", previewTiles);
    std::printf("GOAL tiles / bare loop, EXIF preview         %8.2f   (at most 0.05)\n",
                previewTiles / bare);
  }
  std::printf("GOAL cancel during the load takes effect in  %8.1f ms (at most 100)\n", cancelDelay);
  return listed == count ? 0 : 1;
}
