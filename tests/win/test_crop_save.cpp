#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/error_report.h"
#include "editor/editor.h"
#include "base/gdiplus_objects.h"
#include "files/crop_save.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "ui/label_ids.h"

namespace gdi = Gdiplus::DllExports;

namespace {

constexpr Rect AREA = {37, 21, 150, 100};

// Loads `picture` into the editor, from a temporary copy or not, and selects
// `area`, freely.
void LoadWithSelection(const std::wstring& picture, const Rect& area, bool tempCopy = false) {
  Settings().options.CopySourceToTemp = tempCopy;
  Settings().options.ViewOnlyImages = false;
  Settings().options.ResizeRatioMode = 2;
  ClearError();
  LoadEditorImage(picture.c_str());
  SetEditorReady();
  UpdateSelection(area.width, SelectionField::Width, SET_VALUE);
  UpdateSelection(area.height, SelectionField::Height, SET_VALUE);
  UpdateSelection(area.x, SelectionField::X, SET_VALUE);
  UpdateSelection(area.y, SelectionField::Y, SET_VALUE);
}

// The saved crop against the source's area, channel by channel.
struct Comparison {
  bool sameSize = false;
  double averageDifference = 0;
  int largestDifference = 0;
};

Comparison CompareWithSource(const std::wstring& crop, const std::wstring& source,
                             const Rect& area) {
  Comparison result;
  GdiBitmap saved = GdiBitmap::FromFile(crop.c_str());
  GdiBitmap original = GdiBitmap::FromFile(source.c_str());
  result.sameSize = saved && saved.Width() == static_cast<uint32_t>(area.width) &&
                    saved.Height() == static_cast<uint32_t>(area.height);
  if (!result.sameSize || !original) return result;
  long long total = 0;
  for (int y = 0; y < area.height; ++y) {
    for (int x = 0; x < area.width; ++x) {
      ARGB a = 0;
      ARGB b = 0;
      gdi::GdipBitmapGetPixel(saved.get(), x, y, &a);
      gdi::GdipBitmapGetPixel(original.get(), area.x + x, area.y + y, &b);
      for (int shift = 0; shift <= 16; shift += 8) {
        const int difference =
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        total += difference;
        if (difference > result.largestDifference) result.largestDifference = difference;
      }
    }
  }
  result.averageDifference = static_cast<double>(total) / (3.0 * area.width * area.height);
  return result;
}

// The first bytes of a file, or "" when it cannot be read.
std::string FileStart(const std::wstring& path, DWORD size) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string bytes(size, '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), size, &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

// The names in a folder, "." and ".." left out.
std::vector<std::wstring> FolderNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

void SetDestination(const std::wstring& folder) {
  CopyText(Settings().options.DestinationFolder, folder.c_str());
}

}  // namespace

TEST_SUITE("crop_save") {
  TEST_CASE("a crop holds the source's area at full size, in the target's format") {
    // The folder goes after the window, which lets go of the loaded picture.
    ScratchFolder folder(L"TrimletCropFormats");
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    const std::wstring out = folder.File(L"out");
    SetDestination(out);

    SUBCASE("bitmap: every pixel") {
      Settings().options.CopyImageExifTags = false;
      const std::wstring source = folder.File(L"pattern.bmp");
      REQUIRE(WritePatternPicture(source, 240, 180, L"image/bmp"));
      LoadWithSelection(source, AREA);
      REQUIRE(CropRect() == AREA);
      const std::wstring target = out + L"\\pattern.bmp";
      REQUIRE(SaveCrop(target.c_str()));
      CHECK(LastError().label == -1);
      CHECK(FileStart(target, 2) == "BM");
      const Comparison comparison = CompareWithSource(target, source, AREA);
      CHECK(comparison.sameSize);
      CHECK(comparison.largestDifference == 0);

      // The extension in capitals still names the bitmap format.
      const std::wstring capitals = out + L"\\CAPITALS.BMP";
      REQUIRE(SaveCrop(capitals.c_str()));
      CHECK(FileStart(capitals, 2) == "BM");
      CHECK(CompareWithSource(capitals, source, AREA).sameSize);
    }

    SUBCASE("JPEG: within the encoder's loss") {
      // Wine's GDI+ stores no property items and ignores the quality, so the
      // file cannot show either; test_save_rules checks what is handed over.
      Settings().options.CopyImageExifTags = true;
      const std::wstring source = folder.File(L"pattern.jpg");
      REQUIRE(WritePatternPicture(source, 240, 180, L"image/jpeg"));
      LoadWithSelection(source, AREA);
      const std::wstring target = out + L"\\pattern.jpg";
      REQUIRE(SaveCrop(target.c_str()));
      CHECK(FileStart(target, 2) == "\xFF\xD8");
      const Comparison comparison = CompareWithSource(target, source, AREA);
      CHECK(comparison.sameSize);
      CHECK(comparison.averageDifference < 3.0);
    }

    SUBCASE("GIF: through the GIF encoder") {
      Settings().options.CopyImageExifTags = true;
      const std::wstring source = folder.File(L"pattern.gif");
      REQUIRE(WritePatternPicture(source, 240, 180, L"image/gif"));
      LoadWithSelection(source, AREA);
      const std::wstring target = out + L"\\pattern.gif";
      REQUIRE(SaveCrop(target.c_str()));
      CHECK(FileStart(target, 4) == "GIF8");
      // The crop keeps the source's palette, so nothing is lost.
      const Comparison comparison = CompareWithSource(target, source, AREA);
      CHECK(comparison.sameSize);
      CHECK(comparison.largestDifference == 0);
    }

    // The new file went in under a temporary name that is gone now.
    for (const std::wstring& name : FolderNames(out)) {
      CHECK(name.find(L".tmp") == std::wstring::npos);
    }
  }

  TEST_CASE("an existing target gives way only to a whole new file") {
    ScratchFolder folder(L"TrimletCropReplace");
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    SetDestination(folder.path);
    Settings().options.CopyImageExifTags = true;
    const std::wstring source = folder.File(L"source.bmp");
    REQUIRE(WritePatternPicture(source, 240, 180, L"image/bmp"));
    LoadWithSelection(source, AREA);
    const std::wstring target = folder.File(L"target.bmp");
    WriteTextFile(target, "old");

    SUBCASE("a read-only target is replaced by a file of normal attributes") {
      SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
      REQUIRE(SaveCrop(target.c_str()));
      CHECK(FileStart(target, 2) == "BM");
      CHECK((GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY) == 0);
    }

    SUBCASE("a target held open stays as it was, attributes included") {
      // The new file is written first and only then put in the old one's
      // place; when the old one will not give way, it keeps its content and
      // attributes and the new one is removed. (A failing encoder, after
      // which the old file must stay too, cannot be brought about honestly.)
      SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
      const DWORD attributes = GetFileAttributesW(target.c_str());
      const HANDLE held =
          CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      REQUIRE(held != INVALID_HANDLE_VALUE);
      CHECK_FALSE(SaveCrop(target.c_str()));
      CloseHandle(held);
      CHECK(LastError().label == LBL_FILE_DELETE_ERROR);
      CHECK(std::wstring(LastError().argument) == target);
      CHECK(LastError().icon == MB_ICONERROR);
      CHECK(FileStart(target, 16) == "old");
      CHECK(GetFileAttributesW(target.c_str()) == attributes);
    }

    SUBCASE("the source itself is replaced when the editor works on a copy") {
      LoadWithSelection(source, AREA, true);
      REQUIRE(SaveCrop(source.c_str()));
      GdiBitmap saved = GdiBitmap::FromFile(source.c_str());
      CHECK(saved.Width() == static_cast<uint32_t>(AREA.width));
      CHECK(saved.Height() == static_cast<uint32_t>(AREA.height));
    }

    SUBCASE("the source held open by the editor stays") {
      CHECK_FALSE(SaveCrop(source.c_str()));
      CHECK(LastError().label == LBL_FILE_DELETE_ERROR);
      GdiBitmap kept = GdiBitmap::FromFile(source.c_str());
      CHECK(kept.Width() == 240);
    }

    SUBCASE("a folder in the target's place is a failed write") {
      const std::wstring inTheWay = folder.File(L"folder.bmp");
      REQUIRE(CreateDirectoryW(inTheWay.c_str(), nullptr));
      CHECK_FALSE(SaveCrop(inTheWay.c_str()));
      CHECK(LastError().label == LBL_IMAGE_SAVE_ERROR);
      CHECK(std::wstring(LastError().argument) == inTheWay);
      CHECK(GetFileAttributesW(inTheWay.c_str()) == FILE_ATTRIBUTE_DIRECTORY);
    }

    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const std::wstring& name : FolderNames(folder.path)) {
      CHECK(name.find(L".tmp") == std::wstring::npos);
    }
  }

  TEST_CASE("the destination folder is made when missing; a file in its place is reported") {
    ScratchFolder folder(L"TrimletCropFolders");
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    Settings().options.CopyImageExifTags = false;
    const std::wstring source = folder.File(L"source.bmp");
    REQUIRE(WritePatternPicture(source, 240, 180, L"image/bmp"));
    LoadWithSelection(source, AREA);

    const std::wstring deep = folder.File(L"one\\two\\three");
    SetDestination(deep);
    const std::wstring target = deep + L"\\source.bmp";
    REQUIRE(SaveCrop(target.c_str()));
    CHECK(FileStart(target, 2) == "BM");

    const std::wstring file = folder.File(L"not a folder");
    WriteTextFile(file, "file");
    SetDestination(file);
    const std::wstring beneath = file + L"\\source.bmp";
    CHECK_FALSE(SaveCrop(beneath.c_str()));
    CHECK(LastError().label == LBL_FOLDER_CREATE_ERROR);
    CHECK(std::wstring(LastError().argument) == file);
    CHECK(FileStart(file, 16) == "file");
  }

  TEST_CASE("a selection whose picture is gone is reported with its size") {
    ScratchFolder folder(L"TrimletCropNoPicture");
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    SetDestination(folder.path);
    const std::wstring source = folder.File(L"source.bmp");
    REQUIRE(WritePatternPicture(source, 240, 180, L"image/bmp"));
    LoadWithSelection(source, {0, 0, 100, 80});
    ClearEditor(false);
    const std::wstring target = folder.File(L"target.bmp");
    CHECK_FALSE(SaveCrop(target.c_str()));
    CHECK(LastError().label == LBL_GDIPLUS_RESIZE_ERROR);
    CHECK_TEXT(LastError().argument, L"100 x 80");
    CHECK(GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES);
  }

  TEST_CASE("encoders by MIME type, unique names and forced deletion") {
    GdiplusSession gdiplus;
    ScratchFolder folder(L"TrimletCropFiles");

    CLSID bmp;
    CLSID jpeg;
    CLSID gif;
    CHECK(FindEncoder(L"image/bmp", bmp));
    CHECK(FindEncoder(L"IMAGE/JPEG", jpeg));
    CHECK(FindEncoder(L"Image/Gif", gif));
    CHECK(bmp != jpeg);
    CHECK(jpeg != gif);
    CLSID none;
    CHECK_FALSE(FindEncoder(L"image/none", none));

    const std::wstring taken = folder.File(L"a.jpg");
    WriteTextFile(taken, "taken");
    PathBuffer unique;
    REQUIRE(MakeUniqueTargetPath(folder.path.c_str(), L"a.jpg", unique));
    const std::wstring made = unique;
    CHECK(made != taken);
    CHECK(made.rfind(folder.path + L"\\", 0) == 0);
    CHECK(made.find(L'\\', folder.path.size() + 1) == std::wstring::npos);
    CHECK(made.size() > 4);
    CHECK(made.substr(made.size() - 4) == L".jpg");
    CHECK(GetFileAttributesW(unique) == INVALID_FILE_ATTRIBUTES);

    SetFileAttributesW(taken.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    const DWORD attributes = GetFileAttributesW(taken.c_str());
    REQUIRE((attributes & FILE_ATTRIBUTE_READONLY) != 0);
    const HANDLE held =
        CreateFileW(taken.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    CHECK_FALSE(DeleteFileForced(taken.c_str()));
    CloseHandle(held);
    CHECK(GetFileAttributesW(taken.c_str()) == attributes);
    CHECK(DeleteFileForced(taken.c_str()));
    CHECK(GetFileAttributesW(taken.c_str()) == INVALID_FILE_ATTRIBUTES);
  }
}
