// Cutting the selection out of the picture and writing it into the
// destination folder, and the file routines around it.
#pragma once

#include <windows.h>

#include "ui/text.h"

// Writes the selected area of the current picture, unscaled, to `target` in
// the format its extension names. False with the error report filled.
bool SaveCrop(const wchar_t* target);

// The encoder of a MIME type ("image/jpeg"), compared ignoring case.
bool FindEncoder(const wchar_t* mime, CLSID& encoder);

// A new absolute path in `folder` for `fileName` that names no existing
// file and keeps the extension.
bool MakeUniqueTargetPath(const wchar_t* folder, const wchar_t* fileName, PathBuffer& path);

// Deletes a file whatever its attributes; a file that stays keeps them.
bool DeleteFileForced(const wchar_t* path);
