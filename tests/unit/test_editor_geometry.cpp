#include <string>
#include <vector>

#include "base/rounding.h"
#include "editor/geometry.h"
#include "editor/selection_rules.h"
#include "base/pixel_scale.h"
#include "tests/support/rect_text.h"

static std::string Fit(uint32_t width, uint32_t height, Size box) {
  const Size fit = FitSize(width, height, box);
  return std::to_string(fit.width) + " x " + std::to_string(fit.height);
}

// The placement as "offset x, offset y: fit width x fit height * scale".
static std::string Placed(int32_t clientWidth, int32_t clientHeight, int32_t width,
                          int32_t height) {
  const ImagePlacement p = PlaceImage(clientWidth, clientHeight, width, height);
  return std::to_string(p.offsetX) + ", " + std::to_string(p.offsetY) + ": " +
         std::to_string(p.fit.width) + " x " + std::to_string(p.fit.height) + " * " +
         std::to_string(p.scale);
}

// The initial selection, and whether the ratio is swapped after it.
static std::string Initial(int32_t width, int32_t height, uint32_t mode, uint32_t ratioWidth,
                           uint32_t ratioHeight, bool swapped) {
  const InitialSelection s =
      ComputeInitialSelection(width, height, mode, ratioWidth, ratioHeight, swapped);
  return RectText(s.rect) + (s.ratioSwapped ? " swapped" : "");
}

static std::string Dashes(int32_t from, int32_t to, int phase) {
  std::string text;
  for (const Dash& d : DashSegments(from, to, phase)) {
    text += std::to_string(d.first) + '-' + std::to_string(d.last) + ' ';
  }
  return text;
}

TEST_CASE("a half rounds down, anything nearer an integer goes to it") {
  const std::pair<float, int32_t> rows[] = {{2.5f, 2},     {-2.5f, -3}, {166.5f, 166},
                                            {166.6f, 167}, {-0.4f, 0},  {-0.6f, -1},
                                            {0.5f, 0},     {3.0f, 3},   {-7.0f, -7}};
  for (const auto& [value, expected] : rows) CHECK(RoundHalfDown(value) == expected);
}

TEST_CASE("fitting keeps the proportions and never enlarges; a box without room fits nothing") {
  CHECK(Fit(6000, 4000, {1278, 798}) == "1197 x 798");  // a photo in a 1280 x 800 pane
  CHECK(Fit(800, 600, {-5, 500}) == "0 x 0");  // not a negative ratio
  // Placed inside a one-pixel margin, an odd spare pixel to the right.
  CHECK(Placed(109, 54, 100, 50) == "4, 2: 100 x 50 * 1.000000");  // 7 and 2 to spare
  CHECK(Placed(66, 66, 256, 130) == "1, 17: 64 x 32 * 0.250000");  // 32.5 rounds down
  CHECK(Placed(3, 3, 800, 600) == "1, 1: 1 x 1 * 0.001250");       // one pixel of room is room
  CHECK(Placed(2, 500, 800, 600) == "1, 1: 0 x 0 * 1.000000");
  CHECK(Placed(500, 2, 800, 600) == "1, 1: 0 x 0 * 1.000000");
}

TEST_CASE("the selection in pane pixels stays on the drawn picture; its outline's dashes") {
  const ImagePlacement quarter = PlaceImage(1002, 502, 4000, 2000);
  CHECK(ImageToPane({0, 0, 2000, 1000}, quarter) == Rect{1, 1, 500, 250});
  // 0.75 rounds up, 2.5 and 3.5 round down.
  CHECK(ImageToPane({3, 6, 10, 14}, quarter) == Rect{2, 2, 2, 3});
  CHECK(ImageToPane({-8, -8, 400, 400}, quarter) == Rect{1, 1, 100, 100});
  // The outline's far lines fall on the last drawn column and row (1000
  // and 500), not on the background.
  CHECK(ImageToPane({1000, 400, 3000, 1600}, quarter) == Rect{251, 101, 749, 399});
  // The outline's dashes: three every six pixels, shifted by the phase.
  int phase = 0;
  std::string cycle;
  for (int step = 0; step < 7; ++step) cycle += std::to_string(phase = NextAntsPhase(phase));
  CHECK(cycle == "123-2-101");
  CHECK(Dashes(10, 30, -2) == "10-10 14-16 20-22 26-28 ");  // cut before the edge
  CHECK(Dashes(10, 30, 2) == "12-14 18-20 24-26 30-30 ");   // and at its end
}

TEST_CASE("the initial selection: the largest centred one at the ratio turned to the picture") {
  CHECK(Initial(1000, 1000, 0, 3, 2, true) == "(0, 166, 1000, 667)");
  CHECK(Initial(1000, 1000, 0, 2, 3, false) == "(0, 166, 1000, 667) swapped");
  CHECK(Initial(800, 1000, 0, 3, 2, false) == "(66, 0, 667, 1000) swapped");
  CHECK(Initial(2000, 1000, 0, 1, 1, false) == "(500, 0, 1000, 1000) swapped");
  CHECK(Initial(96, 96, 0, 10, 1, false) == "(0, 43, 96, 10)");        // the minimum comes later
  CHECK(Initial(1000, 1000, 7, 3, 2, true) == "(0, 166, 1000, 667)");  // unknown mode: custom
  // The source's ratio and a free selection take the whole picture and keep the flag.
  CHECK(Initial(1000, 800, 1, 3, 2, true) == "(0, 0, 1000, 800) swapped");
  CHECK(Initial(800, 1000, 2, 3, 2, false) == "(0, 0, 800, 1000)");
}

static Rect Kept(const Rect& frame, Size from, Size to, uint32_t mode) {
  return KeepFrame(frame, from, {to.width, to.height, mode, 3, 2, false});
}

TEST_CASE("a kept frame: the same on a picture of the same size, in proportion on another") {
  const Rect frame = {601, 401, 3001, 2001};
  CHECK(Kept(frame, {6000, 4000}, {6000, 4000}, RATIO_MODE_FREE) == frame);
  CHECK(Kept(frame, {6000, 4000}, {3000, 2000}, RATIO_MODE_FREE) == Rect{300, 200, 1500, 1000});
  // A portrait after a landscape: the custom 3:2 ratio, not turned, is kept.
  CHECK(Kept({600, 400, 3000, 2000}, {6000, 4000}, {4000, 6000}, RATIO_MODE_CUSTOM) ==
        Rect{400, 600, 2000, 1333});
  // A picture so small that the proportional frame is below the minimum side.
  CHECK(Kept({0, 0, 600, 400}, {6000, 4000}, {120, 80}, RATIO_MODE_FREE) == Rect{0, 0, 32, 32});
}

TEST_CASE("a box filter: each pixel the rounded mean of its share, an enlargement repeats") {
  // Grey pixels, one channel of three shown.
  const auto scaled = [](std::vector<unsigned char> grey, int width, int toWidth, int toHeight) {
    std::vector<unsigned char> source, target(static_cast<size_t>(toWidth * toHeight * 3));
    for (unsigned char value : grey) source.insert(source.end(), 3, value);
    const int height = static_cast<int>(grey.size()) / width;
    BoxScale({source.data(), static_cast<size_t>(width * 3), width, height},
             {target.data(), static_cast<size_t>(toWidth * 3), toWidth, toHeight});
    std::string seen;
    for (size_t i = 0; i < target.size(); i += 3) seen += std::to_string(target[i]) + " ";
    return seen;
  };
  CHECK(scaled({0, 10, 20, 31, 40, 50, 60, 71}, 4, 2, 1) == "25 46 ");  // 45.5 rounds up
  CHECK(scaled({0, 10, 20, 30, 40, 50}, 3, 2, 1) == "15 30 ");  // 3 to 2: 1 and 2 wide
  CHECK(scaled({7, 9}, 2, 4, 2) == "7 7 9 9 7 7 9 9 ");
}
