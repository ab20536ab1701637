#include "base/upright.h"

#include <memory>
#include <new>

#include "base/exif_orientation.h"

namespace {

// What to do to a picture stored with each orientation, from 1 to 8: a
// mirror, then a turn clockwise. The combined turn-and-mirror types are not
// read the same way by every GDI+, so the two are asked for one by one.
struct Turn {
  bool mirror;
  Gdiplus::RotateFlipType turn;
};
constexpr Turn kTurns[] = {
    {false, Gdiplus::RotateNoneFlipNone}, {true, Gdiplus::RotateNoneFlipNone},
    {false, Gdiplus::Rotate180FlipNone},  {true, Gdiplus::Rotate180FlipNone},
    {true, Gdiplus::Rotate270FlipNone},   {false, Gdiplus::Rotate90FlipNone},
    {true, Gdiplus::Rotate90FlipNone},    {false, Gdiplus::Rotate270FlipNone},
};

std::unique_ptr<unsigned char[]> HeaderBuffer() {
  return std::unique_ptr<unsigned char[]>(
      new (std::nothrow) unsigned char[ORIENTATION_HEADER_BYTES]);
}

}  // namespace

int FileOrientation(const wchar_t* path) {
  const auto header = HeaderBuffer();
  if (!header) return 1;
  const HANDLE file =
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD got = 0;
  const bool read = ReadFile(file, header.get(), ORIENTATION_HEADER_BYTES, &got, nullptr) != FALSE;
  CloseHandle(file);
  return read ? JpegOrientation(header.get(), got) : 1;
}

int StreamOrientation(IStream* stream) {
  const auto header = HeaderBuffer();
  if (!header || stream == nullptr) return 1;
  const LARGE_INTEGER start = {};
  ULONG got = 0;
  const bool read = SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) &&
                    SUCCEEDED(stream->Read(header.get(), ORIENTATION_HEADER_BYTES, &got));
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return read ? JpegOrientation(header.get(), got) : 1;
}

GdiBitmap DecodeFile(const wchar_t* path, bool upright) {
  GdiBitmap bitmap = GdiBitmap::FromFile(path);
  if (upright && bitmap && bitmap.status() == Gdiplus::Ok) {
    TurnUpright(bitmap, FileOrientation(path));
  }
  return bitmap;
}

void TurnUpright(GdiBitmap& bitmap, int orientation) {
  if (orientation <= 1 || orientation > 8) return;
  const Turn& turn = kTurns[orientation - 1];
  if (turn.mirror) bitmap.RotateFlip(Gdiplus::RotateNoneFlipX);
  if (turn.turn != Gdiplus::RotateNoneFlipNone) bitmap.RotateFlip(turn.turn);
}
