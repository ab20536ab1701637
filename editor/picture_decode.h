// Decoding the picture the editor shows, off the window thread: from a
// temporary copy or from the file's bytes read at once (so that the file is
// not held open), turned upright, with its preview fitted to the screen. A
// decoded picture is a value: the thread that made it hands it over, and the
// window thread puts it in the editor.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>

#include "base/gdiplus_objects.h"
#include "base/geometry.h"
#include "base/jpeg_engine.h"
#include "base/text.h"

// How a picture is decoded.
struct DecodeRequest {
  bool copySourceToTemp = false;  // from a temporary copy of the file
  bool upright = false;           // turned by the orientation tag
  Size screen = {};               // the screen preview fits into this
  bool operator==(const DecodeRequest&) const = default;
};

// A file's size and last write: when either differs, the file changed.
struct FileStamp {
  ULARGE_INTEGER size = {};
  FILETIME written = {};
  bool operator==(const FileStamp& other) const;
};

// A picture's file as it was read, and the orientation the picture was
// turned upright by (1 when it is shown as stored).
struct LosslessFile {
  PathBuffer path = L"";
  FileStamp stamp;
  int turn = 1;
};

// The stamp of the file at `path` now; false when it cannot be read.
bool StampOf(const wchar_t* path, FileStamp& stamp);

// One decoded picture and what it holds on to: its temporary copy or the
// stream of its bytes, released with it.
struct DecodedPicture {
  DecodedPicture() = default;
  DecodedPicture(const DecodedPicture&) = delete;
  DecodedPicture& operator=(const DecodedPicture&) = delete;
  ~DecodedPicture();

  PathBuffer path = L"";    // the picture's file
  GdiBitmap source;         // full resolution, upright
  GdiBitmap screenPreview;  // fitted into the screen
  PathBuffer tempCopy = L"";
  IStream* stream = nullptr;
  FileStamp stamp;         // of the file when it was read
  int turn = 1;            // the orientation it was turned upright by; 1 when shown as stored
  JpegBlocks losslessGrid;  // a lossless crop's left and top edges lie on it; empty: not so cut
  int failure = -1;        // the label that says why it failed; -1 when it did not
  UINT failureIcon = MB_ICONERROR;
};

// Decodes the picture at `path`; never null: a failure is in the result.
std::unique_ptr<DecodedPicture> DecodePicture(const wchar_t* path, const DecodeRequest& request);

// A picture decoded on a thread of its own: the next one, while the user
// frames the current one. Whoever lets go of it last frees it.
class PendingDecode {
 public:
  // Starts the decode; null when the file cannot be read or no thread can
  // be started.
  static std::shared_ptr<PendingDecode> Start(const wchar_t* path, const DecodeRequest& request);

  bool IsFor(const wchar_t* path, const DecodeRequest& request) const;

  // Waits for the decode and takes its picture; null when it failed or the
  // file has changed since it was read. Once.
  std::unique_ptr<DecodedPicture> Take();

 private:
  void Run();

  PathBuffer path_ = L"";
  DecodeRequest request_;
  std::mutex lock_;
  std::condition_variable finished_;
  bool done_ = false;
  std::unique_ptr<DecodedPicture> picture_;
};

// The picture at `path`: the one decoded ahead when it is that file,
// unchanged and decoded the same way, otherwise decoded now. For a worker.
std::unique_ptr<DecodedPicture> TakeOrDecode(const wchar_t* path, const DecodeRequest& request,
                                             const std::shared_ptr<PendingDecode>& ahead);

// A copy of `source` in the temporary folder; false when none was made.
bool MakeTempCopy(const wchar_t* source, PathBuffer& copy);
// Deletes the copy and empties `path`; a copy that cannot be deleted stays.
void DeleteTempCopy(PathBuffer& path);

// Renders `image` fitted into `size` (or exactly at it), updating `size`.
void FitImage(GdiBitmap& image, Size& size, GdiBitmap* output, bool exact);
