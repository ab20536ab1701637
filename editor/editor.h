// The editor pane: the current picture, fitted and centred, and the
// selection over it.
#pragma once

#include <windows.h>

#include "editor/geometry.h"
#include "editor/selection_rules.h"

// Takes over the pane's window procedure and starts GDI+; false when GDI+
// could not start.
bool AttachEditor(HWND pane);

// Loads a picture into the editor; null empties it. A failure leaves the
// error report filled and the editor empty.
void LoadEditorImage(const wchar_t* path);

// Releases the picture, its previews and its temporary copy; with
// `releaseRectangles` also forgets the selection.
void ClearEditor(bool releaseRectangles);

// The selection in status-bar part 3, or the part's default text.
void ShowSelectionStatus();

// The load has ended (successfully or not): the selection may now change.
void SetEditorReady();

// The one way the selection changes; true when it changed.
bool UpdateSelection(int32_t value, SelectionField field, unsigned flags);

// Turns the selection a quarter: width and height, and position, exchanged.
// The caller flips the ratio first.
void RotateSelection();
void FlipRatioSwapped();

bool HasEditorImage();
Rect CropRect();
