#include "tests/support/test_pictures.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "files/crop_save.h"

namespace gdi = Gdiplus::DllExports;

namespace {

// Writes the pixels `colourAt` gives, with the program's own encoder lookup
// (a wrong encoder would show in every format check). Wine's GIF encoder writes only indexed
// pixels correctly (from 24 or 32 bits it writes a broken file and answers
// Ok), so a GIF goes through an 8-bit palette of the picture's colours,
// which must be 256 or fewer.
bool WritePixels(const std::wstring& path, int width, int height, const wchar_t* mime,
                 const std::function<unsigned(int, int)>& colourAt) {
  CLSID encoder;
  if (!FindEncoder(mime, encoder)) return false;
  const bool indexed = lstrcmpiW(mime, L"image/gif") == 0;
  const int stride = indexed ? (width + 3) & ~3 : width * 4;
  std::vector<BYTE> bits(static_cast<std::size_t>(stride) * height);
  std::vector<BYTE> paletteBytes(sizeof(Gdiplus::ColorPalette) + 255 * sizeof(Gdiplus::ARGB));
  auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(paletteBytes.data());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned colour = colourAt(x, y);
      BYTE* at = &bits[static_cast<std::size_t>(y) * stride + (indexed ? x : 4 * x)];
      if (!indexed) *reinterpret_cast<unsigned*>(at) = colour;
      if (!indexed) continue;
      UINT index = 0;
      while (index < palette->Count && palette->Entries[index] != colour) ++index;
      if (index == 256) return false;
      if (index == palette->Count) palette->Entries[palette->Count++] = colour;
      *at = static_cast<BYTE>(index);
    }
  }
  Gdiplus::GpBitmap* bitmap = nullptr;
  gdi::GdipCreateBitmapFromScan0(width, height, stride,
                                 indexed ? PixelFormat8bppIndexed : PixelFormat32bppARGB,
                                 bits.data(), &bitmap);
  if (bitmap == nullptr) return false;
  if (indexed) gdi::GdipSetImagePalette(bitmap, palette);
  const bool saved =
      gdi::GdipSaveImageToFile(bitmap, path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
  gdi::GdipDisposeImage(bitmap);
  return saved;
}

}  // namespace

bool WritePicture(const std::wstring& path, int width, int height, unsigned colour,
                  const wchar_t* mime) {
  return WritePixels(path, width, height, mime, [colour](int, int) { return colour; });
}

static unsigned PatternColour(int x, int y) {
  return 0xFF000000u | (x / 16 % 16) * 17 << 16 | (y / 16 % 16) * 17 << 8 | 0x80;
}

bool WritePatternPicture(const std::wstring& path, int width, int height, const wchar_t* mime) {
  return WritePixels(path, width, height, mime, PatternColour);
}

int ColourDistance(unsigned a, unsigned b) {
  int sum = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    sum += std::abs(static_cast<int>(a >> shift & 255) - static_cast<int>(b >> shift & 255));
  }
  return sum;
}

void WriteTextFile(const std::wstring& path, const char* text) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
}

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }

ScratchFolder::ScratchFolder(const wchar_t* name)
    : path((std::filesystem::temp_directory_path() / name).wstring()) {
  CreateDirectoryW(path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}
