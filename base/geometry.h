// The geometry types every layer shares. Pure.
#pragma once

#include <cstdint>

struct Size {
  int32_t width;
  int32_t height;
  bool operator==(const Size&) const = default;
};

// A rectangle as X, Y, Width, Height: columns X .. X + Width - 1 and rows
// Y .. Y + Height - 1 of a picture (CropRect), or an outline in pane pixels
// (ScreenRect), whose lines cover X .. X + Width and Y .. Y + Height.
struct Rect {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

inline bool operator==(const Rect& a, const Rect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// A rectangle by its edges, as windows are placed.
struct Box {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

struct Point {
  int32_t x;
  int32_t y;
};
