// The editor pane: the current picture, fitted and centred, and the
// selection over it.
#pragma once

#include <windows.h>

#include "base/gdiplus_objects.h"
#include "editor/geometry.h"
#include "editor/selection_rules.h"

// WM_NOTIFY code the pane sends its parent when the picture or the selection
// changed, so that the sizes shown elsewhere follow.
constexpr UINT EDITOR_CHANGED = 1;

// Takes over the pane's window procedure and starts GDI+; false when GDI+
// could not start. The pane reports to its parent: WM_NOTIFY with
// EDITOR_CHANGED or NM_SETFOCUS, and WM_CONTEXTMENU from the mouse and the
// keyboard.
bool AttachEditor(HWND pane);

// Loads a picture into the editor; null empties it. A failure leaves the
// error report filled and the editor empty.
void LoadEditorImage(const wchar_t* path);

// Decodes the picture at `path` ahead, on a thread of its own, so that a
// LoadEditorImage of it soon after shows it at once; the file is not held
// open after the decode. Replaces the picture decoded ahead before; null
// drops it.
void PrefetchEditorImage(const wchar_t* path);

// Releases the picture, its previews and its temporary copy; with
// `releaseRectangles` also forgets the selection.
void ClearEditor(bool releaseRectangles);

// The load has ended (successfully or not): the selection may now change.
void SetEditorReady();

// The one way the selection changes; true when it changed.
bool UpdateSelection(int32_t value, SelectionField field, unsigned flags);

// Runs the selection's rules on the current rectangle again: a picture
// loaded in view-only mode gets them when that mode ends.
void RefreshSelection();

// Turns the selection a quarter: the ratio turns, then width and height,
// and position, are exchanged.
void RotateSelection();

bool HasEditorImage();
Rect CropRect();
// The picture's size; 0 x 0 without one.
Size EditorImageSize();
// The picture at full resolution, for the save; valid while HasEditorImage().
GdiBitmap& EditorImage();
