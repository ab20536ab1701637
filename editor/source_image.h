// The picture being edited, at full resolution, for the code that saves
// its selection. Read-only outside the editor; valid while HasEditorImage().
#pragma once

#include "editor/gdiplus_objects.h"

GdiBitmap& SourceImage();
