// The selection rectangle's rules: every change keeps it inside the picture,
// at least 32 pixels a side and, unless the selection is free, at its ratio.
// Also the hit zones, their cursors, and what a drag step or a key asks for.
// Pure.
#pragma once

#include <cstdint>

#include "editor/geometry.h"

constexpr int32_t MIN_SELECTION_SIDE = 32;

enum class SelectionField { None, X, Y, Width, Height };  // None: transpose

enum SelectionFlag : unsigned {
  SET_VALUE = 1,      // store the value instead of adding it
  NO_NOTIFY = 2,      // no repaint, cursor refresh or status text
  FORCE_NOTIFY = 4,   // notify even when nothing changed
  KEEP_RIGHT = 8,     // the right edge stays when the width changes
  KEEP_BOTTOM = 16,   // the bottom edge stays when the height changes
  BEFORE_READY = 32,  // allowed while the load is not finished
};

// What the rules need to know besides the rectangle.
struct SelectionContext {
  int32_t imageWidth;
  int32_t imageHeight;
  uint32_t ratioMode;  // RATIO_MODE_*; any other value counts as custom
  uint32_t ratioWidth;
  uint32_t ratioHeight;
  bool ratioSwapped;
  // The left and top edges stay on multiples of these (a lossless JPEG
  // crop's block grid); 1 when they go anywhere.
  Size grid = {1, 1};
};

// Width over height that the selection keeps; 0 for a free selection.
float SelectionRatio(const SelectionContext& context);

// Applies one change to `crop`: sets or adds `value` to `field` (or
// transposes), then keeps the anchors, the picture's borders, the ratio and
// the minimum side, and finally keeps the rectangle inside the picture with
// its left and top edges on the grid (moved left and up to it, sizes kept).
// Returns true when `crop` changed. Guards and notification are the
// caller's.
bool ApplySelectionChange(Rect& crop, int32_t value, SelectionField field, unsigned flags,
                          const SelectionContext& context);

// The frame of the picture before, kept for the next one (of the context's
// size): the same rectangle on a picture of the same size, otherwise the
// same position and size in proportion to the picture, its height then
// following its width at the ratio; both kept inside the picture and at the
// minimum side.
Rect KeepFrame(const Rect& frame, Size from, const SelectionContext& context);

// Hit zones: bit 1 on the selection, 2 left, 4 top, 8 right, 16 bottom.
enum SelectionZone : int {
  ZONE_NONE = 0,
  ZONE_INSIDE = 1,
  ZONE_LEFT = 3,
  ZONE_TOP = 5,
  ZONE_TOP_LEFT = 7,
  ZONE_RIGHT = 9,
  ZONE_TOP_RIGHT = 13,
  ZONE_BOTTOM = 17,
  ZONE_BOTTOM_LEFT = 19,
  ZONE_BOTTOM_RIGHT = 25,
};

// The zone of point (x, y) for an outline drawn at `outline` (pane or
// screen pixels, its lines covering x .. x + width and y .. y + height).
int HitTestZone(const Rect& outline, int32_t x, int32_t y);

// The system cursor for a zone (the numeric IDC_ value, e.g. 32646 for the
// four-way arrow).
int ZoneCursor(int zone);

// One UpdateSelection call.
struct SelectionCall {
  int32_t value;
  SelectionField field;
  unsigned flags;
};

// The calls that one mouse move of a drag makes: the drag began in `zone`
// with the selection at `start`; the mouse has moved (dx, dy) pane pixels.
// Returns 1 or 2 (0 for a zone off the selection). When there are two, the
// caller adds FORCE_NOTIFY to the second if the first changed the selection.
// On a grid, the dragged left or top edge goes to its nearest grid line.
int DragCalls(int zone, bool freeMode, const Rect& start, int32_t dx, int32_t dy, float dragScale,
              SelectionCall calls[2], Size grid = {1, 1});

// Virtual-key codes of the keys that move and size the selection.
constexpr int KEY_PAGE_UP = 0x21;
constexpr int KEY_PAGE_DOWN = 0x22;
constexpr int KEY_END = 0x23;
constexpr int KEY_HOME = 0x24;
constexpr int KEY_LEFT = 0x25;
constexpr int KEY_UP = 0x26;
constexpr int KEY_RIGHT = 0x27;
constexpr int KEY_DOWN = 0x28;

// The call a key makes (position without Shift, size with it); false for a
// key that does nothing to the selection. On a grid a move goes by whole
// steps of it: one for a pixel, the nearest number of them for ten.
bool KeySelectionCall(int virtualKey, bool shift, SelectionCall& call, Size grid = {1, 1});
