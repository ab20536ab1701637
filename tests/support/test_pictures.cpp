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

}  // namespace

bool WritePicture(const std::wstring& path, int width, int height, unsigned colour,
                  const wchar_t* mime) {
  CLSID encoder;
  if (!FindEncoder(mime, encoder)) return false;
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gdi::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) !=
      Gdiplus::Ok) {
    return false;
  }
  Gdiplus::GpGraphics* graphics = nullptr;
  gdi::GdipGetImageGraphicsContext(bitmap, &graphics);
  gdi::GdipGraphicsClear(graphics, colour);
  gdi::GdipDeleteGraphics(graphics);
  const bool saved =
      gdi::GdipSaveImageToFile(bitmap, path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
  gdi::GdipDisposeImage(bitmap);
  return saved;
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
