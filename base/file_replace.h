// Writing a file whole: its new content goes into a temporary file beside
// it, which then takes its place. An existing file changes only once its
// successor is complete, and a failure leaves it exactly as it was.
#pragma once

#include "base/text.h"

// Reserves a new, empty file in `target`'s folder. Its name is "~" and
// hexadecimal digits, no longer than the target's own name, so that every
// target that fits a path also has room for it.
bool ReserveFileBeside(const wchar_t* target, PathBuffer& temporary);

// Puts `temporary` in `target`'s place, a read-only target included. On
// failure the temporary file is deleted, the target keeps its attributes,
// and `blocked` tells whether an existing target would not go.
bool MoveIntoPlace(const wchar_t* temporary, const wchar_t* target, bool& blocked);
