#include "files/done_marks.h"

#include <shlwapi.h>

#include <algorithm>

#include "base/folder_entries.h"
#include "base/text.h"
#include "base/win_text.h"
#include "files/thumbnail_rules.h"
#include "resources/resource.h"

namespace {

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return lstrcmpiW(a.c_str(), b.c_str()) < 0;
}

// The same folder, however its path ends.
bool SameFolder(const wchar_t* a, const wchar_t* b) {
  PathBuffer first;
  PathBuffer second;
  if (!CopyText(first, a) || !CopyText(second, b)) return false;
  PathRemoveBackslashW(first);
  PathRemoveBackslashW(second);
  return SameTextIgnoreCase(first, second);
}

constexpr int MARK_SIZE = 20;
constexpr int MARK_MARGIN = 3;

}  // namespace

void DoneNames::Read(const wchar_t* destination, const wchar_t* source) {
  names_.clear();
  if (destination[0] == L'\0' || SameFolder(destination, source)) return;
  ForEachFileInFolder(
      destination,
      [](const wchar_t*, const wchar_t* fileName, void* context) {
        static_cast<std::vector<std::wstring>*>(context)->emplace_back(fileName);
      },
      &names_, nullptr);
  std::sort(names_.begin(), names_.end(), LessIgnoringCase);
}

bool DoneNames::Contains(const wchar_t* fileName) const {
  return std::binary_search(names_.begin(), names_.end(), std::wstring(fileName), LessIgnoringCase);
}

bool HasDoneFile(const wchar_t* destination, const wchar_t* source, const wchar_t* fileName) {
  PathBuffer path;
  return destination[0] != L'\0' && !SameFolder(destination, source) &&
         PathCombineW(path, destination, fileName) != nullptr && IsExistingFile(path);
}

void DrawDoneMark(HBITMAP tile) {
  // A shared icon belongs to the system: it is not destroyed.
  const auto mark =
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_DONE_MARK),
                                    IMAGE_ICON, MARK_SIZE, MARK_SIZE, LR_SHARED));
  const HDC dc = CreateCompatibleDC(nullptr);
  if (mark == nullptr || dc == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    return;
  }
  const HGDIOBJ old = SelectObject(dc, tile);
  constexpr int AT = THUMBNAIL_TILE_SIZE - MARK_SIZE - MARK_MARGIN;
  DrawIconEx(dc, AT, AT, mark, MARK_SIZE, MARK_SIZE, 0, nullptr, DI_NORMAL);
  SelectObject(dc, old);
  DeleteDC(dc);
}
