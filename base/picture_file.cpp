#include "base/picture_file.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <new>

#include "base/jpeg_engine.h"
#include "base/picture_header.h"
#include "base/tiff_block.h"

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

std::atomic<bool> g_useEngine{true};

// The largest file whose bytes are held for a decode.
constexpr LONGLONG MOST_FILE_BYTES = 512LL * 1024 * 1024;

HANDLE OpenForReading(const wchar_t* path) {
  return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Appends the file's bytes from `from` up to `until` (or its end); false
// when it cannot be read or is too large to hold.
bool ReadSpan(const wchar_t* path, LONGLONG from, LONGLONG until,
              std::vector<unsigned char>& bytes) {
  const HANDLE file = OpenForReading(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  LARGE_INTEGER start = {};
  start.QuadPart = from;
  bool read = GetFileSizeEx(file, &size) && size.QuadPart <= MOST_FILE_BYTES &&
              SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
  if (read && size.QuadPart > from) {
    const size_t at = bytes.size();
    const LONGLONG wanted = std::min(size.QuadPart, until) - from;
    try {
      bytes.resize(at + static_cast<size_t>(wanted));
    } catch (const std::bad_alloc&) {
      read = false;
    }
    DWORD got = 0;
    read = read && ReadFile(file, bytes.data() + at, static_cast<DWORD>(wanted), &got, nullptr) &&
           got == static_cast<DWORD>(wanted);
  }
  CloseHandle(file);
  return read;
}

// Reads the file from `bytes.size()` on: up to `most` bytes in all.
bool ReadOn(const wchar_t* path, std::vector<unsigned char>& bytes, LONGLONG most) {
  return ReadSpan(path, static_cast<LONGLONG>(bytes.size()), most, bytes);
}

// The header of the opening bytes.
void ReadHeader(StoredHeader& header) {
  const unsigned char* bytes = header.bytes.data();
  const size_t count = header.bytes.size();
  header.orientation = PictureOrientation(bytes, count);
  header.sized = StoredPictureSize(bytes, count, header.width, header.height);
  header.decodable = !header.sized || FitsDecoded(header.width, header.height);
}

// A TIFF's size and turn are in its IFD0, which often follows the pixels:
// the header becomes that IFD as a block of its own when it lies beyond the
// opening bytes. `read(at, most, bytes)` reads up to `most` bytes of the
// file from `at`.
template <typename Read>
void FindTiffIfd(StoredHeader& header, Read read) {
  constexpr size_t MOST_ENTRIES = 1000;  // far more than a picture's tags
  uint32_t at = 0;
  std::vector<unsigned char> ifd;
  if (!TiffIfdBeyond(header.bytes.data(), header.bytes.size(), at) ||
      !read(at, TiffIfdBytes(MOST_ENTRIES), ifd) || ifd.size() < 2) {
    return;
  }
  // Its entries without the link to the next IFD, which is not followed.
  const size_t entries = tiff_block::ReadNumber(ifd.data(), 2, header.bytes[0] == 'M');
  ifd.resize(std::min(ifd.size(), TiffIfdBytes(std::min(entries, MOST_ENTRIES)) - 4));
  header.bytes = TiffIfdBlock(header.bytes.data(), ifd.data(), ifd.size());
  ReadHeader(header);
}

// A JPEG stream decoded by the engine at `scale` into a 24-bit bitmap; empty
// when the engine refuses it or the stream is not sound.
GdiBitmap DecodeJpeg(const unsigned char* data, size_t size, JpegScale scale) {
  uint32_t width = 0;
  uint32_t height = 0;
  if (!ReadJpegFrame(data, size, width, height) || !FitsDecoded(width, height)) return {};
  GdiBitmap bitmap =
      GdiBitmap::Create(static_cast<int>(ScaledJpegSide(width, scale)),
                        static_cast<int>(ScaledJpegSide(height, scale)), PixelFormat24bppRGB);
  const bool decoded =
      bitmap.status() == Gdiplus::Ok && bitmap.WritePixels([&](unsigned char* rows, size_t stride) {
        return DecodeJpegPixels(data, size, scale, rows, stride);
      });
  return decoded ? std::move(bitmap) : GdiBitmap();
}

// The picture also reduced for `screen`, when it is larger: by the smallest
// scale that still covers the part of the screen it fills upright.
void ReduceForScreen(const unsigned char* data, size_t size, Size screen, StoredPicture& picture) {
  const uint32_t width = picture.bitmap.Width();
  const uint32_t height = picture.bitmap.Height();
  const bool swap = OrientationSwapsSides(picture.orientation);
  if (screen.width <= 0 || screen.height <= 0 || width == 0 || height == 0) return;
  const double fill = std::min({1.0, screen.width / static_cast<double>(swap ? height : width),
                                screen.height / static_cast<double>(swap ? width : height)});
  const auto cover = [fill](uint32_t side) {
    return static_cast<uint32_t>(std::ceil(side * fill));
  };
  const JpegScale scale = CoveringJpegScale(width, height, cover(width), cover(height));
  if (scale == JpegScale{}) return;
  picture.reduced = DecodeJpeg(data, size, scale);
}

// What an engine-decoded JPEG picture adds: its block grid and, for a
// screen, a reduced copy.
void FinishJpeg(const unsigned char* data, size_t size, Size screen, StoredPicture& picture) {
  picture.blocks = ReadJpegBlocks(data, size);
  ReduceForScreen(data, size, screen, picture);
}

// A whole JPEG picture with its EXIF tags kept as GDI+ keeps a decoded
// file's property items, for the crops that carry them.
GdiBitmap DecodeWholeJpeg(const unsigned char* data, size_t size) {
  GdiBitmap bitmap = DecodeJpeg(data, size, {});
  if (!bitmap) return bitmap;
  for (ExifTag& tag : JpegExifTags(data, std::min<size_t>(size, ORIENTATION_HEADER_BYTES))) {
    Gdiplus::PropertyItem item = {tag.id, static_cast<ULONG>(tag.value.size()), tag.type,
                                  tag.value.data()};
    Gdiplus::DllExports::GdipSetPropertyItem(bitmap.image(), &item);
  }
  return bitmap;
}

// Whether the engine decodes the picture: a JPEG stream, while it is in use.
bool GoesToEngine(const std::vector<unsigned char>& bytes) {
  return g_useEngine && bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 &&
         bytes[2] == 0xFF;
}

}  // namespace

bool ReadPictureFile(const wchar_t* path, std::vector<unsigned char>& bytes) {
  bytes.clear();
  return ReadOn(path, bytes, MOST_FILE_BYTES);
}

bool ReadStoredHeader(const wchar_t* path, StoredHeader& header) {
  // Most pictures give their size in their first bytes; a JPEG's comes
  // after its EXIF block and any other segment before the frame, so that
  // once it is there, they all are.
  constexpr LONGLONG FIRST_BYTES = 16 * 1024;
  header.bytes.clear();
  if (!ReadOn(path, header.bytes, FIRST_BYTES)) return false;
  ReadHeader(header);
  FindTiffIfd(header, [path](LONGLONG at, size_t most, std::vector<unsigned char>& bytes) {
    return ReadSpan(path, at, at + static_cast<LONGLONG>(most), bytes);
  });
  if (header.sized || header.bytes.size() < FIRST_BYTES) return true;
  if (!ReadOn(path, header.bytes, ORIENTATION_HEADER_BYTES)) return false;
  ReadHeader(header);
  return true;
}

StoredPicture DecodeStored(const wchar_t* path, Size screen) {
  StoredHeader header;
  StoredPicture picture;
  // A file that cannot be read gives the defaults: the decode will tell.
  if (ReadStoredHeader(path, header)) picture.orientation = header.orientation;
  if (!header.decodable) return picture;
  if (GoesToEngine(header.bytes) && ReadOn(path, header.bytes, MOST_FILE_BYTES)) {
    picture.bitmap = DecodeWholeJpeg(header.bytes.data(), header.bytes.size());
    if (picture.bitmap) FinishJpeg(header.bytes.data(), header.bytes.size(), screen, picture);
  }
  if (!picture.bitmap) picture.bitmap = GdiBitmap::FromFile(path);
  return picture;
}

StoredPicture DecodeStored(IStream* stream, Size screen) {
  StoredPicture picture;
  HGLOBAL memory = nullptr;
  STATSTG about = {};
  if (stream == nullptr || FAILED(GetHGlobalFromStream(stream, &memory)) ||
      FAILED(stream->Stat(&about, STATFLAG_NONAME))) {
    return picture;
  }
  const auto* bytes = static_cast<const unsigned char*>(GlobalLock(memory));
  if (bytes == nullptr) return picture;
  const auto size = static_cast<size_t>(about.cbSize.QuadPart);
  StoredHeader header;
  header.bytes.assign(bytes, bytes + std::min<size_t>(size, ORIENTATION_HEADER_BYTES));
  ReadHeader(header);
  FindTiffIfd(header, [&](LONGLONG at, size_t most, std::vector<unsigned char>& out) {
    if (static_cast<size_t>(at) > size) return false;
    out.assign(bytes + at, bytes + at + std::min(most, size - static_cast<size_t>(at)));
    return true;
  });
  picture.orientation = header.orientation;
  if (header.decodable && GoesToEngine(header.bytes)) {
    picture.bitmap = DecodeWholeJpeg(bytes, size);
    if (picture.bitmap) FinishJpeg(bytes, size, screen, picture);
  }
  GlobalUnlock(memory);
  // GDI+ reads the stream from where it stands.
  const LARGE_INTEGER start = {};
  if (!picture.bitmap && header.decodable &&
      SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
    picture.bitmap = GdiBitmap::FromStream(stream);
  }
  return picture;
}

GdiBitmap DecodeStoredCovering(const wchar_t* path, StoredHeader& header, Size cover) {
  if (!header.decodable) return {};
  const auto coverWidth = static_cast<uint32_t>(cover.width);
  const auto coverHeight = static_cast<uint32_t>(cover.height);
  if (GoesToEngine(header.bytes)) {
    const unsigned char* preview = nullptr;
    size_t length = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    if (JpegExifPreview(header.bytes.data(), header.bytes.size(), preview, length) &&
        ReadJpegFrame(preview, length, width, height) &&
        PreviewServes(width, height, coverWidth, coverHeight)) {
      GdiBitmap bitmap =
          DecodeJpeg(preview, length, CoveringJpegScale(width, height, coverWidth, coverHeight));
      if (bitmap) return bitmap;
    }
    if (ReadOn(path, header.bytes, MOST_FILE_BYTES) &&
        ReadJpegFrame(header.bytes.data(), header.bytes.size(), width, height)) {
      GdiBitmap bitmap = DecodeJpeg(header.bytes.data(), header.bytes.size(),
                                    CoveringJpegScale(width, height, coverWidth, coverHeight));
      if (bitmap) return bitmap;
    }
  }
  return GdiBitmap::FromFile(path);
}

void UseFastPictureWork(bool use) { g_useEngine = use; }

bool FastPictureWorkInUse() { return g_useEngine; }

void TurnUpright(GdiBitmap& bitmap, int orientation) {
  if (orientation <= 1 || orientation > 8) return;
  const Turn& turn = kTurns[orientation - 1];
  if (turn.mirror) bitmap.RotateFlip(Gdiplus::RotateNoneFlipX);
  if (turn.turn != Gdiplus::RotateNoneFlipNone) bitmap.RotateFlip(turn.turn);
}
