#include "base/picture_file.h"

#include <memory>
#include <new>

#include "base/picture_header.h"

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

// What the opening bytes of a picture tell before the decode.
struct PictureHeader {
  int orientation = 1;
  bool decodable = true;  // false when its size is too large to decode
};

// The header out of the opening bytes read by `read` into a buffer. A file
// that cannot be read gives the defaults: the decode will tell.
template <typename Read>
PictureHeader HeaderFrom(Read read) {
  PictureHeader header;
  const std::unique_ptr<unsigned char[]> bytes(
      new (std::nothrow) unsigned char[ORIENTATION_HEADER_BYTES]);
  unsigned long count = 0;
  if (!bytes || !read(bytes.get(), count)) return header;
  header.orientation = JpegOrientation(bytes.get(), count);
  uint32_t width = 0;
  uint32_t height = 0;
  header.decodable =
      !StoredPictureSize(bytes.get(), count, width, height) || FitsDecoded(width, height);
  return header;
}

}  // namespace

StoredPicture DecodeStored(const wchar_t* path) {
  const PictureHeader header = HeaderFrom([path](unsigned char* bytes, unsigned long& count) {
    const HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    const bool read = ReadFile(file, bytes, ORIENTATION_HEADER_BYTES, &got, nullptr) != FALSE;
    CloseHandle(file);
    count = got;
    return read;
  });
  StoredPicture picture;
  if (header.decodable) picture.bitmap = GdiBitmap::FromFile(path);
  picture.orientation = header.orientation;
  return picture;
}

StoredPicture DecodeStored(IStream* stream) {
  // The header is read before GDI+ takes the stream over.
  const PictureHeader header = HeaderFrom([stream](unsigned char* bytes, unsigned long& count) {
    const LARGE_INTEGER start = {};
    ULONG got = 0;
    const bool read = stream != nullptr &&
                      SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) &&
                      SUCCEEDED(stream->Read(bytes, ORIENTATION_HEADER_BYTES, &got));
    if (stream != nullptr) stream->Seek(start, STREAM_SEEK_SET, nullptr);
    count = got;
    return read;
  });
  StoredPicture picture;
  if (header.decodable && stream != nullptr) picture.bitmap = GdiBitmap::FromStream(stream);
  picture.orientation = header.orientation;
  return picture;
}

void TurnUpright(GdiBitmap& bitmap, int orientation) {
  if (orientation <= 1 || orientation > 8) return;
  const Turn& turn = kTurns[orientation - 1];
  if (turn.mirror) bitmap.RotateFlip(Gdiplus::RotateNoneFlipX);
  if (turn.turn != Gdiplus::RotateNoneFlipNone) bitmap.RotateFlip(turn.turn);
}
