// The progress of work in the background on the window's taskbar button
// (Windows 7 and later; nothing on a system without it).
#pragma once

#include <windows.h>

#include <cstddef>

// Shows `done` of `total` on the button of `window`; with `total` 0 the
// progress goes.
void ShowTaskbarProgress(HWND window, std::size_t done, std::size_t total);

// Lets go of the taskbar, before COM is shut down.
void ReleaseTaskbarProgress();
