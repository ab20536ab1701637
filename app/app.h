// Process-wide values of the application shell.
#pragma once

#include <windows.h>

#include "base/text.h"

// Remembers the instance handle and the user-interface thread.
void InitApp(HINSTANCE instance);

HINSTANCE AppInstance();

// The current source folder; empty when none is open.
PathBuffer& SourceFolder();

// Ends the message loop. Called from the user-interface thread only.
void RequestExit();
