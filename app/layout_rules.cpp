#include "app/layout_rules.h"

#include <algorithm>

PaneLayout ComputePaneLayout(const Box& area, int32_t splitter, bool fileListShown) {
  PaneLayout layout = {};
  if (!fileListShown) {
    layout.splitter = splitter;
    layout.editor = area;
    return layout;
  }
  if (splitter < MIN_FILE_LIST_WIDTH) splitter = MIN_FILE_LIST_WIDTH;
  if (area.right - splitter - SPLITTER_WIDTH < MIN_EDITOR_WIDTH) {
    splitter = area.right - SPLITTER_WIDTH - MIN_EDITOR_WIDTH;
  }
  layout.splitter = splitter;
  layout.fileList = {area.left, area.top, area.left + splitter, area.bottom};
  layout.editor = {splitter + SPLITTER_WIDTH, area.top, area.right, area.bottom};
  return layout;
}

int StatusPartEdges(int32_t width, bool progress, int32_t edges[STATUS_PARTS_MOST]) {
  constexpr int32_t PART_WIDTH = 130;  // the position's, the picture size's, the progress's
  constexpr int32_t SELECTION_WIDTH = 220;
  constexpr int32_t LEAST_WIDTH = 100;  // what the file name and the selection keep
  edges[0] = width - 2 * PART_WIDTH - SELECTION_WIDTH;
  int32_t selection = SELECTION_WIDTH;
  if (progress) {
    // The progress takes its room from the file name's, then from the
    // selection's, each kept at its least width while there is room.
    edges[0] -= PART_WIDTH;
    const int32_t taken = std::clamp(LEAST_WIDTH - edges[0], 0, SELECTION_WIDTH - LEAST_WIDTH);
    edges[0] = std::max(0, edges[0] + taken);
    selection -= taken;
  }
  edges[1] = edges[0] + PART_WIDTH;
  edges[2] = edges[1] + PART_WIDTH;
  edges[3] = progress ? edges[2] + selection : -1;
  edges[4] = -1;
  return progress ? 5 : 4;
}

bool IsOnSplitter(int32_t xFromListLeft, int32_t y, int32_t splitter, int32_t listTop,
                  int32_t listBottom) {
  return xFromListLeft >= splitter && xFromListLeft < splitter + SPLITTER_WIDTH && y >= listTop &&
         y < listBottom;
}

MenuPoint KeyboardMenuPoint(const Box& control, const MenuPoint* item) {
  constexpr int32_t INSET = 8;
  if (item == nullptr || item->y >= control.bottom - control.top) {
    return {control.left + INSET, control.top + INSET};
  }
  return {control.left + item->x + INSET, control.top + item->y + INSET};
}
