// Text comparisons that follow the platform's rules for file names.
#pragma once

// Ordinal comparison with case ignored, as the file system compares paths.
bool SameTextIgnoreCase(const wchar_t* a, const wchar_t* b);
