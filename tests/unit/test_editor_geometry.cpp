#include "editor/geometry.h"
#include "base/rounding.h"
#include "tests/support/rect_text.h"
#include "tests/support/wide_text.h"

#include <string>

// The dashes as "first-last" pairs, so that an expected list reads as one line.
static std::string Dashes(int32_t from, int32_t to, int phase) {
  std::string text;
  for (const Dash& dash : DashSegments(from, to, phase)) {
    if (!text.empty()) text += ' ';
    text += std::to_string(dash.first) + '-' + std::to_string(dash.last);
  }
  return text;
}

TEST_SUITE("editor_geometry") {
  TEST_CASE("a half rounds down, anything nearer an integer goes to it") {
    const struct {
      float value;
      int32_t expected;
    } rows[] = {{2.5f, 2},   {-2.5f, -3}, {166.5f, 166}, {166.6f, 167}, {-0.4f, 0},
                {-0.6f, -1}, {0.5f, 0},   {3.0f, 3},     {-7.0f, -7},   {0.0f, 0}};
    for (const auto& row : rows) {
      CAPTURE(row.value);
      CHECK(RoundHalfDown(row.value) == row.expected);
    }
  }

  TEST_CASE("fitting keeps the proportions and never enlarges") {
    const struct {
      uint32_t width, height;
      Size box;
      int32_t fitW, fitH;
    } rows[] = {
        {500, 300, {1000, 1000}, 500, 300},     // smaller: its own size
        {1000, 800, {1000, 800}, 1000, 800},    // exactly the box
        {2000, 1000, {1000, 1000}, 1000, 500},  // the width limits
        {1000, 2000, {1000, 1000}, 500, 1000},  // the height limits
        {6000, 4000, {1278, 798}, 1197, 798},   // a photo in a 1280 x 800 pane
        {256, 130, {64, 64}, 64, 32},           // 32.5 rounds down
        {130, 256, {64, 64}, 32, 64},           // and 32.5 across
        {800, 600, {0, 0}, 0, 0},               // a box without room
    };
    for (const auto& row : rows) {
      INFO(row.width, " x ", row.height);
      const Size fit = FitSize(row.width, row.height, row.box);
      CHECK(fit.width == row.fitW);
      CHECK(fit.height == row.fitH);
    }
  }

  TEST_CASE("the picture is centred in the pane, an odd spare pixel to the right") {
    const ImagePlacement small = PlaceImage(109, 54, 100, 50);  // 7 and 2 to spare
    CHECK(small.offsetX == 1 + 3);
    CHECK(small.offsetY == 1 + 1);
    CHECK(small.fit.width == 100);
    CHECK(small.scale == 1.0f);
    CHECK(PlaceImage(66, 66, 256, 130).scale == 0.25f);  // the widths give it, not 32 / 130
  }

  TEST_CASE("a pane without room places nothing that could be drawn") {
    for (const Size client : {Size{2, 500}, Size{500, 1}, Size{0, 0}}) {
      const ImagePlacement placement = PlaceImage(client.width, client.height, 800, 600);
      CHECK(placement.fit.width == 0);
      CHECK(placement.fit.height == 0);
      const Rect pane = ImageToPane({0, 0, 800, 600}, placement);
      CHECK(pane.width <= 0);
      CHECK(pane.height <= 0);
    }
  }

  TEST_CASE("the initial selection") {
    const struct {
      int32_t width, height;
      uint32_t mode, ratioW, ratioH;
      bool swappedBefore;
      Rect expected;
      bool swapped;
    } rows[] = {
        {1000, 1000, 0, 3, 2, true, {0, 166, 1000, 667}, false},
        {1000, 1000, 0, 2, 3, false, {0, 166, 1000, 667}, true},  // turned to the picture
        {800, 1000, 0, 3, 2, false, {66, 0, 667, 1000}, true},
        {2000, 1000, 0, 1, 1, false, {500, 0, 1000, 1000}, true},
        {1000, 2000, 0, 1, 1, false, {0, 500, 1000, 1000}, true},
        {1500, 1000, 0, 3, 2, true, {0, 0, 1500, 1000}, false},   // already at the ratio
        {96, 96, 0, 10, 1, false, {0, 43, 96, 10}, false},        // the minimum side comes later
        {1000, 1000, 7, 3, 2, true, {0, 166, 1000, 667}, false},  // unknown mode: custom
        {1000, 800, 1, 3, 2, true, {0, 0, 1000, 800}, true},
        {1000, 800, 1, 3, 2, false, {0, 0, 1000, 800}, false},
        {800, 1000, 2, 3, 2, true, {0, 0, 800, 1000}, true},
        {800, 1000, 2, 3, 2, false, {0, 0, 800, 1000}, false},
    };
    for (const auto& row : rows) {
      INFO(row.width, " x ", row.height, ", mode ", row.mode, ", swapped ", row.swappedBefore);
      const InitialSelection selection = ComputeInitialSelection(
          row.width, row.height, row.mode, row.ratioW, row.ratioH, row.swappedBefore);
      CHECK(selection.rect == row.expected);
      CHECK(selection.ratioSwapped == row.swapped);
    }
  }

  TEST_CASE("the selection in pane pixels stays on the drawn picture") {
    const ImagePlacement quarter = PlaceImage(1002, 502, 4000, 2000);
    REQUIRE(quarter.scale == 0.25f);
    CHECK(ImageToPane({0, 0, 2000, 1000}, quarter) == Rect{1, 1, 500, 250});
    // 0.75 rounds up, 2.5 and 3.5 round down.
    CHECK(ImageToPane({3, 6, 10, 14}, quarter) == Rect{2, 2, 2, 3});
    CHECK(ImageToPane({-8, -8, 400, 400}, quarter) == Rect{1, 1, 100, 100});
    // Touching the right and bottom edges: the outline's far lines fall on
    // the last drawn column and row (1000 and 500), not on the background.
    const Rect edge = ImageToPane({1000, 400, 3000, 1600}, quarter);
    CHECK(edge == Rect{251, 101, 749, 399});
    CHECK(edge.x + edge.width == quarter.offsetX + quarter.fit.width - 1);
  }

  TEST_CASE("a drag moves the selection by picture pixels per pane pixel") {
    CHECK(ComputeDragScale(4000, 1000) == 4.0f);
    CHECK(ComputeDragScale(1000, 1000) == 1.0f);
    CHECK(ComputeDragScale(500, 1000) == 1.0f);
    CHECK(ComputeDragScale(500, 0) == 1.0f);  // no outline drawn yet
  }

  TEST_CASE("the animation cycles through six phases") {
    int phase = 0;
    std::string cycle;
    for (int step = 0; step < 7; ++step) {
      phase = NextAntsPhase(phase);
      cycle += std::to_string(phase) + ' ';
    }
    CHECK(cycle == "1 2 3 -2 -1 0 1 ");
  }

  TEST_CASE("dashes of three every six pixels, shifted by the phase, cut to the edge") {
    CHECK(Dashes(10, 30, -2) == "10-10 14-16 20-22 26-28");
    CHECK(Dashes(10, 30, -1) == "10-11 15-17 21-23 27-29");
    CHECK(Dashes(10, 30, 0) == "10-12 16-18 22-24 28-30");
    CHECK(Dashes(10, 30, 1) == "11-13 17-19 23-25 29-30");
    CHECK(Dashes(10, 30, 2) == "12-14 18-20 24-26 30-30");
    CHECK(Dashes(10, 30, 3) == "13-15 19-21 25-27");
    CHECK(Dashes(0, 6, 0) == "0-2 6-6");  // the far corner is an edge's pixel too
  }
}
