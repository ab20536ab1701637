// Where the main window's panes go. Pure.
#pragma once

#include <cstdint>

#include "base/geometry.h"

constexpr int32_t SPLITTER_WIDTH = 3;
constexpr int32_t MIN_FILE_LIST_WIDTH = 30;
constexpr int32_t MIN_EDITOR_WIDTH = 300;
constexpr int32_t MIN_WINDOW_WIDTH = 580;
constexpr int32_t MIN_WINDOW_HEIGHT = 420;

struct PaneLayout {
  int32_t splitter;  // the file list's width after the clamps
  Box fileList;      // empty when the list is hidden
  Box editor;
};

// Places the file list and the editor pane in `area`, the client area left
// by the bars. The splitter is held at 30 pixels or more, and then so that
// the editor keeps 300 pixels, which wins in a narrow window.
PaneLayout ComputePaneLayout(const Box& area, int32_t splitter, bool fileListShown);

// Where a context menu opened from the keyboard goes: 8 pixels inside the
// control's top-left corner, or by the selected item when it is in view.
// `item` is the item's position inside the control; null when none.
struct MenuPoint {
  int32_t x;
  int32_t y;
};
MenuPoint KeyboardMenuPoint(const Box& control, const MenuPoint* item);

// The most parts the status bar has: its four, and the progress of work in
// the background while there is any.
constexpr int STATUS_PARTS_MOST = 5;

// The right edges of the status bar's parts for a bar `width` wide, with the
// progress part at the right when `progress`; how many parts there are.
int StatusPartEdges(int32_t width, bool progress, int32_t edges[STATUS_PARTS_MOST]);

// Whether a point (x relative to the file list's left edge, y in the same
// coordinates as the list's top and bottom) is on the splitter.
bool IsOnSplitter(int32_t xFromListLeft, int32_t y, int32_t splitter, int32_t listTop,
                  int32_t listBottom);
