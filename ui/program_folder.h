// Where the running executable lives.
#pragma once

#include "base/text.h"

// The executable's full path; false (and empty) when it does not fit.
bool GetProgramPath(PathBuffer& path);

// The folder of the executable, without a trailing backslash.
bool GetProgramFolder(PathBuffer& folder);
