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
  // The progress part takes its room from the file name's.
  constexpr int32_t PROGRESS_WIDTH = 170;
  const int32_t right = progress ? width - PROGRESS_WIDTH : width;
  edges[0] = std::max(0, right - 480);
  edges[1] = std::max(edges[0], right - 350);
  edges[2] = std::max(edges[1], right - 220);
  edges[3] = progress ? std::max(edges[2], right) : -1;
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
