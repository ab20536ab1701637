#include "tests/support/test_pictures.h"

#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <vector>

namespace gdi = Gdiplus::DllExports;

namespace {

bool FindEncoder(const wchar_t* mime, CLSID& clsid) {
  UINT count = 0;
  UINT size = 0;
  if (gdi::GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (gdi::GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (lstrcmpiW(codecs[i].MimeType, mime) == 0) {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

bool Save(Gdiplus::GpBitmap* bitmap, const std::wstring& path, const CLSID& encoder) {
  const bool saved =
      gdi::GdipSaveImageToFile(bitmap, path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
  gdi::GdipDisposeImage(bitmap);
  return saved;
}

// Wine's GIF encoder writes only indexed pixels correctly (from 24 or 32 bits
// it writes a broken file and answers Ok), so a GIF goes through an 8-bit
// palette of the picture's colours, which must be 256 or fewer.
bool SaveIndexed(int width, int height, const std::vector<Gdiplus::ARGB>& pixels,
                 const std::wstring& path, const CLSID& encoder) {
  std::vector<BYTE> paletteBytes(sizeof(Gdiplus::ColorPalette) + 255 * sizeof(Gdiplus::ARGB));
  auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(paletteBytes.data());
  const int stride = (width + 3) & ~3;
  std::vector<BYTE> indices(static_cast<std::size_t>(stride) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Gdiplus::ARGB colour = pixels[static_cast<std::size_t>(y) * width + x];
      UINT index = 0;
      while (index < palette->Count && palette->Entries[index] != colour) ++index;
      if (index == palette->Count) {
        if (index == 256) return false;
        palette->Entries[palette->Count++] = colour;
      }
      indices[static_cast<std::size_t>(y) * stride + x] = static_cast<BYTE>(index);
    }
  }
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gdi::GdipCreateBitmapFromScan0(width, height, stride, PixelFormat8bppIndexed, indices.data(),
                                     &bitmap) != Gdiplus::Ok) {
    return false;
  }
  gdi::GdipSetImagePalette(bitmap, palette);
  return Save(bitmap, path, encoder);
}

// Writes 32-bit ARGB pixels, `width` a row.
bool WritePixels(const std::wstring& path, int width, int height,
                 std::vector<Gdiplus::ARGB>& pixels, const wchar_t* mime) {
  CLSID encoder;
  if (!FindEncoder(mime, encoder)) return false;
  if (lstrcmpiW(mime, L"image/gif") == 0) return SaveIndexed(width, height, pixels, path, encoder);
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gdi::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                     reinterpret_cast<BYTE*>(pixels.data()),
                                     &bitmap) != Gdiplus::Ok) {
    return false;
  }
  return Save(bitmap, path, encoder);
}

}  // namespace

bool WritePicture(const std::wstring& path, int width, int height, unsigned colour,
                  const wchar_t* mime) {
  std::vector<Gdiplus::ARGB> pixels(static_cast<std::size_t>(width) * height, colour);
  return WritePixels(path, width, height, pixels, mime);
}

unsigned PatternColour(int x, int y) {
  const unsigned red = (x / 16 % 16) * 17;
  const unsigned green = (y / 16 % 16) * 17;
  return 0xFF000000u | red << 16 | green << 8 | 0x80;
}

bool WritePatternPicture(const std::wstring& path, int width, int height, const wchar_t* mime) {
  std::vector<Gdiplus::ARGB> pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels[static_cast<std::size_t>(y) * width + x] = PatternColour(x, y);
    }
  }
  return WritePixels(path, width, height, pixels, mime);
}

void WriteTextFile(const std::wstring& path, const char* text) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
  CloseHandle(file);
}

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }

ScratchFolder::ScratchFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path = std::wstring(temp) + name;
  CreateDirectoryW(path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
  // SHFileOperation wants a double-terminated list.
  std::wstring from = path + L'\0';
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&operation);
}
