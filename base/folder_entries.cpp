#include "base/folder_entries.h"

#include <windows.h>
#include <shlwapi.h>

#include "base/text.h"

namespace {

// PathAddBackslashW may write one unit past a full path; "*" takes one more.
constexpr std::size_t PATTERN_CAPACITY = PATH_CAPACITY + 2;

}  // namespace

void ForEachFileInFolder(const wchar_t* folder, FolderEntryCallback callback, void* context,
                         const std::atomic<bool>* cancel) {
  wchar_t pattern[PATTERN_CAPACITY] = L"";
  // An empty folder would make the pattern "*", the current folder.
  if (folder == nullptr || folder[0] == L'\0' || !CopyText(pattern, PATH_CAPACITY, folder)) return;
  if (PathAddBackslashW(pattern) == nullptr || !AppendText(pattern, L"*")) return;
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      callback(folder, entry.cFileName, context);
    }
  } while (FindNextFileW(search, &entry) && (cancel == nullptr || !cancel->load()));
  FindClose(search);
}

bool IsExistingFile(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
