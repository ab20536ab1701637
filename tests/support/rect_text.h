// Lets doctest print rectangles in failed checks.
#pragma once

#include <doctest/doctest.h>

#include <string>

#include "base/geometry.h"

inline std::string RectText(const Rect& r) {
  return "(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.width) +
         ", " + std::to_string(r.height) + ")";
}

namespace doctest {
template <>
struct StringMaker<Rect> {
  static String convert(const Rect& r) { return String(RectText(r).c_str()); }
};
}  // namespace doctest
