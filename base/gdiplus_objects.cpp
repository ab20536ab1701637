#include "base/gdiplus_objects.h"

#include <utility>

namespace gdi = Gdiplus::DllExports;

GdiBitmap::GdiBitmap(GdiBitmap&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), status_(other.status_) {}

GdiBitmap& GdiBitmap::operator=(GdiBitmap&& other) noexcept {
  if (this != &other) {
    Reset();
    handle_ = std::exchange(other.handle_, nullptr);
    status_ = other.status_;
  }
  return *this;
}

GdiBitmap GdiBitmap::FromFile(const wchar_t* path) {
  Gdiplus::GpBitmap* handle = nullptr;
  const GpStatus status = gdi::GdipCreateBitmapFromFile(path, &handle);
  return GdiBitmap(handle, status);
}

GdiBitmap GdiBitmap::FromStream(IStream* stream) {
  Gdiplus::GpBitmap* handle = nullptr;
  const GpStatus status = gdi::GdipCreateBitmapFromStream(stream, &handle);
  return GdiBitmap(handle, status);
}

GdiBitmap GdiBitmap::Create(int width, int height, Gdiplus::PixelFormat format) {
  Gdiplus::GpBitmap* handle = nullptr;
  const GpStatus status =
      gdi::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &handle);
  return GdiBitmap(handle, status);
}

GdiBitmap GdiBitmap::OverPixels(int width, int height, ARGB* pixels) {
  Gdiplus::GpBitmap* handle = nullptr;
  const GpStatus status = gdi::GdipCreateBitmapFromScan0(
      width, height, width * static_cast<int>(sizeof(ARGB)), PixelFormat32bppARGB,
      reinterpret_cast<BYTE*>(pixels), &handle);
  return GdiBitmap(handle, status);
}

void GdiBitmap::Reset() {
  if (handle_ != nullptr) gdi::GdipDisposeImage(handle_);
  handle_ = nullptr;
}

uint32_t GdiBitmap::Width() {
  UINT width = 0;
  if (handle_ != nullptr) status_ = gdi::GdipGetImageWidth(handle_, &width);
  return width;
}

uint32_t GdiBitmap::Height() {
  UINT height = 0;
  if (handle_ != nullptr) status_ = gdi::GdipGetImageHeight(handle_, &height);
  return height;
}

GdiBitmap GdiBitmap::Clone() {
  Gdiplus::GpImage* copy = nullptr;
  if (handle_ != nullptr) status_ = gdi::GdipCloneImage(handle_, &copy);
  return GdiBitmap(static_cast<Gdiplus::GpBitmap*>(copy), status_);
}

Gdiplus::PixelFormat GdiBitmap::ImagePixelFormat() {
  Gdiplus::PixelFormat format = PixelFormatUndefined;
  if (handle_ != nullptr) status_ = gdi::GdipGetImagePixelFormat(handle_, &format);
  return format;
}

bool GdiBitmap::HasAlpha() const {
  Gdiplus::PixelFormat format = PixelFormatUndefined;
  return handle_ != nullptr && gdi::GdipGetImagePixelFormat(handle_, &format) == Gdiplus::Ok &&
         (format & PixelFormatAlpha) != 0;
}

GdiBitmap GdiBitmap::CloneArea(int x, int y, int width, int height, Gdiplus::PixelFormat format) {
  Gdiplus::GpBitmap* copy = nullptr;
  if (handle_ != nullptr) {
    status_ = gdi::GdipCloneBitmapAreaI(x, y, width, height, format, handle_, &copy);
  }
  return GdiBitmap(copy, status_);
}

GdiBitmap GdiBitmap::Thumbnail(int width, int height) {
  Gdiplus::GpImage* thumbnail = nullptr;
  if (handle_ != nullptr) {
    status_ = gdi::GdipGetImageThumbnail(handle_, static_cast<UINT>(width),
                                         static_cast<UINT>(height), &thumbnail, nullptr, nullptr);
  }
  return GdiBitmap(static_cast<Gdiplus::GpBitmap*>(thumbnail), status_);
}

void GdiBitmap::RotateFlip(Gdiplus::RotateFlipType turn) {
  if (handle_ != nullptr) status_ = gdi::GdipImageRotateFlip(handle_, turn);
}

HBITMAP GdiBitmap::ToHbitmap(ARGB background) {
  HBITMAP bitmap = nullptr;
  if (handle_ != nullptr) status_ = gdi::GdipCreateHBITMAPFromBitmap(handle_, &bitmap, background);
  return status_ == Gdiplus::Ok ? bitmap : nullptr;
}

GdiPen::GdiPen(ARGB colour) { gdi::GdipCreatePen1(colour, 1.0f, Gdiplus::UnitWorld, &handle_); }

GdiPen::~GdiPen() {
  if (handle_ != nullptr) gdi::GdipDeletePen(handle_);
}

GdiGraphics::GdiGraphics(HWND window) { status_ = gdi::GdipCreateFromHWND(window, &handle_); }

GdiGraphics::GdiGraphics(HDC dc) { status_ = gdi::GdipCreateFromHDC(dc, &handle_); }

GdiGraphics::GdiGraphics(GdiBitmap& bitmap) {
  if (bitmap) status_ = gdi::GdipGetImageGraphicsContext(bitmap.image(), &handle_);
}

GdiGraphics::~GdiGraphics() {
  if (handle_ != nullptr) gdi::GdipDeleteGraphics(handle_);
}

void GdiGraphics::Clear(ARGB colour) {
  if (handle_ != nullptr) status_ = gdi::GdipGraphicsClear(handle_, colour);
}

void GdiGraphics::DrawImage(const GdiBitmap& bitmap, int x, int y, int width, int height) {
  if (handle_ != nullptr && bitmap) {
    status_ = gdi::GdipDrawImageRectI(handle_, bitmap.image(), x, y, width, height);
  }
}

void GdiGraphics::DrawImageAt(const GdiBitmap& bitmap, int x, int y) {
  if (handle_ != nullptr && bitmap) status_ = gdi::GdipDrawImageI(handle_, bitmap.image(), x, y);
}

void GdiGraphics::DrawRectangle(const GdiPen& pen, int x, int y, int width, int height) {
  if (handle_ != nullptr)
    status_ = gdi::GdipDrawRectangleI(handle_, pen.get(), x, y, width, height);
}

void GdiGraphics::ExcludeClip(int x, int y, int width, int height) {
  if (handle_ != nullptr) {
    status_ = gdi::GdipSetClipRectI(handle_, x, y, width, height, Gdiplus::CombineModeExclude);
  }
}

void GdiGraphics::ResetClip() {
  if (handle_ != nullptr) status_ = gdi::GdipResetClip(handle_);
}
