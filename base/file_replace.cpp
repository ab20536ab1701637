#include "base/file_replace.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

bool ReserveFileBeside(const wchar_t* target, PathBuffer& temporary) {
  PathBuffer folder;
  if (!CopyText(folder, target) || !PathRemoveFileSpecW(folder) || folder[0] == L'\0') {
    return false;
  }
  const std::size_t digits =
      std::min<std::size_t>(7, TextLength(PathFindFileNameW(target), PATH_CAPACITY) - 1);
  if (digits == 0) return false;
  const unsigned range = 1u << (4 * digits);
  unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 8);
  for (int attempt = 0; attempt < 64; ++attempt, seed = seed * 1103515245u + 12345u) {
    wchar_t name[16];
    std::swprintf(name, std::size(name), L"~%0*X", static_cast<int>(digits), (seed >> 4) % range);
    if (PathCombineW(temporary, folder, name) == nullptr) return false;
    const HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

bool MoveIntoPlace(const wchar_t* temporary, const wchar_t* target, bool& blocked) {
  // Windows refuses to replace a read-only file; like a forced deletion, the
  // old target is made plain first and its attributes come back on failure.
  const DWORD attributes = GetFileAttributesW(target);
  blocked = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  if (blocked) SetFileAttributesW(target, FILE_ATTRIBUTE_NORMAL);
  if (MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING)) {
    blocked = false;
    return true;
  }
  if (blocked) SetFileAttributesW(target, attributes);
  DeleteFileW(temporary);
  return false;
}
