// The next picture decoded ahead, on a thread of its own, while the user
// frames the current one: going on then shows it at once.
#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>

#include "base/background_work.h"
#include "base/picture_file.h"
#include "base/win_text.h"
#include "editor/editor.h"
#include "editor/editor_state.h"

namespace {

// A file's size and last write: when either differs, the file changed.
struct FileStamp {
  ULARGE_INTEGER size = {};
  FILETIME written = {};

  bool operator==(const FileStamp& other) const {
    return size.QuadPart == other.size.QuadPart && CompareFileTime(&written, &other.written) == 0;
  }
};

bool StampOf(const wchar_t* path, FileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return false;
  stamp.size.LowPart = data.nFileSizeLow;
  stamp.size.HighPart = data.nFileSizeHigh;
  stamp.written = data.ftLastWriteTime;
  return true;
}

// One picture decoded ahead. The decoding thread fills it; the user-interface
// thread takes it when it is done, or drops it, in which case the thread
// lets go of what it made once it is done.
struct Ahead {
  PathBuffer path = L"";
  DecodeOptions options = {};
  FileStamp stamp;
  Size screen = {};
  GdiBitmap source;
  GdiBitmap screenPreview;
  PathBuffer tempCopy = L"";
  IStream* stream = nullptr;

  std::mutex lock;
  std::condition_variable finished;
  bool done = false;
  bool dropped = false;

  void Release() {
    screenPreview.Reset();
    source.Reset();
    if (stream != nullptr) stream->Release();
    stream = nullptr;
    DeleteTempCopy(tempCopy);
  }
};

std::shared_ptr<Ahead> g_ahead;

// The file's bytes as a stream: the file itself is closed once they are
// read, so that the picture can be decoded without holding it open.
IStream* ReadWhole(const wchar_t* path) {
  // Larger files than this are not decoded ahead; they load as usual.
  constexpr LONGLONG MOST_BYTES = 512LL * 1024 * 1024;
  const HANDLE file =
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size = {};
  HGLOBAL memory = nullptr;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= MOST_BYTES) {
    memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size.QuadPart));
  }
  bool read = false;
  if (memory != nullptr) {
    void* bytes = GlobalLock(memory);
    DWORD got = 0;
    read = bytes != nullptr &&
           ReadFile(file, bytes, static_cast<DWORD>(size.QuadPart), &got, nullptr) &&
           got == static_cast<DWORD>(size.QuadPart);
    GlobalUnlock(memory);
  }
  CloseHandle(file);
  IStream* stream = nullptr;
  if (!read || FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    if (memory != nullptr) GlobalFree(memory);
    return nullptr;
  }
  return stream;
}

void Decode(const std::shared_ptr<Ahead>& ahead) {
  Ahead& picture = *ahead;
  if (picture.options.copySourceToTemp) {
    if (MakeTempCopy(picture.path, picture.tempCopy)) {
      picture.source = DecodeFile(picture.tempCopy, picture.options.upright);
    }
  } else {
    picture.stream = ReadWhole(picture.path);
    if (picture.stream != nullptr) {
      // The header is read before GDI+ takes the stream over.
      const PictureHeader header = ReadPictureHeader(picture.stream);
      if (header.decodable) picture.source = GdiBitmap::FromStream(picture.stream);
      if (picture.options.upright && picture.source && picture.source.status() == Gdiplus::Ok) {
        TurnUpright(picture.source, header.orientation);
      }
    }
  }
  if (picture.source && picture.source.status() == Gdiplus::Ok) {
    FitImage(picture.source, picture.screen, &picture.screenPreview, false);
  }
  std::lock_guard<std::mutex> hold(picture.lock);
  picture.done = true;
  if (picture.dropped) picture.Release();
  picture.finished.notify_all();
}

// Lets go of the picture decoded ahead; one still decoding is left to its
// thread.
void Drop() {
  if (g_ahead == nullptr) return;
  {
    std::lock_guard<std::mutex> hold(g_ahead->lock);
    g_ahead->dropped = true;
    if (g_ahead->done) g_ahead->Release();
  }
  g_ahead.reset();
}

}  // namespace

void PrefetchEditorImage(const wchar_t* path) {
  Drop();
  if (path == nullptr || path[0] == L'\0') return;
  auto ahead = std::make_shared<Ahead>();
  if (!CopyText(ahead->path, path) || !StampOf(path, ahead->stamp)) return;
  ahead->options = CurrentDecodeOptions();
  ahead->screen = ScreenSize();
  if (StartBackgroundWork([ahead] { Decode(ahead); })) g_ahead = std::move(ahead);
}

bool TakePrefetched(const wchar_t* path, const DecodeOptions& options, EditorState& editor) {
  if (g_ahead == nullptr) return false;
  const std::shared_ptr<Ahead> ahead = std::move(g_ahead);
  std::unique_lock<std::mutex> hold(ahead->lock);
  FileStamp now;
  const bool wanted = SameTextIgnoreCase(ahead->path, path) && ahead->options == options &&
                      StampOf(path, now) && now == ahead->stamp;
  if (!wanted) {
    ahead->dropped = true;
    if (ahead->done) ahead->Release();
    return false;
  }
  ahead->finished.wait(hold, [&] { return ahead->done; });
  // The file may have changed while it was read.
  if (!ahead->source || !ahead->screenPreview || !StampOf(path, now) || !(now == ahead->stamp)) {
    ahead->Release();
    return false;
  }
  editor.source = std::move(ahead->source);
  editor.screenPreview = std::move(ahead->screenPreview);
  editor.sourceStream = ahead->stream;
  ahead->stream = nullptr;
  CopyText(editor.tempCopyPath, ahead->tempCopy);
  ahead->tempCopy[0] = L'\0';
  return true;
}
