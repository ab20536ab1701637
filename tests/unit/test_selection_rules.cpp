#include "editor/selection_rules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "editor/geometry.h"
#include "base/rounding.h"
#include "tests/support/rect_text.h"
#include "tests/support/wide_text.h"

namespace {

SelectionContext Custom(int32_t width, int32_t height, uint32_t ratioWidth, uint32_t ratioHeight,
                        bool swapped = false) {
  return {width, height, RATIO_MODE_CUSTOM, ratioWidth, ratioHeight, swapped};
}
SelectionContext Source(int32_t width, int32_t height) {
  return {width, height, RATIO_MODE_SOURCE, 3, 2, false};
}
SelectionContext Free(int32_t width, int32_t height) {
  return {width, height, RATIO_MODE_FREE, 3, 2, false};
}

// One mouse move of a drag that began in `zone` at `start`, as the pane runs it.
Rect Drag(const SelectionContext& context, const Rect& start, int zone, int32_t dx, int32_t dy,
          float scale = 1.0f) {
  SelectionCall calls[2];
  const int count =
      DragCalls(zone, context.ratioMode == RATIO_MODE_FREE, start, dx, dy, scale, calls);
  Rect crop = start;
  for (int i = 0; i < count; ++i) {
    ApplySelectionChange(crop, calls[i].value, calls[i].field, calls[i].flags, context);
  }
  return crop;
}

Rect Key(const SelectionContext& context, Rect crop, int key, bool shift) {
  SelectionCall call;
  REQUIRE(KeySelectionCall(key, shift, call));
  ApplySelectionChange(crop, call.value, call.field, call.flags, context);
  return crop;
}

// Rotate as the window does it: the custom ratio turns first.
Rect Rotate(SelectionContext& context, Rect crop) {
  context.ratioSwapped = !context.ratioSwapped;
  ApplySelectionChange(crop, 0, SelectionField::None, 0, context);
  return crop;
}

}  // namespace

TEST_SUITE("selection_rules") {
  TEST_CASE("the ratio of each mode") {
    CHECK(SelectionRatio(Custom(100, 100, 3, 2)) == 1.5f);
    CHECK(SelectionRatio(Custom(100, 100, 3, 2, true)) == 2.0f / 3.0f);
    CHECK(SelectionRatio({100, 100, 7, 3, 2, false}) == 1.5f);  // unknown mode: custom
    CHECK(SelectionRatio({759, 404, RATIO_MODE_SOURCE, 3, 2, true}) == 759.0f / 404.0f);
    CHECK(SelectionRatio(Free(759, 404)) == 0.0f);
  }

  TEST_CASE("dragging an edge or a corner") {
    const SelectionContext loose = Free(1000, 800);
    const SelectionContext ratio = Custom(1000, 800, 3, 2);
    const SelectionContext portrait = Custom(800, 1000, 2, 3);
    const Rect start = {100, 100, 300, 200};
    const struct {
      SelectionContext context;
      Rect start;
      int zone;
      int32_t dx, dy;
      const char* expected;
    } rows[] = {
        // Free: the minimum side holds and a dragged near edge keeps the far one.
        {loose, start, ZONE_RIGHT, -280, 0, "(100, 100, 32, 200)"},
        {loose, start, ZONE_LEFT, 350, 0, "(368, 100, 32, 200)"},
        {loose, start, ZONE_TOP, 0, 250, "(100, 268, 300, 32)"},
        {loose, start, ZONE_BOTTOM_RIGHT, 800, 800, "(100, 100, 900, 700)"},
        {loose, start, ZONE_TOP_LEFT, -150, -150, "(0, 0, 400, 300)"},
        // 3:2, top-left: the overshoot past the left border comes off the width
        // and the bottom-right corner stays; too small, the minimum side wins.
        {ratio, start, ZONE_TOP_LEFT, -300, 0, "(0, 33, 400, 267)"},
        {ratio, start, ZONE_TOP_LEFT, 280, 0, "(352, 268, 48, 32)"},
        // Top-left stopped by the top border.
        {ratio, {300, 50, 300, 200}, ZONE_TOP_LEFT, -300, 0, "(225, 0, 375, 250)"},
        // The width leads and the bottom border cuts the height.
        {ratio, {100, 500, 300, 200}, ZONE_RIGHT, 300, 0, "(100, 500, 450, 300)"},
        {ratio, {500, 500, 300, 200}, ZONE_BOTTOM_LEFT, -300, 0, "(350, 500, 450, 300)"},
        // The height leads and the right border cuts the width.
        {ratio, {600, 100, 300, 200}, ZONE_BOTTOM, 0, 100, "(600, 100, 400, 267)"},
        {ratio, {600, 400, 300, 200}, ZONE_TOP_RIGHT, 0, -100, "(600, 333, 400, 267)"},
        // A portrait ratio checks the width against the minimum.
        {portrait, {100, 100, 200, 300}, ZONE_RIGHT, -190, 0, "(100, 100, 32, 48)"},
        {portrait, {100, 100, 200, 300}, ZONE_TOP_LEFT, 190, 0, "(268, 352, 32, 48)"},
        // Moving stops at the border.
        {loose, {600, 100, 300, 200}, ZONE_INSIDE, 300, 0, "(700, 100, 300, 200)"},
        {ratio, {600, 100, 300, 200}, ZONE_INSIDE, -700, -150, "(0, 0, 300, 200)"},
    };
    for (const auto& row : rows) {
      CAPTURE(row.zone);
      CHECK(RectText(Drag(row.context, row.start, row.zone, row.dx, row.dy)) ==
            std::string(row.expected));
    }
  }

  TEST_CASE("a drag scale of 4 turns one pane pixel into 4 picture pixels") {
    CHECK(RectText(Drag(Free(1000, 800), {100, 100, 300, 200}, ZONE_INSIDE, 1, -1, 4.0f)) ==
          "(104, 96, 300, 200)");
  }

  TEST_CASE("the calls of a drag step") {
    const Rect start = {100, 200, 300, 400};
    const SelectionField X = SelectionField::X, Y = SelectionField::Y;
    const SelectionField W = SelectionField::Width, H = SelectionField::Height;
    const unsigned SET = SET_VALUE, QUIET = NO_NOTIFY, KR = KEEP_RIGHT, KB = KEEP_BOTTOM;
    const struct {
      int zone;
      bool freeMode;
      int count;
      SelectionCall first, second;
    } rows[] = {
        {ZONE_INSIDE, true, 2, {106, X, SET | QUIET}, {210, Y, SET}},
        {ZONE_INSIDE, false, 2, {106, X, SET | QUIET}, {210, Y, SET}},
        {ZONE_LEFT, true, 1, {294, W, SET | KR}, {}},
        {ZONE_RIGHT, true, 1, {306, W, SET}, {}},
        {ZONE_TOP, true, 1, {390, H, SET | KB}, {}},
        {ZONE_BOTTOM, true, 1, {410, H, SET}, {}},
        {ZONE_TOP_LEFT, true, 2, {294, W, SET | QUIET | KR}, {390, H, SET | KB}},
        {ZONE_TOP_RIGHT, true, 2, {306, W, SET | QUIET}, {390, H, SET | KB}},
        {ZONE_BOTTOM_LEFT, true, 2, {294, W, SET | QUIET | KR}, {410, H, SET}},
        {ZONE_BOTTOM_RIGHT, true, 2, {306, W, SET | QUIET}, {410, H, SET}},
        {ZONE_LEFT, false, 1, {294, W, SET | KR}, {}},
        {ZONE_BOTTOM_LEFT, false, 1, {294, W, SET | KR}, {}},
        {ZONE_RIGHT, false, 1, {306, W, SET}, {}},
        {ZONE_BOTTOM_RIGHT, false, 1, {306, W, SET}, {}},
        {ZONE_TOP, false, 1, {390, H, SET | KB}, {}},
        {ZONE_TOP_RIGHT, false, 1, {390, H, SET | KB}, {}},
        {ZONE_BOTTOM, false, 1, {410, H, SET}, {}},
        {ZONE_TOP_LEFT, false, 1, {294, W, SET | KR | KB}, {}},
        {ZONE_NONE, true, 0, {}, {}},
        {11, false, 0, {}, {}},
    };
    for (const auto& row : rows) {
      CAPTURE(row.zone);
      CAPTURE(row.freeMode);
      SelectionCall calls[2] = {};
      REQUIRE(DragCalls(row.zone, row.freeMode, start, 3, 5, 2.0f, calls) == row.count);
      for (int i = 0; i < row.count; ++i) {
        const SelectionCall& expected = i == 0 ? row.first : row.second;
        CHECK(calls[i].value == expected.value);
        CHECK(calls[i].field == expected.field);
        CHECK(calls[i].flags == expected.flags);
      }
    }
    // An exact half goes down whichever way the edge moves.
    SelectionCall calls[2];
    DragCalls(ZONE_INSIDE, true, start, 1, -1, 2.5f, calls);
    CHECK(calls[0].value == 102);
    CHECK(calls[1].value == 197);
    DragCalls(ZONE_LEFT, true, start, 1, 0, 2.5f, calls);
    CHECK(calls[0].value == 297);
  }

  TEST_CASE("keys, rotation and the load's update") {
    SelectionContext square = Custom(1000, 1000, 3, 2);
    const Rect wide = {0, 166, 1000, 667};
    CHECK(RectText(Key(square, wide, KEY_LEFT, true)) == "(0, 166, 999, 666)");
    CHECK(RectText(Rotate(square, wide)) == "(166, 0, 667, 1000)");
    CHECK(square.ratioSwapped);

    SelectionContext source = Source(3000, 2000);
    CHECK(RectText(Rotate(source, {0, 0, 3000, 2000})) == "(0, 0, 2000, 1333)");
    SelectionContext loose = Free(3000, 2000);
    CHECK(RectText(Rotate(loose, {0, 0, 3000, 2000})) == "(0, 0, 2000, 2000)");

    // At the right border the Right arrow changes nothing, so nothing repaints.
    Rect atBorder = {700, 100, 300, 200};
    CHECK_FALSE(ApplySelectionChange(atBorder, 1, SelectionField::X, 0, Free(1000, 800)));
    CHECK(RectText(atBorder) == "(700, 100, 300, 200)");

    // 10:1 on 96 x 96 starts 10 high; the load raises the height and caps the width.
    Rect loaded = {0, 43, 96, 10};
    CHECK(ApplySelectionChange(loaded, 0, SelectionField::X, NO_NOTIFY | BEFORE_READY,
                               Custom(96, 96, 10, 1)));
    CHECK(RectText(loaded) == "(0, 43, 96, 32)");
  }

  TEST_CASE("raising a side to the minimum never pushes the selection off the picture") {
    // 1:6 used as 6:1 on 837 x 773: the left edge dragged to a width of 190
    // leaves the height at 31.67, rounded up to 32; Shift+Up then raises the
    // width to 192 at the right border, which the rules alone would leave at
    // X 647, two pixels past the edge.
    const SelectionContext context = Custom(837, 773, 1, 6, true);
    const Rect dragged = Drag(context, {597, 183, 240, 40}, ZONE_LEFT, 50, 0);
    CHECK(RectText(dragged) == "(647, 183, 190, 32)");
    CHECK(RectText(Key(context, dragged, KEY_UP, true)) == "(645, 183, 192, 32)");
    // The keep-source-ratio rotation refits to the picture's orientation and
    // checks the other side, so 26 stays (inside the picture) until the next
    // change raises it.
    SelectionContext source = Source(759, 404);
    const Rect rotated = Rotate(source, {0, 0, 92, 49});
    CHECK(RectText(rotated) == "(0, 0, 49, 26)");
    CHECK(RectText(Key(source, rotated, KEY_RIGHT, false)) == "(1, 0, 60, 32)");
  }

  TEST_CASE("hit zones: grips 4 pixels wide on the left and top, 3 on the right and bottom") {
    const Rect outline = {100, 50, 200, 100};  // covers 100 .. 300 and 50 .. 150
    const struct {
      int32_t x, y;
      int zone;
    } rows[] = {
        {99, 100, ZONE_NONE},         {301, 100, ZONE_NONE},         {200, 49, ZONE_NONE},
        {200, 151, ZONE_NONE},        {100, 100, ZONE_LEFT},         {103, 100, ZONE_LEFT},
        {104, 100, ZONE_INSIDE},      {297, 100, ZONE_INSIDE},       {298, 100, ZONE_RIGHT},
        {300, 100, ZONE_RIGHT},       {200, 50, ZONE_TOP},           {200, 53, ZONE_TOP},
        {200, 54, ZONE_INSIDE},       {200, 147, ZONE_INSIDE},       {200, 148, ZONE_BOTTOM},
        {200, 150, ZONE_BOTTOM},      {100, 50, ZONE_TOP_LEFT},      {103, 53, ZONE_TOP_LEFT},
        {104, 53, ZONE_TOP},          {300, 150, ZONE_BOTTOM_RIGHT}, {298, 148, ZONE_BOTTOM_RIGHT},
        {300, 50, ZONE_TOP_RIGHT},    {298, 53, ZONE_TOP_RIGHT},     {100, 150, ZONE_BOTTOM_LEFT},
        {103, 148, ZONE_BOTTOM_LEFT}, {103, 147, ZONE_LEFT},
    };
    for (const auto& row : rows) {
      CAPTURE(row.x);
      CAPTURE(row.y);
      CHECK(HitTestZone(outline, row.x, row.y) == row.zone);
    }
  }

  TEST_CASE("overlapping grips of a small outline go by a fixed order") {
    // Both the left and the right grip cover columns 12 and 13.
    const Rect tiny = {10, 10, 4, 4};
    CHECK(HitTestZone(tiny, 12, 12) == ZONE_BOTTOM_RIGHT);       // all four grips
    CHECK(HitTestZone(tiny, 12, 10) == ZONE_TOP_LEFT);           // before top-right
    CHECK(HitTestZone(tiny, 10, 12) == ZONE_TOP_LEFT);           // before bottom-left
    CHECK(HitTestZone(tiny, 14, 13) == ZONE_BOTTOM_RIGHT);       // before top-right
    CHECK(HitTestZone({10, 10, 4, 20}, 12, 20) == ZONE_RIGHT);   // before left
    CHECK(HitTestZone({10, 10, 20, 4}, 20, 12) == ZONE_BOTTOM);  // before top
  }

  TEST_CASE("cursors") {
    const int rows[][2] = {{ZONE_INSIDE, 32646},
                           {ZONE_LEFT, 32644},
                           {ZONE_RIGHT, 32644},
                           {ZONE_TOP, 32645},
                           {ZONE_BOTTOM, 32645},
                           {ZONE_TOP_LEFT, 32642},
                           {ZONE_BOTTOM_RIGHT, 32642},
                           {ZONE_TOP_RIGHT, 32643},
                           {ZONE_BOTTOM_LEFT, 32643},
                           {ZONE_NONE, 32512},
                           {11, 32512}};
    for (const auto& row : rows) {
      CAPTURE(row[0]);
      CHECK(ZoneCursor(row[0]) == row[1]);
    }
  }

  TEST_CASE("keys move the selection, and size it with Shift") {
    const SelectionField X = SelectionField::X, Y = SelectionField::Y;
    const SelectionField W = SelectionField::Width, H = SelectionField::Height;
    const struct {
      int key;
      int32_t amount;
      SelectionField plain, shifted;
    } rows[] = {{KEY_RIGHT, 1, X, W},      {KEY_LEFT, -1, X, W},    {KEY_DOWN, 1, Y, H},
                {KEY_UP, -1, Y, H},        {KEY_END, 10, X, W},     {KEY_HOME, -10, X, W},
                {KEY_PAGE_DOWN, 10, Y, H}, {KEY_PAGE_UP, -10, Y, H}};
    for (const auto& row : rows) {
      CAPTURE(row.key);
      for (const bool shift : {false, true}) {
        SelectionCall call = {};
        REQUIRE(KeySelectionCall(row.key, shift, call));
        CHECK(call.value == row.amount);
        CHECK(call.field == (shift ? row.shifted : row.plain));
        CHECK(call.flags == 0u);
      }
    }
    SelectionCall call;
    CHECK_FALSE(KeySelectionCall(0x10, false, call));  // Shift itself
    CHECK_FALSE(KeySelectionCall(0x2E, true, call));   // Delete
  }

  // Random pictures, modes and changes as the window makes them. After every
  // change the selection is inside the picture, its sides are at least 32 and
  // in a ratio mode one side is the other scaled by the ratio and rounded
  // (within half a pixel: every side the rules derive comes from the other
  // through RoundHalfDown, also after a border cut or a minimum raise).
  // Two exceptions, both forced by the rules and counted below so that they
  // stay real:
  // - A picture that cannot hold the ratio at the minimum side (32 × r wider
  //   than the picture, or 32 / r taller) caps the raised side at the
  //   picture, so the ratio is lost; position and sides still hold.
  // - A rotation in keep-source-ratio mode refits the transposed rectangle to
  //   the picture's orientation but checks the minimum on the side that was
  //   shorter in the transposed orientation, so the other side may be left
  //   below 32 (759 x 404: (0, 0, 92, 49) gives (0, 0, 49, 26)). The next
  //   change that is not a rotation raises it, and is checked in full.
  TEST_CASE("random changes keep the selection on the picture, at its minimum and its ratio") {
    std::mt19937 random(20240611);
    const auto pick = [&random](int low, int high) {
      return std::uniform_int_distribution<int>(low, high)(random);
    };
    constexpr int ZONES[] = {ZONE_INSIDE,   ZONE_LEFT,        ZONE_TOP,
                             ZONE_TOP_LEFT, ZONE_RIGHT,       ZONE_TOP_RIGHT,
                             ZONE_BOTTOM,   ZONE_BOTTOM_LEFT, ZONE_BOTTOM_RIGHT};
    int unholdableSteps = 0;
    int shortAfterRotation = 0;
    for (int trial = 0; trial < 20000; ++trial) {
      const int32_t side = pick(0, 3) == 0 ? 200 : 4000;  // small pictures meet the limits
      const int term = pick(0, 4) == 0 ? 99999 : 20;
      SelectionContext context = {pick(96, side),
                                  pick(96, side),
                                  static_cast<uint32_t>(pick(0, 2)),
                                  static_cast<uint32_t>(pick(1, term)),
                                  static_cast<uint32_t>(pick(1, term)),
                                  pick(0, 1) == 1};
      const int32_t imageW = context.imageWidth, imageH = context.imageHeight;
      const bool freeMode = context.ratioMode == RATIO_MODE_FREE;
      // The load's selection, or one at the ratio that may touch the borders.
      const InitialSelection initial =
          ComputeInitialSelection(imageW, imageH, context.ratioMode, context.ratioWidth,
                                  context.ratioHeight, context.ratioSwapped);
      context.ratioSwapped = initial.ratioSwapped;
      Rect crop = initial.rect;
      ApplySelectionChange(crop, 0, SelectionField::X, NO_NOTIFY | BEFORE_READY, context);
      const float startRatio = SelectionRatio(context);
      const int32_t w = pick(32, pick(0, 1) ? imageW : std::min(imageW, 200));
      const int32_t h =
          startRatio > 0 ? RoundHalfDown(static_cast<float>(w) / startRatio) : pick(32, imageH);
      if (pick(0, 1) && h >= 32 && h <= imageH) {
        crop = {pick(0, 2) ? pick(0, imageW - w) : imageW - w,
                pick(0, 2) ? pick(0, imageH - h) : imageH - h, w, h};
      }
      std::vector<Rect> path = {crop};
      for (int step = 0; step < 30; ++step) {
        const int kind = pick(0, 9);
        if (kind < 4) {
          SelectionCall call;
          KeySelectionCall(pick(KEY_PAGE_UP, KEY_DOWN), pick(0, 1) == 1, call);
          ApplySelectionChange(crop, call.value, call.field, call.flags, context);
        } else if (kind < 8) {
          // A drag of a few moves, each from the rectangle where it began.
          const Rect start = crop;
          const int zone = ZONES[pick(0, 8)];
          const float scale = pick(0, 1) ? 1.0f : static_cast<float>(pick(100, 4000)) / 100.0f;
          for (int moves = pick(1, 3); moves > 0; --moves) {
            const int reach = std::array{3, 30, 1500}[pick(0, 2)];
            SelectionCall calls[2];
            const int count = DragCalls(zone, freeMode, start, pick(-reach, reach),
                                        pick(-reach, reach), scale, calls);
            for (int i = 0; i < count; ++i) {
              ApplySelectionChange(crop, calls[i].value, calls[i].field, calls[i].flags, context);
            }
          }
        } else if (kind == 8) {
          // Any field set straight, with an anchor that a drag passes for it.
          const auto field = static_cast<SelectionField>(pick(1, 4));
          const unsigned widthAnchors[] = {0, KEEP_RIGHT, KEEP_RIGHT | KEEP_BOTTOM};
          unsigned flags = SET_VALUE;
          if (field == SelectionField::Width) flags |= widthAnchors[pick(0, freeMode ? 1 : 2)];
          if (field == SelectionField::Height && pick(0, 1)) flags |= KEEP_BOTTOM;
          ApplySelectionChange(crop, pick(-imageW, 2 * imageW), field, flags, context);
        } else {
          crop = Rotate(context, crop);
        }
        path.push_back(crop);

        const float r = SelectionRatio(context);
        const bool unholdable =
            r > 0 && (RoundHalfDown(r * 32.0f) > imageW || RoundHalfDown(32.0f / r) > imageH);
        const bool shortSide = crop.width < MIN_SELECTION_SIDE || crop.height < MIN_SELECTION_SIDE;
        const bool sourceRotation = kind == 9 && context.ratioMode == RATIO_MODE_SOURCE;
        unholdableSteps += unholdable;
        shortAfterRotation += sourceRotation && shortSide;
        const char* broken = nullptr;
        if (crop.x < 0 || crop.y < 0 || crop.x + crop.width > imageW ||
            crop.y + crop.height > imageH) {
          broken = "outside the picture";
        } else if (shortSide && !sourceRotation) {
          broken = "a side below 32";
        } else if (r > 0 && !unholdable) {
          const float width = static_cast<float>(crop.width);
          const float height = static_cast<float>(crop.height);
          if (std::fabs(height - width / r) > 0.5f && std::fabs(width - r * height) > 0.5f) {
            broken = "off the ratio";
          }
        }
        if (broken) {
          std::string history = std::to_string(imageW) + " x " + std::to_string(imageH) + " mode " +
                                std::to_string(context.ratioMode) + " ratio " +
                                std::to_string(context.ratioWidth) + ":" +
                                std::to_string(context.ratioHeight) + ":";
          for (const Rect& rect : path) history += " " + RectText(rect);
          INFO(history);
          FAIL(std::string(broken));
        }
      }
    }
    CHECK(unholdableSteps > 0);
    CHECK(shortAfterRotation > 0);
  }
}
