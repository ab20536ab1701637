// Something like a camera's JPEG for the benchmarks: smooth light over the
// frame, a few round shapes, and grain, different for each seed, so that
// its decoding and encoding cost what a photograph's do.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "files/crop_save.h"

constexpr int PHOTO_WIDTH = 4000;
constexpr int PHOTO_HEIGHT = 3000;

inline void PaintPhoto(std::vector<Gdiplus::ARGB>& pixels, int seed) {
  unsigned noise = 2166136261u ^ static_cast<unsigned>(seed);
  const int cx = PHOTO_WIDTH * (seed % 7 + 1) / 8;
  const int cy = PHOTO_HEIGHT * (seed % 5 + 1) / 6;
  for (int y = 0; y < PHOTO_HEIGHT; ++y) {
    for (int x = 0; x < PHOTO_WIDTH; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = static_cast<int>(noise >> 27) - 16;
      const int dx = (x - cx) / 8;
      const int dy = (y - cy) / 8;
      const bool inShape = dx * dx + dy * dy < 40000 || (x / 250 + y / 250 + seed) % 9 == 0;
      int red = x * 200 / PHOTO_WIDTH + 30 + grain;
      int green = y * 180 / PHOTO_HEIGHT + 40 + grain;
      int blue = inShape ? 220 + grain / 2 : 90 + (x + y) % 97 + grain;
      red = std::clamp(red, 0, 255);
      green = std::clamp(green, 0, 255);
      blue = std::clamp(blue, 0, 255);
      pixels[static_cast<std::size_t>(y) * PHOTO_WIDTH + x] =
          0xFF000000u | static_cast<unsigned>(red) << 16 | static_cast<unsigned>(green) << 8 |
          static_cast<unsigned>(blue);
    }
  }
}

// Paints photo `seed` into `pixels` (PHOTO_WIDTH x PHOTO_HEIGHT) and writes
// it to `path` as JPEG, under a temporary name first: a cut-off run leaves
// no half picture.
inline bool WritePhoto(const std::wstring& path, int seed, std::vector<Gdiplus::ARGB>& pixels) {
  namespace gdi = Gdiplus::DllExports;
  CLSID encoder;
  if (!FindEncoder(L"image/jpeg", encoder)) return false;
  pixels.resize(static_cast<std::size_t>(PHOTO_WIDTH) * PHOTO_HEIGHT);
  PaintPhoto(pixels, seed);
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gdi::GdipCreateBitmapFromScan0(PHOTO_WIDTH, PHOTO_HEIGHT, PHOTO_WIDTH * 4,
                                     PixelFormat32bppARGB, reinterpret_cast<BYTE*>(pixels.data()),
                                     &bitmap) != Gdiplus::Ok) {
    return false;
  }
  const std::wstring partial = path + L".part";
  const bool saved =
      gdi::GdipSaveImageToFile(bitmap, partial.c_str(), &encoder, nullptr) == Gdiplus::Ok;
  gdi::GdipDisposeImage(bitmap);
  return saved && MoveFileW(partial.c_str(), path.c_str());
}
