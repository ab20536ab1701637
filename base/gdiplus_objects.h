// Thin owners of GDI+ objects, reached through the flat API. Each keeps the
// native handle and the status of the last call made through it.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>

using Gdiplus::ARGB;
using Gdiplus::GpStatus;

class GdiBitmap {
 public:
  GdiBitmap() = default;
  ~GdiBitmap() { Reset(); }
  GdiBitmap(GdiBitmap&& other) noexcept;
  GdiBitmap& operator=(GdiBitmap&& other) noexcept;
  GdiBitmap(const GdiBitmap&) = delete;
  GdiBitmap& operator=(const GdiBitmap&) = delete;

  // Decodes a picture file.
  static GdiBitmap FromFile(const wchar_t* path);
  // Decodes a picture from a stream, which must outlive the bitmap.
  static GdiBitmap FromStream(IStream* stream);
  // An empty bitmap, 32-bit ARGB unless told.
  static GdiBitmap Create(int width, int height,
                          Gdiplus::PixelFormat format = PixelFormat32bppARGB);
  // A 32-bit ARGB bitmap over the caller's pixels, which must outlive it.
  static GdiBitmap OverPixels(int width, int height, ARGB* pixels);

  void Reset();
  explicit operator bool() const { return handle_ != nullptr; }
  Gdiplus::GpBitmap* get() const { return handle_; }
  Gdiplus::GpImage* image() const { return handle_; }
  GpStatus status() const { return status_; }

  uint32_t Width();
  uint32_t Height();
  GdiBitmap Clone();
  Gdiplus::PixelFormat ImagePixelFormat();
  // Whether its pixels carry an alpha channel, as a PNG's may.
  bool HasAlpha() const;
  // The area at full resolution, in `format`.
  GdiBitmap CloneArea(int x, int y, int width, int height, Gdiplus::PixelFormat format);
  // A reduced copy of exactly `width` x `height` pixels.
  GdiBitmap Thumbnail(int width, int height);
  // Turns and flips the pixels in place.
  void RotateFlip(Gdiplus::RotateFlipType turn);
  // Hands the pixels, in the bitmap's own format, to `write(firstRow,
  // stride)` to fill; false when they cannot be reached or `write` fails.
  template <typename Write>
  bool WritePixels(Write write) {
    return UsePixels(Gdiplus::ImageLockModeWrite, ImagePixelFormat(), write);
  }
  // Hands the pixels, converted to `format` as needed, to `use(firstRow,
  // stride)` to read, or to write in `mode`; false when they cannot be
  // reached or `use` fails.
  template <typename Use>
  bool UsePixels(Gdiplus::ImageLockMode mode, Gdiplus::PixelFormat format, Use use);
  // A device-independent bitmap handle that the caller deletes, or null.
  HBITMAP ToHbitmap(ARGB background);

 private:
  GdiBitmap(Gdiplus::GpBitmap* handle, GpStatus status) : handle_(handle), status_(status) {}
  Gdiplus::GpBitmap* handle_ = nullptr;
  GpStatus status_ = Gdiplus::Ok;
};

template <typename Use>
bool GdiBitmap::UsePixels(Gdiplus::ImageLockMode mode, Gdiplus::PixelFormat format, Use use) {
  if (handle_ == nullptr) return false;
  const Gdiplus::GpRect all = {0, 0, static_cast<INT>(Width()), static_cast<INT>(Height())};
  Gdiplus::BitmapData data = {};
  status_ = Gdiplus::DllExports::GdipBitmapLockBits(handle_, &all, mode, format, &data);
  if (status_ != Gdiplus::Ok) return false;
  const bool used = data.Stride > 0 &&
                    use(static_cast<unsigned char*>(data.Scan0), static_cast<size_t>(data.Stride));
  status_ = Gdiplus::DllExports::GdipBitmapUnlockBits(handle_, &data);
  return used && status_ == Gdiplus::Ok;
}

class GdiPen {
 public:
  explicit GdiPen(ARGB colour);
  ~GdiPen();
  GdiPen(const GdiPen&) = delete;
  GdiPen& operator=(const GdiPen&) = delete;
  Gdiplus::GpPen* get() const { return handle_; }

 private:
  Gdiplus::GpPen* handle_ = nullptr;
};

class GdiGraphics {
 public:
  explicit GdiGraphics(HWND window);
  explicit GdiGraphics(HDC dc);
  explicit GdiGraphics(GdiBitmap& bitmap);
  ~GdiGraphics();
  GdiGraphics(const GdiGraphics&) = delete;
  GdiGraphics& operator=(const GdiGraphics&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  Gdiplus::GpGraphics* get() const { return handle_; }
  GpStatus status() const { return status_; }

  void Clear(ARGB colour);
  void DrawImage(const GdiBitmap& bitmap, int x, int y, int width, int height);
  void DrawImageAt(const GdiBitmap& bitmap, int x, int y);
  void DrawRectangle(const GdiPen& pen, int x, int y, int width, int height);
  // Everything but the rectangle.
  void ExcludeClip(int x, int y, int width, int height);
  void ResetClip();

 private:
  Gdiplus::GpGraphics* handle_ = nullptr;
  GpStatus status_ = Gdiplus::Ok;
};
