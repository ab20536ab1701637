// The selection's input: the one update that every change goes through,
// the hit zones and cursors, the mouse drag, the keys and the rotation.
#include <windowsx.h>

#include "editor/editor.h"
#include "editor/editor_state.h"
#include "resources/resource.h"
#include "settings/settings.h"

SelectionContext CurrentSelectionContext() {
  EditorState& editor = Editor();
  const Options& options = Settings().options;
  return {static_cast<int32_t>(editor.source.Width()),
          static_cast<int32_t>(editor.source.Height()),
          options.ResizeRatioMode,
          options.ResizeRatioWidth,
          options.ResizeRatioHeight,
          editor.ratioSwapped};
}

namespace {

bool CanWorkOnSelection() {
  const EditorState& editor = Editor();
  return !Settings().options.ViewOnlyImages && editor.ready && editor.source;
}

void HitTestSelection() {
  EditorState& editor = Editor();
  editor.drag.hoverZone = ZONE_NONE;
  if (!CanWorkOnSelection()) return;
  POINT origin = {editor.screen.x, editor.screen.y};
  ClientToScreen(editor.pane, &origin);
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;
  const Rect outline = {origin.x, origin.y, editor.screen.width, editor.screen.height};
  editor.drag.hoverZone = HitTestZone(outline, cursor.x, cursor.y);
}

// Runs one step of a drag: one or two updates, at most one repaint.
void DragTo(int32_t x, int32_t y) {
  const EditorDrag& drag = Editor().drag;
  SelectionCall calls[2];
  const bool freeMode = Settings().options.ResizeRatioMode == RATIO_MODE_FREE;
  const int count = DragCalls(drag.zone, freeMode, drag.startRect, x - drag.startX, y - drag.startY,
                              drag.scale, calls);
  bool changed = false;
  for (int i = 0; i < count; ++i) {
    const unsigned force = i > 0 && changed ? FORCE_NOTIFY : 0u;
    changed = UpdateSelection(calls[i].value, calls[i].field, calls[i].flags | force);
  }
}

}  // namespace

bool UpdateSelection(int32_t value, SelectionField field, unsigned flags) {
  EditorState& editor = Editor();
  if (Settings().options.ViewOnlyImages || (!editor.ready && (flags & BEFORE_READY) == 0) ||
      !editor.source) {
    return false;
  }
  const bool changed =
      ApplySelectionChange(editor.crop, value, field, flags, CurrentSelectionContext());
  if ((flags & NO_NOTIFY) != 0) return changed;
  if (changed || (flags & FORCE_NOTIFY) != 0) {
    SendMessageW(editor.pane, WM_EDITOR_REPAINT, 1, 0);
    SendMessageW(editor.pane, WM_SETCURSOR, 0, 0);
    NotifyParent(EDITOR_CHANGED);
  }
  return changed;
}

void RefreshSelection() { UpdateSelection(0, SelectionField::X, NO_NOTIFY | BEFORE_READY); }

void RotateSelection() {
  // The ratio turns with the rectangle; otherwise the transposed rectangle
  // would be cut back to the old ratio.
  EditorState& editor = Editor();
  if (Settings().options.ViewOnlyImages || !editor.ready || !editor.source) return;
  editor.ratioSwapped = !editor.ratioSwapped;
  UpdateSelection(0, SelectionField::None, 0);
}

LRESULT OnEditorSetCursor() {
  HitTestSelection();
  const EditorDrag& drag = Editor().drag;
  const int zone = drag.active ? drag.zone : drag.hoverZone;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(ZoneCursor(zone))));
  return TRUE;
}

void OnEditorButtonDown(LPARAM point) {
  EditorState& editor = Editor();
  SetFocus(editor.pane);
  EditorDrag& drag = editor.drag;
  if ((drag.hoverZone & ZONE_INSIDE) == 0) return;
  drag.active = true;
  drag.zone = drag.hoverZone;
  drag.startX = GET_X_LPARAM(point);
  drag.startY = GET_Y_LPARAM(point);
  drag.scale = ComputeDragScale(editor.crop.width, editor.screen.width);
  drag.startRect = editor.crop;
  SetCapture(editor.pane);
}

void OnEditorMouseMove(LPARAM point) {
  if (!Editor().drag.active) return;
  DragTo(GET_X_LPARAM(point), GET_Y_LPARAM(point));
}

void EndEditorDrag() {
  EditorDrag& drag = Editor().drag;
  if (!drag.active) return;
  drag.active = false;
  ReleaseCapture();
}

void OnEditorButtonUp() { EndEditorDrag(); }

void OnEditorCancel() {
  EditorState& editor = Editor();
  if (!editor.drag.active) return;
  EndEditorDrag();
  editor.crop = editor.drag.startRect;
  UpdateSelection(0, SelectionField::X, FORCE_NOTIFY);
}

void OnEditorKeyDown(WPARAM key) {
  EditorState& editor = Editor();
  if (key == VK_SHIFT) {
    editor.shiftDown = true;
    return;
  }
  SelectionCall call;
  if (KeySelectionCall(static_cast<int>(key), editor.shiftDown, call)) {
    UpdateSelection(call.value, call.field, call.flags);
  }
}

void OnEditorKeyUp(WPARAM key) {
  if (key == VK_SHIFT) Editor().shiftDown = false;
}
