// The editor's state, shared by its loading, painting and selection code.
// Nothing outside editor/ includes this.
#pragma once

#include <windows.h>

#include "base/gdiplus_objects.h"
#include "editor/geometry.h"
#include "editor/selection_rules.h"
#include "base/text.h"

struct EditorDrag {
  bool active = false;
  int hoverZone = 0;
  int zone = 0;
  int startX = 0;
  int startY = 0;
  Rect startRect = {};
  float scale = 1.0f;
};

struct EditorState {
  HWND pane = nullptr;
  WNDPROC paneProc = nullptr;
  ULONG_PTR gdiplusToken = 0;
  GdiBitmap source;         // the picture at full resolution
  GdiBitmap screenPreview;  // fitted into the screen, once per load
  GdiBitmap panePreview;    // exactly the size shown; dropped on resize
  bool hasRects = false;    // CropRect and ScreenRect exist after a first load
  Rect crop = {};
  Size cropImage = {};  // the size of the picture `crop` was made for
  Rect screen = {};
  PathBuffer tempCopyPath = L"";
  IStream* sourceStream = nullptr;  // the bytes `source` was decoded from, if not a file
  bool ready = false;
  bool resizePending = true;
  bool ratioSwapped = false;
  int antsPhase = 0;
  EditorDrag drag;
  bool shiftDown = false;
};

EditorState& Editor();

// Painting (editor/painting.cpp).
void RepaintEditor(WPARAM kind);
// Forgets the pane's picture kept for repaints: the next one draws anew.
void DropPaneImage();
void AnimateOutline();

// The rules' view of the picture and the ratio options (editor/selection.cpp).
SelectionContext CurrentSelectionContext();

// Selection input (editor/selection.cpp); each returns the message's result.
LRESULT OnEditorSetCursor();
void OnEditorButtonDown(LPARAM point);
void OnEditorMouseMove(LPARAM point);
void OnEditorButtonUp();
void OnEditorCancel();
void OnEditorKeyDown(WPARAM key);
void OnEditorKeyUp(WPARAM key);
void EndEditorDrag();

// How the options have pictures decoded.
struct DecodeOptions {
  bool copySourceToTemp;  // from a temporary copy of the file
  bool upright;           // turned by the orientation tag
  bool operator==(const DecodeOptions&) const = default;
};
DecodeOptions CurrentDecodeOptions();

// The picture decoded ahead (editor/prefetch.cpp), when it is of `path`, was
// decoded with `options` and its file has not changed since: its source,
// screen preview, temporary copy and stream go to `editor`. Any other is
// dropped. False when nothing was taken.
bool TakePrefetched(const wchar_t* path, const DecodeOptions& options, EditorState& editor);

// A copy of `source` in the temporary folder; false when none was made.
bool MakeTempCopy(const wchar_t* source, PathBuffer& copy);
// Deletes the copy and empties `path`; a copy that cannot be deleted stays.
void DeleteTempCopy(PathBuffer& path);

// The screen's size, which a picture's screen preview fits into.
Size ScreenSize();

// Renders `image` fitted into `size` (or exactly at it), updating `size`.
void FitImage(GdiBitmap& image, Size& size, GdiBitmap* output, bool exact);

// Tells the pane's parent (WM_NOTIFY) that the picture or selection changed
// (EDITOR_CHANGED) or that the pane took the focus (NM_SETFOCUS).
void NotifyParent(UINT code);
