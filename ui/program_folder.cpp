#include "ui/program_folder.h"

#include <windows.h>
#include <shlwapi.h>

bool GetProgramPath(PathBuffer& path) {
  const DWORD length = GetModuleFileNameW(nullptr, path, PATH_CAPACITY);
  if (length == 0 || length >= PATH_CAPACITY) {
    path[0] = L'\0';
    return false;
  }
  return true;
}

bool GetProgramFolder(PathBuffer& folder) {
  if (!GetProgramPath(folder)) return false;
  PathRemoveFileSpecW(folder);
  return true;
}
