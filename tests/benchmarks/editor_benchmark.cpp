// Times the editor with a large picture: the load, a full repaint, and the
// selection repaints of a moving selection, in a 1280 x 800 pane; then
// Save and go on through a folder of copies of it; then a photo's crop
// saved the ordinary way and losslessly, and Save and go on through copies
// of the photo with and without the lossless crop.
//   editor_benchmark [REPEATS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_window.h"
#include "app/open_folder.h"
#include "base/text.h"
#include "editor/editor.h"
#include "editor/picture_decode.h"
#include "base/picture_file.h"
#include "files/crop_save.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/benchmarks/photo.h"
#include "tests/benchmarks/timing.h"
#include "tests/support/test_pictures.h"
#include "ui/language.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

constexpr int PICTURE_WIDTH = 6000;
constexpr int PICTURE_HEIGHT = 4000;
constexpr int PANE_WIDTH = 1280;
constexpr int PANE_HEIGHT = 800;
constexpr int MOVES = 200;
// Save and go on: the pictures of a series, and the user's time framing each.
constexpr int SERIES = 20;
constexpr DWORD FRAMING_MS = 1000;

// Only the editor pane, with a client area of exactly the pane's size.
void HideEverything() {
  WriteNumberValue(HKEY_CURRENT_USER, L"Software\\Bluecrane\\Trimlet\\Layout",
                   L"MainHiddenControls", 7);
}

void SizePane() {
  RECT frame = {0, 0, PANE_WIDTH + 4, PANE_HEIGHT + 4};  // the pane's sunken edge
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT);
  SetWindowPos(MainWindow(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER);
  PumpMessages();
}

// Save and go on through a folder of `count` copies of `picture`, the user
// framing each for `thinkMs` first; the median time from the command to the
// next picture shown and the window ready, with or without the next picture
// decoded ahead.
double SaveAndGoOn(const std::wstring& picture, int count, DWORD thinkMs, bool decodeAhead,
                   bool lossless = false) {
  ScratchFolder source(L"TrimletBenchmarkSeries");
  ScratchFolder out(L"TrimletBenchmarkCrops");
  for (int i = 0; i < count; ++i) {
    wchar_t name[32];
    std::swprintf(name, 32, L"photo_%02d.jpg", i);
    CopyFileW(picture.c_str(), source.File(name).c_str(), FALSE);
  }
  Options options = Settings().options;
  CopyText(options.DestinationFolder, out.path.c_str());
  options.LosslessJpegCrop = lossless;
  ReplaceOptions(options, Settings().ContextMenuText);
  ApplyEditorOptions();  // as the Options dialog's OK
  LoadSourceFolder(source.path.c_str(), L"");
  PumpMessages();
  std::vector<double> steps;
  for (int i = 1; i < count; ++i) {
    Sleep(thinkMs);
    if (!decodeAhead) PictureEditor().DecodeAhead(nullptr);
    steps.push_back(Time([] {
      SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_SAVE_NEXT, 0);
      PumpMessages();
    }));
  }
  return Median(steps);
}

// A 3000 x 2000 crop of a photo, saved the ordinary way (cut from the
// decoded picture, encoded by GDI+) and losslessly (the file read, its
// blocks cut); the medians of `repeats` saves of each, in turn.
void SaveCropBothWays(const std::wstring& photo, int repeats) {
  ScratchFolder out(L"TrimletBenchmarkCropOut");
  const SaveOptions options = {out.path.c_str(), true};
  const Rect area = {496, 496, 3000, 2000};  // on any block grid
  const std::wstring target = out.File(L"crop.jpg");
  GdiBitmap decoded = GdiBitmap::FromFile(photo.c_str());
  std::vector<double> ordinary, fromFile, lossless;
  bool allSaved = true;
  const auto save = [&](GdiBitmap& picture) {
    ErrorReport error;
    GdiBitmap crop = CutCrop(picture, area, options, error);
    allSaved = WriteCrop(crop, target.c_str(), options, error) && allSaved;
  };
  for (int i = 0; i < repeats; ++i) {
    ordinary.push_back(Time([&] { save(decoded); }));
    fromFile.push_back(Time([&] {
      GdiBitmap opened = GdiBitmap::FromFile(photo.c_str());
      save(opened);
    }));
    lossless.push_back(Time([&] {
      ErrorReport error;
      std::vector<unsigned char> bytes;
      bool cut = false;
      allSaved = ReadPictureFile(photo.c_str(), bytes) &&
                 WriteLosslessCrop(bytes, 1, area, target.c_str(), options, error, cut) && cut &&
                 allSaved;
    }));
  }
  std::printf("a 3000 x 2000 crop of a %d x %d photo saved, median of %d%s:\n", PHOTO_WIDTH,
              PHOTO_HEIGHT, repeats, allSaved ? "" : " (A SAVE FAILED)");
  std::printf("  the ordinary way, the picture shown (cut, GDI+ encode)  %8.1f ms\n",
              Median(ordinary));
  std::printf("  the ordinary way from the file (GDI+ decode, cut, encode) %6.1f ms\n",
              Median(fromFile));
  std::printf("  losslessly (file read, blocks cut)                       %8.1f ms\n",
              Median(lossless));
  std::printf("  lossless / the ordinary save of the picture shown        %8.2f\n",
              Median(lossless) / Median(ordinary));
  std::printf("GOAL lossless / the ordinary save from the file   %8.2f   (at most 0.25)\n",
              Median(lossless) / Median(fromFile));
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  MainWindowFixture fixture(HideEverything);
  GdiplusSession gdiplus;
  ScratchFolder folder(L"TrimletBenchmark");
  Options options = Settings().options;
  options.CopySourceToTemp = false;
  options.EnhancedSelection = argc < 3;
  ReplaceOptions(options, Settings().ContextMenuText);
  const std::wstring picture = folder.File(L"large.jpg");
  if (!WritePicture(picture, PICTURE_WIDTH, PICTURE_HEIGHT, 0xFF3070B0, L"image/jpeg")) {
    std::puts("could not write the picture");
    return 1;
  }
  SizePane();
  RECT client;
  GetClientRect(EditorPane(), &client);
  std::printf("picture %d x %d, pane %ld x %ld, %d runs\n", PICTURE_WIDTH, PICTURE_HEIGHT,
              client.right, client.bottom, repeats);

  std::vector<double> loads, firstPaints, fullPaints, moves, worstMoves, repaints;
  for (int run = 0; run < repeats; ++run) {
    Editor& editor = PictureEditor();
    loads.push_back(Time([&] { editor.Show(DecodePicture(picture.c_str(), editor.Request())); }));
    editor.SetReady();
    firstPaints.push_back(Time([] { SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0); }));
    fullPaints.push_back(Time([] { SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0); }));
    editor.UpdateSelection(3000, SelectionField::Width, SET_VALUE);
    double worst = 0;
    const double all = Time([&worst, &editor] {
      for (int i = 0; i < MOVES; ++i) {
        const int step = i < MOVES / 2 ? 8 : -8;
        worst = std::max(
            worst, Time([step, &editor] { editor.UpdateSelection(step, SelectionField::X, 0); }));
      }
    });
    moves.push_back(all / MOVES);
    worstMoves.push_back(worst);
    repaints.push_back(Time([] {
                         for (int i = 0; i < MOVES; ++i) {
                           SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 1, 0);
                         }
                       }) /
                       MOVES);
  }
  std::printf("load (decode, screen preview, selection)   %8.1f ms\n", Median(loads));
  std::printf("first full repaint (builds pane preview)   %8.1f ms\n", Median(firstPaints));
  std::printf("full repaint                               %8.1f ms\n", Median(fullPaints));
  std::printf("selection repaint, mean of %d              %8.2f ms\n", MOVES, Median(moves));
  std::printf("selection repaint, slowest of %d           %8.2f ms\n", MOVES, Median(worstMoves));
  std::printf("selection repaint alone, mean of %d        %8.2f ms\n", MOVES, Median(repaints));
  std::printf(
      "GOAL selection repaint alone                 %8.2f ms (under 2), %.2f of a full one\n",
      Median(repaints), Median(repaints) / Median(fullPaints));

  PictureEditor().Show(nullptr);
  const double before = SaveAndGoOn(picture, SERIES, FRAMING_MS, false);
  const double ahead = SaveAndGoOn(picture, SERIES, FRAMING_MS, true);
  // As before the JPEG engine: GDI+ alone, one step after the other.
  UseFastPictureWork(false);
  const double old = SaveAndGoOn(picture, SERIES, FRAMING_MS, false);
  UseFastPictureWork(true);
  std::printf("save and go on, next picture ready, median of %d, framing %lu ms each:\n",
              SERIES - 1, FRAMING_MS);
  std::printf("  next picture decoded when asked for         %8.1f ms\n", before);
  std::printf("  next picture decoded ahead                  %8.1f ms (%.2f of the above)\n", ahead,
              ahead / before);
  std::printf("  decoded when asked for, as before (GDI+)    %8.1f ms\n", old);
  std::printf("GOAL save and go on, when asked / as before     %8.2f   (at most 0.30)\n",
              before / old);

  const std::wstring photo = folder.File(L"photo.jpg");
  std::vector<Gdiplus::ARGB> pixels;
  if (!WritePhoto(photo, 1, pixels)) {
    std::puts("could not write the photo");
    return 1;
  }
  SaveCropBothWays(photo, std::max(repeats, 5));
  const double photoBefore = SaveAndGoOn(photo, SERIES, FRAMING_MS, false);
  const double photoLossless = SaveAndGoOn(photo, SERIES, FRAMING_MS, true, true);
  std::printf("save and go on through %d x %d photos, framed as they come (3:2):\n", PHOTO_WIDTH,
              PHOTO_HEIGHT);
  std::printf("  decoded when asked for                      %8.1f ms\n", photoBefore);
  std::printf("  lossless crop, decoded ahead                %8.1f ms\n", photoLossless);
  std::printf("GOAL save and go on, lossless / when asked    %8.2f   (at most 0.20)\n",
              photoLossless / photoBefore);
  return 0;
}
