// Decisions made at start-up that need no window. Pure.
#pragma once

#include <cstdint>

// What the platform reports of its version.
struct SystemVersion {
  uint32_t platformId;  // 2 for the NT family
  uint32_t major;
  uint32_t minor;
};

// Windows 2000 or later.
bool IsSupportedSystem(const SystemVersion& version);

struct WindowRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

// Keeps at least 100 pixels of the stored window's corner on the work area;
// negative positions and the size stay as stored.
WindowRect PlaceOnWorkArea(WindowRect stored, int32_t workWidth, int32_t workHeight);
