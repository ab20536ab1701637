// The editor's state, shared by its loading, painting and selection code,
// each of which is handed it. Nothing outside editor/ includes this.
#pragma once

#include <windows.h>

#include <memory>

#include "base/gdiplus_objects.h"
#include "base/text.h"
#include "editor/editor.h"
#include "editor/geometry.h"
#include "editor/picture_decode.h"
#include "editor/selection_rules.h"

struct EditorDrag {
  bool active = false;
  int hoverZone = 0;
  int zone = 0;
  int startX = 0;
  int startY = 0;
  Rect startRect = {};
  float scale = 1.0f;
};

// The pane's picture without the outline, kept from the last full repaint,
// so that a moving selection only puts back the strips under its old
// outline: a few small blits instead of GDI+ drawing the picture again.
struct PaneImage {
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
  bool current = false;  // drawn for the picture and previews shown now
};

struct EditorState {
  HWND pane = nullptr;
  WNDPROC paneProc = nullptr;
  ULONG_PTR gdiplusToken = 0;
  EditorOptions options;
  std::unique_ptr<DecodedPicture> picture;  // what is shown, with its copy or stream
  GdiBitmap panePreview;                    // exactly the size shown; dropped on resize
  PaneImage paneImage;
  std::shared_ptr<PendingDecode> ahead;  // the next picture, decoding
  bool hasRects = false;                 // CropRect and ScreenRect exist after a first load
  Rect crop = {};
  Size cropImage = {};  // the size of the picture `crop` was made for
  Rect screen = {};
  bool ready = false;
  bool resizePending = true;
  bool ratioSwapped = false;
  int antsPhase = 0;
  EditorDrag drag;
  bool shiftDown = false;

  bool HasPicture() const { return picture != nullptr && static_cast<bool>(picture->source); }
  GdiBitmap& Source() { return picture->source; }
};

// Painting (editor/painting.cpp).
void RepaintEditor(EditorState& editor, WPARAM kind);
// Forgets the pane's picture kept for repaints: the next one draws anew.
void DropPaneImage(EditorState& editor);
void AnimateOutline(EditorState& editor);

// The rules' view of the picture and the ratio options (editor/selection.cpp).
SelectionContext CurrentSelectionContext(const EditorState& editor);

// Whether the crop of the picture shown is cut losslessly: the option is on
// and the engine can cut the picture so.
bool CutsLosslessly(const EditorState& editor);

// The grid a lossless crop of the picture shown keeps to; 1 x 1 when it is
// saved the ordinary way, or no picture is shown.
Size LosslessGrid(const EditorState& editor);

// The one way the selection changes (editor/selection.cpp).
bool UpdateSelection(EditorState& editor, int32_t value, SelectionField field, unsigned flags);

// Selection input (editor/selection.cpp); each returns the message's result.
LRESULT OnEditorSetCursor(EditorState& editor);
void OnEditorButtonDown(EditorState& editor, LPARAM point);
void OnEditorMouseMove(EditorState& editor, LPARAM point);
void OnEditorButtonUp(EditorState& editor);
void OnEditorCancel(EditorState& editor);
void OnEditorKeyDown(EditorState& editor, WPARAM key);
void OnEditorKeyUp(EditorState& editor, WPARAM key);
void EndEditorDrag(EditorState& editor);

// The screen's size, which a picture's screen preview fits into.
Size ScreenSize();

// Tells the pane's parent (WM_NOTIFY) that the picture or selection changed
// (EDITOR_CHANGED) or that the pane took the focus (NM_SETFOCUS).
void NotifyParent(const EditorState& editor, UINT code);
