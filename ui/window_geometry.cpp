#include "ui/window_geometry.h"

Point CentreOver(const Box& parent, int32_t width, int32_t height, const Box& workArea) {
  Point at = {parent.left + ((parent.right - parent.left) - width) / 2,
              parent.top + ((parent.bottom - parent.top) - height) / 2};
  if (at.x + width > workArea.right) at.x = workArea.right - width;
  if (at.y + height > workArea.bottom) at.y = workArea.bottom - height;
  if (at.x < workArea.left) at.x = workArea.left;
  if (at.y < workArea.top) at.y = workArea.top;
  return at;
}
