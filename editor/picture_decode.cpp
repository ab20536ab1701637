#include "editor/picture_decode.h"

#include <shlwapi.h>

#include "base/background_work.h"
#include "base/pixel_scale.h"
#include "base/picture_file.h"
#include "base/win_text.h"
#include "editor/geometry.h"
#include "ui/label_ids.h"

namespace {


// The file's bytes as a stream: the file itself is closed once they are
// read. Null for a file that cannot be read or is too large to hold.
IStream* ReadWhole(const wchar_t* path) {
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

std::unique_ptr<DecodedPicture> Failed(std::unique_ptr<DecodedPicture> picture, int label,
                                       UINT icon) {
  picture->failure = label;
  picture->failureIcon = icon;
  return picture;
}

// `image` scaled into a new 24-bit bitmap of `size` by the box filter.
bool BoxScaleInto(GdiBitmap& image, Size size, GdiBitmap& output) {
  output = GdiBitmap::Create(size.width, size.height, PixelFormat24bppRGB);
  // A locked bitmap answers nothing else: its size is asked first.
  const auto width = static_cast<int>(image.Width());
  const auto height = static_cast<int>(image.Height());
  return image.UsePixels(
      Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, [&](unsigned char* rows, size_t stride) {
        return output.WritePixels([&](unsigned char* target, size_t targetStride) {
          BoxScale({rows, stride, width, height}, {target, targetStride, size.width, size.height});
          return true;
        });
      });
}

}  // namespace

bool StampOf(const wchar_t* path, FileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return false;
  stamp.size.LowPart = data.nFileSizeLow;
  stamp.size.HighPart = data.nFileSizeHigh;
  stamp.written = data.ftLastWriteTime;
  return true;
}

bool FileStamp::operator==(const FileStamp& other) const {
  return size.QuadPart == other.size.QuadPart && CompareFileTime(&written, &other.written) == 0;
}

DecodedPicture::~DecodedPicture() {
  screenPreview.Reset();
  source.Reset();
  if (stream != nullptr) stream->Release();
  DeleteTempCopy(tempCopy);
}

std::unique_ptr<DecodedPicture> DecodePicture(const wchar_t* path, const DecodeRequest& request) {
  const ForegroundWork first;  // the tiles wait for it
  auto picture = std::make_unique<DecodedPicture>();
  CopyText(picture->path, path);
  if (!PathFileExistsW(path) || PathIsDirectoryW(path) || !StampOf(path, picture->stamp)) {
    return Failed(std::move(picture), LBL_FILE_NOT_FOUND, MB_ICONWARNING);
  }
  StoredPicture stored;
  if (request.copySourceToTemp) {
    if (!MakeTempCopy(path, picture->tempCopy)) {
      return Failed(std::move(picture), LBL_TEMP_COPY_ERROR, MB_ICONERROR);
    }
    stored = DecodeStored(picture->tempCopy, request.screen);
  } else {
    picture->stream = ReadWhole(path);
    // A file too large to hold is decoded from the file itself.
    stored = picture->stream != nullptr ? DecodeStored(picture->stream, request.screen)
                                        : DecodeStored(path, request.screen);
  }
  picture->source = std::move(stored.bitmap);
  if (!picture->source || picture->source.status() != Gdiplus::Ok) {
    return Failed(std::move(picture), LBL_IMAGE_LOAD_ERROR, MB_ICONERROR);
  }
  picture->turn = request.upright ? stored.orientation : 1;
  picture->losslessGrid = LosslessCropGrid(picture->source.Width(), picture->source.Height(),
                                           stored.blocks, picture->turn);
  if (request.upright) {
    TurnUpright(picture->source, stored.orientation);
    TurnUpright(stored.reduced, stored.orientation);
  }
  // A reduced picture covers the screen already: the pane's preview is
  // drawn from it as from a fitted one.
  if (stored.reduced) {
    picture->screenPreview = std::move(stored.reduced);
  } else {
    Size screen = request.screen;
    FitImage(picture->source, screen, &picture->screenPreview, false);
  }
  if (!picture->screenPreview)
    return Failed(std::move(picture), LBL_IMAGE_LOAD_ERROR, MB_ICONERROR);
  return picture;
}

std::shared_ptr<PendingDecode> PendingDecode::Start(const wchar_t* path,
                                                    const DecodeRequest& request) {
  auto pending = std::make_shared<PendingDecode>();
  if (!CopyText(pending->path_, path)) return nullptr;
  pending->request_ = request;
  if (!StartBackgroundWork([pending] { pending->Run(); })) return nullptr;
  return pending;
}

void PendingDecode::Run() {
  std::unique_ptr<DecodedPicture> picture = DecodePicture(path_, request_);
  std::lock_guard<std::mutex> hold(lock_);
  picture_ = std::move(picture);
  done_ = true;
  finished_.notify_all();
}

bool PendingDecode::IsFor(const wchar_t* path, const DecodeRequest& request) const {
  return SameTextIgnoreCase(path_, path) && request_ == request;
}

std::unique_ptr<DecodedPicture> PendingDecode::Take() {
  std::unique_lock<std::mutex> hold(lock_);
  finished_.wait(hold, [this] { return done_; });
  std::unique_ptr<DecodedPicture> picture = std::move(picture_);
  FileStamp now;
  // The file may have changed since it was read.
  if (picture == nullptr || picture->failure != -1 || !StampOf(path_, now) ||
      !(now == picture->stamp)) {
    return nullptr;
  }
  return picture;
}

std::unique_ptr<DecodedPicture> TakeOrDecode(const wchar_t* path, const DecodeRequest& request,
                                             const std::shared_ptr<PendingDecode>& ahead) {
  if (ahead != nullptr && ahead->IsFor(path, request)) {
    std::unique_ptr<DecodedPicture> picture = ahead->Take();
    if (picture != nullptr) return picture;
  }
  // A failure is reported as this decode's, also when the decode ahead failed.
  return DecodePicture(path, request);
}

bool MakeTempCopy(const wchar_t* source, PathBuffer& copy) {
  PathBuffer folder;
  const DWORD length = GetTempPathW(PATH_CAPACITY, folder);
  if (length == 0 || length >= PATH_CAPACITY) return false;
  if (GetTempFileNameW(folder, L"~", 0, copy) == 0) return false;
  return CopyFileExW(source, copy, nullptr, nullptr, nullptr, 0) != FALSE;
}

// A copy that cannot be deleted keeps its attributes and stays on disk.
void DeleteTempCopy(PathBuffer& path) {
  if (path[0] == L'\0') return;
  const DWORD attributes = GetFileAttributesW(path);
  SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
  if (!DeleteFileW(path) && attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesW(path, attributes);
  }
  path[0] = L'\0';
}

void FitImage(GdiBitmap& image, Size& size, GdiBitmap* output, bool exact) {
  if (output != nullptr) output->Reset();
  if (!exact) {
    const uint32_t width = image.Width();
    const uint32_t height = image.Height();
    if (width <= static_cast<uint32_t>(size.width) &&
        height <= static_cast<uint32_t>(size.height)) {
      size = {static_cast<int32_t>(width), static_cast<int32_t>(height)};
      if (output != nullptr) *output = image.Clone();
      return;
    }
    size = FitSize(width, height, size);
  }
  if (output == nullptr) return;
  // Scaled by a box filter of our own: GDI+ takes several times as long.
  // The filter's previews are opaque; a picture with an alpha channel keeps
  // it, to be drawn over the pane's background.
  if (FastPictureWorkInUse() && !image.HasAlpha() && BoxScaleInto(image, size, *output)) return;
  *output = GdiBitmap::Create(size.width, size.height);
  GdiGraphics graphics(*output);
  graphics.DrawImage(image, 0, 0, size.width, size.height);
}
