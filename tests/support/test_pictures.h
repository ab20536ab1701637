// Pictures made for the tests with GDI+: known sizes and colours, written
// in a chosen format.
#pragma once

#include <windows.h>

#include <string>

// Writes a picture of one colour (0xAARRGGBB). `mime` is "image/bmp",
// "image/jpeg" or "image/gif". False when GDI+ could not write it.
bool WritePicture(const std::wstring& path, int width, int height, unsigned colour,
                  const wchar_t* mime);

// Writes a picture of 16 x 16 tiles, red stepping with the column of tiles
// and green with the row, 256 colours in all (so that GIF keeps them): a
// crop taken one pixel off shows at every tile edge.
bool WritePatternPicture(const std::wstring& path, int width, int height, const wchar_t* mime);

// The sum of the differences of the three colour channels of two pixels,
// as ARGB or as COLORREF values alike.
int ColourDistance(unsigned a, unsigned b);

// Writes a file holding `text`: a file with a picture's name that is none.
void WriteTextFile(const std::wstring& path, const char* text);

// Starts GDI+ for a test process that has no editor of its own.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

// A folder of its own under the temporary folder, removed with its files.
class ScratchFolder {
 public:
  explicit ScratchFolder(const wchar_t* name);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::wstring File(const wchar_t* name) const { return path + L"\\" + name; }
  std::wstring path;
};
