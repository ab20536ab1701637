#include "editor/selection_rules.h"
#include "tests/support/rect_text.h"

static SelectionContext Custom(int32_t width, int32_t height, uint32_t ratioWidth,
                               uint32_t ratioHeight, bool swapped = false) {
  return {width, height, RATIO_MODE_CUSTOM, ratioWidth, ratioHeight, swapped};
}
const SelectionContext FREE = {1000, 800, RATIO_MODE_FREE, 3, 2, false};
const SelectionContext RATIO = Custom(1000, 800, 3, 2);

static Rect Apply(const SelectionContext& context, Rect crop, SelectionCall call) {
  ApplySelectionChange(crop, call.value, call.field, call.flags, context);
  return crop;
}

// The rule alone transposes; the context carries the flag the editor has
// already turned.
static Rect Rotate(const SelectionContext& context, const Rect& crop) {
  return Apply(context, crop, {0, SelectionField::None, 0});
}

static Rect Key(const SelectionContext& context, const Rect& crop, int key, bool shift) {
  SelectionCall call;
  REQUIRE(KeySelectionCall(key, shift, call, context.grid));
  return Apply(context, crop, call);
}

// One mouse move of a drag that began in `zone` at `start`, as the pane runs it.
static Rect Drag(const SelectionContext& context, Rect crop, int zone, int32_t dx, int32_t dy,
                 float scale = 1.0f) {
  SelectionCall calls[2] = {};
  const int count =
      DragCalls(zone, context.ratioMode == RATIO_MODE_FREE, crop, dx, dy, scale, calls,
                context.grid);
  for (int i = 0; i < count; ++i) crop = Apply(context, crop, calls[i]);
  return crop;
}

TEST_CASE("a drag step sizes from where the drag began, a free corner quietly first") {
  const Rect s = {100, 200, 300, 400};
  SelectionCall calls[2];
  REQUIRE(DragCalls(ZONE_TOP_LEFT, true, s, 3, 5, 2.0f, calls) == 2);
  CHECK(calls[0].value == 294);
  CHECK(calls[0].flags == (SET_VALUE | NO_NOTIFY | KEEP_RIGHT));
  CHECK(calls[1].value == 390);
  CHECK(calls[1].flags == (SET_VALUE | KEEP_BOTTOM));
  REQUIRE(DragCalls(ZONE_INSIDE, false, s, 3, 5, 2.0f, calls) == 2);
  CHECK(calls[0].flags == (SET_VALUE | NO_NOTIFY));
  CHECK(DragCalls(11, false, s, 3, 5, 2.0f, calls) == 0);  // not a zone
  // An exact half goes down whichever way the edge moves.
  CHECK(Drag(FREE, s, ZONE_INSIDE, 1, -1, 2.5f) == Rect{102, 197, 300, 400});
  CHECK(Drag(FREE, s, ZONE_LEFT, 1, 0, 2.5f) == Rect{103, 200, 297, 400});
}

TEST_CASE("dragging an edge or a corner keeps the minimum side, the borders and the ratio") {
  const Rect s = {100, 100, 300, 200};
  // Free: a dragged near edge keeps the far one.
  CHECK(Drag(FREE, s, ZONE_RIGHT, -280, 0) == Rect{100, 100, 32, 200});
  CHECK(Drag(FREE, s, ZONE_LEFT, 350, 0) == Rect{368, 100, 32, 200});
  CHECK(Drag(FREE, s, ZONE_TOP, 0, 250) == Rect{100, 268, 300, 32});
  CHECK(Drag(FREE, s, ZONE_BOTTOM_RIGHT, 800, 800) == Rect{100, 100, 900, 700});
  CHECK(Drag(FREE, {600, 100, 300, 200}, ZONE_INSIDE, 300, 0) == Rect{700, 100, 300, 200});
  // 3:2, top-left: an overshoot past the left border comes off the width.
  CHECK(Drag(RATIO, s, ZONE_TOP_LEFT, -300, 0) == Rect{0, 33, 400, 267});
  CHECK(Drag(RATIO, s, ZONE_TOP_LEFT, 280, 0) == Rect{352, 268, 48, 32});
  CHECK(Drag(RATIO, {300, 50, 300, 200}, ZONE_TOP_LEFT, -300, 0) == Rect{225, 0, 375, 250});
  // Landing exactly on the top border keeps the dragged width (302, not 301).
  CHECK(Drag(RATIO, {200, 1, 300, 200}, ZONE_TOP_LEFT, -2, 0) == Rect{198, 0, 302, 201});
  // The side that leads is cut by the bottom or the right border.
  CHECK(Drag(RATIO, {100, 500, 300, 200}, ZONE_RIGHT, 300, 0) == Rect{100, 500, 450, 300});
  CHECK(Drag(RATIO, {100, 500, 300, 200}, ZONE_BOTTOM, 0, 200) == Rect{100, 500, 450, 300});
  CHECK(Drag(RATIO, {600, 100, 300, 200}, ZONE_BOTTOM, 0, 100) == Rect{600, 100, 400, 267});
  CHECK(Drag(RATIO, {600, 400, 300, 200}, ZONE_TOP_RIGHT, 0, -100) == Rect{600, 333, 400, 267});
  CHECK(Drag(RATIO, {600, 100, 300, 200}, ZONE_INSIDE, -700, -150) == Rect{0, 0, 300, 200});
  // A portrait ratio checks the width against the minimum.
  CHECK(Drag(Custom(800, 1000, 2, 3), {100, 100, 200, 300}, ZONE_TOP_LEFT, 190, 0) ==
        Rect{268, 352, 32, 48});
}

TEST_CASE("the ratio of each mode; keys move the selection, and size it with Shift") {
  CHECK(SelectionRatio(Custom(100, 100, 3, 2, true)) == 2.0f / 3.0f);
  CHECK(SelectionRatio({100, 100, 7, 3, 2, false}) == 1.5f);  // unknown mode: custom
  CHECK(SelectionRatio({759, 404, RATIO_MODE_SOURCE, 3, 2, true}) == 759.0f / 404.0f);
  const Rect s = {100, 100, 300, 200};
  CHECK(Key(FREE, s, KEY_LEFT, false) == Rect{99, 100, 300, 200});
  CHECK(Key(FREE, s, KEY_END, true) == Rect{100, 100, 310, 200});
  CHECK(Key(RATIO, s, KEY_LEFT, true) == Rect{100, 100, 299, 199});
  SelectionCall call;
  CHECK_FALSE(KeySelectionCall(0x10, true, call));  // Shift itself
  // At the right border the Right arrow changes nothing, so nothing repaints.
  Rect atBorder = {700, 100, 300, 200};
  CHECK_FALSE(ApplySelectionChange(atBorder, 1, SelectionField::X, 0, FREE));
  CHECK(atBorder == Rect{700, 100, 300, 200});
}

TEST_CASE("rotation transposes to the ratio the context gives") {
  CHECK(Rotate(Custom(1000, 1000, 3, 2, true), {0, 166, 1000, 667}) == Rect{166, 0, 667, 1000});
  CHECK(Rotate({3000, 2000, RATIO_MODE_SOURCE, 3, 2, true}, {0, 0, 3000, 2000}) ==
        Rect{0, 0, 2000, 1333});
  CHECK(Rotate({3000, 2000, RATIO_MODE_FREE, 3, 2, true}, {0, 0, 3000, 2000}) ==
        Rect{0, 0, 2000, 2000});
  // Regression: a free selection near the bottom border was stretched to
  // it; it keeps its size, moved up only where it would leave the picture.
  CHECK(Rotate(FREE, {600, 700, 120, 90}) == Rect{700, 600, 90, 120});
  CHECK(Rotate(FREE, {600, 740, 250, 60}) == Rect{740, 550, 60, 250});
  // The source's ratio refits to the picture and checks the other side,
  // so 26 stays until the next change raises it.
  const SelectionContext source = {759, 404, RATIO_MODE_SOURCE, 3, 2, true};
  CHECK(Rotate(source, {0, 0, 92, 49}) == Rect{0, 0, 49, 26});
  CHECK(Key(source, {0, 0, 49, 26}, KEY_RIGHT, false) == Rect{1, 0, 60, 32});
}

TEST_CASE("raising a side to the minimum never pushes the selection off the picture") {
  // 1:6 used as 6:1 on 837 x 773: the left edge dragged to a width of 190
  // leaves the height at 31.67, rounded up to 32; Shift+Up then raises the
  // width to 192 at the right border, which alone would leave X at 647.
  const SelectionContext context = Custom(837, 773, 1, 6, true);
  CHECK(Drag(context, {597, 183, 240, 40}, ZONE_LEFT, 50, 0) == Rect{647, 183, 190, 32});
  CHECK(Key(context, {647, 183, 190, 32}, KEY_UP, true) == Rect{645, 183, 192, 32});
  // 10:1 on 96 x 96 starts 10 high; the load raises the height and caps the width.
  const SelectionCall load = {0, SelectionField::X, NO_NOTIFY | BEFORE_READY};
  CHECK(Apply(Custom(96, 96, 10, 1), {0, 43, 96, 10}, load) == Rect{0, 43, 96, 32});
}

TEST_CASE("hit zones: grips 4 pixels wide on the left and top, 3 on the right and bottom") {
  const Rect outline = {100, 50, 200, 100};  // lines on 100 .. 300 and 50 .. 150
  const int rows[][3] = {
      {99, 100, ZONE_NONE},      {103, 100, ZONE_LEFT},        {104, 54, ZONE_INSIDE},
      {297, 147, ZONE_INSIDE},   {298, 100, ZONE_RIGHT},       {300, 100, ZONE_RIGHT},
      {301, 100, ZONE_NONE},     {200, 49, ZONE_NONE},         {200, 53, ZONE_TOP},
      {200, 148, ZONE_BOTTOM},   {200, 151, ZONE_NONE},        {100, 50, ZONE_TOP_LEFT},
      {298, 53, ZONE_TOP_RIGHT}, {103, 148, ZONE_BOTTOM_LEFT}, {300, 150, ZONE_BOTTOM_RIGHT}};
  for (const auto& [x, y, zone] : rows) CHECK(HitTestZone(outline, x, y) == zone);
  // On a small outline the grips overlap and a fixed order decides.
  CHECK(HitTestZone({10, 10, 4, 4}, 12, 12) == ZONE_BOTTOM_RIGHT);  // all four grips
  CHECK(HitTestZone({10, 10, 4, 4}, 12, 10) == ZONE_TOP_LEFT);      // before top-right
  CHECK(HitTestZone({10, 10, 4, 20}, 12, 20) == ZONE_RIGHT);        // before left
  CHECK(HitTestZone({10, 10, 20, 4}, 20, 12) == ZONE_BOTTOM);       // before top
}

TEST_CASE("on a lossless crop's grid the left and top edges stay on it, the far ones go anywhere") {
  SelectionContext grid = RATIO;
  grid.grid = {16, 8};
  const Rect s = {32, 16, 300, 200};
  // A key that moves a pixel moves a step; ten pixels are the nearest steps.
  CHECK(Key(grid, s, KEY_RIGHT, false) == Rect{48, 16, 300, 200});
  CHECK(Key(grid, s, KEY_UP, false) == Rect{32, 8, 300, 200});
  CHECK(Key(grid, s, KEY_HOME, false) == Rect{16, 16, 300, 200});
  CHECK(Key(grid, s, KEY_RIGHT, true) == Rect{32, 16, 301, 201});  // sizes by a pixel
  // A moving selection snaps to the nearest line; a dragged left edge too,
  // its right edge staying.
  CHECK(Drag(grid, s, ZONE_INSIDE, 9, 3) == Rect{48, 16, 300, 200});
  CHECK(Drag(grid, s, ZONE_LEFT, 20, 0) == Rect{48, 16, 284, 189});
  // Pushed against the border or turned, it goes left and up to the grid.
  CHECK(Drag(grid, s, ZONE_INSIDE, 900, 900) == Rect{688, 600, 300, 200});
  CHECK(Rotate(grid, {100, 36, 300, 200}) == Rect{32, 96, 200, 133});
}
