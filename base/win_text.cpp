#include "base/win_text.h"

#include <windows.h>

bool SameTextIgnoreCase(const wchar_t* a, const wchar_t* b) {
  return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}
