// Cutting the selection out of the picture and writing it into the
// destination folder, and the file routines around it.
#pragma once

#include <windows.h>

#include <vector>

#include "base/error_report.h"
#include "base/gdiplus_objects.h"
#include "base/geometry.h"
#include "base/text.h"

struct SaveOptions {
  const wchar_t* destinationFolder;  // made when missing
  bool copyProperties;               // the source's property items and ours
  bool upright = false;              // the source was turned by its orientation tag
};

// Cuts `crop` out of `source`, unscaled and in its pixel format, with the
// source's property items and ours when the options ask for them: a memory
// copy made on the window thread, so that no other thread ever reads the
// picture the editor shows. Empty, with `error` filled, on failure.
GdiBitmap CutCrop(GdiBitmap& source, const Rect& crop, const SaveOptions& options,
                  ErrorReport& error);

// Writes a cut crop to `target` in the format its extension names, making
// the destination folder when it is missing. An existing target is replaced
// only by a complete new file, on the disk before it takes the target's
// place. False with `error` filled.
bool WriteCrop(GdiBitmap& crop, const wchar_t* target, const SaveOptions& options,
               ErrorReport& error);

// Writes a JPEG crop cut out of `source`, the bytes of the picture's file,
// without decoding it: `area` of the picture as shown after the turn by
// `turn` (an orientation, 1 for none), with the source's metadata as
// `options` ask (all of it, or only its colour profile). `cut` is false
// when the engine cannot cut it so: nothing is written and `error` says
// nothing; the crop is then saved the ordinary way. False with `error`
// filled when the file cannot be written.
bool WriteLosslessCrop(const std::vector<unsigned char>& source, int turn, const Rect& area,
                       const wchar_t* target, const SaveOptions& options, ErrorReport& error,
                       bool& cut);

// The encoder of a MIME type ("image/jpeg"), compared ignoring case.
bool FindEncoder(const wchar_t* mime, CLSID& encoder);

// A new absolute path in `folder` for `fileName` that names no existing
// file and keeps the extension.
bool MakeUniqueTargetPath(const wchar_t* folder, const wchar_t* fileName, PathBuffer& path);

