#include "app/layout_rules.h"

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

void StatusPartEdges(int32_t width, int32_t edges[4]) {
  edges[0] = width - 480;
  edges[1] = width - 350;
  edges[2] = width - 220;
  edges[3] = -1;
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
