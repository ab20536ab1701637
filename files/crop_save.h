// Cutting the selection out of the picture and writing it into the
// destination folder, and the file routines around it.
#pragma once

#include <windows.h>

#include "base/gdiplus_objects.h"
#include "base/geometry.h"
#include "base/text.h"

struct SaveOptions {
  const wchar_t* destinationFolder;  // made when missing
  bool copyProperties;               // the source's property items and ours
  bool upright = false;              // the source was turned by its orientation tag
};

// Writes `crop` of `source`, unscaled, to `target` in the format its
// extension names. An existing target is replaced only by a complete new
// file. False with the error report filled.
bool SaveCrop(GdiBitmap& source, const Rect& crop, const wchar_t* target,
              const SaveOptions& options);

// The encoder of a MIME type ("image/jpeg"), compared ignoring case.
bool FindEncoder(const wchar_t* mime, CLSID& encoder);

// A new absolute path in `folder` for `fileName` that names no existing
// file and keeps the extension.
bool MakeUniqueTargetPath(const wchar_t* folder, const wchar_t* fileName, PathBuffer& path);

// Deletes a file whatever its attributes; a file that stays keeps them.
bool DeleteFileForced(const wchar_t* path);
