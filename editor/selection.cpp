// The selection's input: the one update that every change goes through,
// the hit zones and cursors, the mouse drag, the keys and the rotation.
#include <windowsx.h>

#include "editor/editor_state.h"
#include "resources/resource.h"

SelectionContext CurrentSelectionContext(const EditorState& editor) {
  const EditorOptions& options = editor.options;
  const bool shown = editor.HasPicture();
  return {shown ? static_cast<int32_t>(editor.picture->source.Width()) : 0,
          shown ? static_cast<int32_t>(editor.picture->source.Height()) : 0,
          options.ratioMode,
          options.ratioWidth,
          options.ratioHeight,
          editor.ratioSwapped,
          LosslessGrid(editor)};
}

bool CutsLosslessly(const EditorState& editor) {
  return editor.HasPicture() && editor.options.lossless && editor.picture->losslessGrid.width != 0;
}

Size LosslessGrid(const EditorState& editor) {
  if (!CutsLosslessly(editor)) return {1, 1};
  const JpegBlocks grid = editor.picture->losslessGrid;
  return {static_cast<int32_t>(grid.width), static_cast<int32_t>(grid.height)};
}

namespace {

bool CanWorkOnSelection(const EditorState& editor) {
  return !editor.options.viewOnly && editor.ready && editor.HasPicture();
}

void HitTestSelection(EditorState& editor) {
  editor.drag.hoverZone = ZONE_NONE;
  if (!CanWorkOnSelection(editor)) return;
  POINT origin = {editor.screen.x, editor.screen.y};
  ClientToScreen(editor.pane, &origin);
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;
  const Rect outline = {origin.x, origin.y, editor.screen.width, editor.screen.height};
  editor.drag.hoverZone = HitTestZone(outline, cursor.x, cursor.y);
}

// Runs one step of a drag: one or two updates, at most one repaint.
void DragTo(EditorState& editor, int32_t x, int32_t y) {
  const EditorDrag& drag = editor.drag;
  SelectionCall calls[2];
  const bool freeMode = editor.options.ratioMode == RATIO_MODE_FREE;
  const int count = DragCalls(drag.zone, freeMode, drag.startRect, x - drag.startX, y - drag.startY,
                              drag.scale, calls, LosslessGrid(editor));
  bool changed = false;
  for (int i = 0; i < count; ++i) {
    const unsigned force = i > 0 && changed ? FORCE_NOTIFY : 0u;
    changed = UpdateSelection(editor, calls[i].value, calls[i].field, calls[i].flags | force);
  }
}

}  // namespace

bool UpdateSelection(EditorState& editor, int32_t value, SelectionField field, unsigned flags) {
  if (editor.options.viewOnly || (!editor.ready && (flags & BEFORE_READY) == 0) ||
      !editor.HasPicture()) {
    return false;
  }
  const bool changed =
      ApplySelectionChange(editor.crop, value, field, flags, CurrentSelectionContext(editor));
  if ((flags & NO_NOTIFY) != 0) return changed;
  if (changed || (flags & FORCE_NOTIFY) != 0) {
    SendMessageW(editor.pane, WM_EDITOR_REPAINT, 1, 0);
    SendMessageW(editor.pane, WM_SETCURSOR, 0, 0);
    NotifyParent(editor, EDITOR_CHANGED);
  }
  return changed;
}

LRESULT OnEditorSetCursor(EditorState& editor) {
  HitTestSelection(editor);
  const EditorDrag& drag = editor.drag;
  const int zone = drag.active ? drag.zone : drag.hoverZone;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(ZoneCursor(zone))));
  return TRUE;
}

void OnEditorButtonDown(EditorState& editor, LPARAM point) {
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

void OnEditorMouseMove(EditorState& editor, LPARAM point) {
  if (!editor.drag.active) return;
  DragTo(editor, GET_X_LPARAM(point), GET_Y_LPARAM(point));
}

void EndEditorDrag(EditorState& editor) {
  EditorDrag& drag = editor.drag;
  if (!drag.active) return;
  drag.active = false;
  ReleaseCapture();
}

void OnEditorButtonUp(EditorState& editor) { EndEditorDrag(editor); }

void OnEditorCancel(EditorState& editor) {
  if (!editor.drag.active) return;
  EndEditorDrag(editor);
  editor.crop = editor.drag.startRect;
  UpdateSelection(editor, 0, SelectionField::X, FORCE_NOTIFY);
}

void OnEditorKeyDown(EditorState& editor, WPARAM key) {
  if (key == VK_SHIFT) {
    editor.shiftDown = true;
    return;
  }
  SelectionCall call;
  if (KeySelectionCall(static_cast<int>(key), editor.shiftDown, call, LosslessGrid(editor))) {
    UpdateSelection(editor, call.value, call.field, call.flags);
  }
}

void OnEditorKeyUp(EditorState& editor, WPARAM key) {
  if (key == VK_SHIFT) editor.shiftDown = false;
}
