#include "editor/selection_rules.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "base/rounding.h"

namespace {

// A scaled side is capped here before it becomes an integer: far beyond any
// picture, yet a ratio term of 99999 times a tall picture's height cannot
// overflow. Every capped value is cut to the picture afterwards.
constexpr float SCALED_LIMIT = 1073741824.0f;  // 2^30

// Bits of a hit zone besides "on the selection".
constexpr int LEFT_EDGE = 2;
constexpr int TOP_EDGE = 4;

// The multiple of `step` nearest to `value`, a half rounding up; `value`
// itself without a grid.
int32_t NearestOnGrid(int32_t value, int32_t step) {
  if (step <= 1) return value;
  const int64_t shifted = int64_t{value} + step / 2;
  const int64_t lines = shifted / step - (shifted % step < 0 ? 1 : 0);
  return static_cast<int32_t>(lines * step);
}

int32_t RoundScaled(float value) {
  return RoundHalfDown(std::clamp(value, -SCALED_LIMIT, SCALED_LIMIT));
}

int32_t WidthForHeight(int32_t height, float ratio) {
  const float width = ratio * static_cast<float>(height);
  return RoundScaled(width);
}

int32_t HeightForWidth(int32_t width, float ratio) {
  const float height = static_cast<float>(width) / ratio;
  return RoundScaled(height);
}

int32_t& FieldOf(Rect& crop, SelectionField field) {
  switch (field) {
    case SelectionField::X:
      return crop.x;
    case SelectionField::Y:
      return crop.y;
    case SelectionField::Width:
      return crop.width;
    default:
      return crop.height;
  }
}

// Moves the rectangle back onto the picture. With KEEP_RIGHT (KEEP_BOTTOM)
// an overshoot past the left (top) border is taken off the width (height),
// so that the far edge stays.
void ClampPosition(Rect& crop, int32_t imageWidth, int32_t imageHeight, unsigned flags) {
  if (crop.x < 0) {
    if (flags & KEEP_RIGHT) crop.width += crop.x;
    crop.x = 0;
  }
  if (crop.y < 0) {
    if (flags & KEEP_BOTTOM) crop.height += crop.y;
    crop.y = 0;
  }
  if (crop.x + crop.width > imageWidth) crop.x = std::max(imageWidth - crop.width, 0);
  if (crop.y + crop.height > imageHeight) crop.y = std::max(imageHeight - crop.height, 0);
}

// The side that changed leads; the ratio gives the other, and the picture's
// far borders cut both.
void FitSides(Rect& crop, const Rect& start, unsigned flags, float ratio, int32_t imageWidth,
              int32_t imageHeight) {
  const bool freeMode = !(ratio > 0.0f);
  const int32_t right = start.x + start.width;
  const int32_t bottom = start.y + start.height;
  if (crop.width != start.width) {
    if (crop.x + crop.width > imageWidth) crop.width = imageWidth - crop.x;
    if (freeMode) {
      // Only a transpose changes both sides.
      if (crop.height != start.height && crop.y + crop.height > imageHeight) {
        crop.height = imageHeight - crop.y;
      }
      return;
    }
    crop.height = HeightForWidth(crop.width, ratio);
    if (flags & KEEP_BOTTOM) {
      crop.y = bottom - crop.height;
      if (crop.y < 0) {
        crop.y = 0;
        crop.height = bottom;
        crop.width = WidthForHeight(bottom, ratio);
        crop.x = right - crop.width;
      }
    }
    if (crop.y + crop.height > imageHeight) {
      crop.height = imageHeight - crop.y;
      crop.width = WidthForHeight(crop.height, ratio);
      if (flags & KEEP_RIGHT) crop.x = right - crop.width;
    }
  } else if (crop.height != start.height) {
    if (crop.y + crop.height > imageHeight) crop.height = imageHeight - crop.y;
    if (freeMode) return;
    crop.width = WidthForHeight(crop.height, ratio);
    if (crop.x + crop.width > imageWidth) {
      crop.width = imageWidth - crop.x;
      crop.height = HeightForWidth(crop.width, ratio);
      if (flags & KEEP_BOTTOM) crop.y = bottom - crop.height;
    }
  }
}

// Raises a side below the minimum; the anchored edge stays. A free selection
// checks both sides; with a ratio only the side that was the shorter one
// (after a transpose, in the transposed orientation) is checked, and the
// other follows the ratio within the picture.
void KeepMinimumSide(Rect& crop, const Rect& start, bool transpose, unsigned flags, float ratio,
                     int32_t imageWidth, int32_t imageHeight) {
  const bool freeMode = !(ratio > 0.0f);
  const bool heightIsShorter = transpose ? start.height > start.width : start.width > start.height;
  const int32_t right = start.x + start.width;
  const int32_t bottom = start.y + start.height;
  if ((freeMode || !heightIsShorter) && crop.width < MIN_SELECTION_SIDE) {
    crop.width = MIN_SELECTION_SIDE;
    if (flags & KEEP_RIGHT) crop.x = right - crop.width;
    if (!freeMode) {
      crop.height = std::min(HeightForWidth(MIN_SELECTION_SIDE, ratio), imageHeight);
      if (flags & KEEP_BOTTOM) crop.y = bottom - crop.height;
    }
  }
  if ((freeMode || heightIsShorter) && crop.height < MIN_SELECTION_SIDE) {
    crop.height = MIN_SELECTION_SIDE;
    if (flags & KEEP_BOTTOM) crop.y = bottom - crop.height;
    if (!freeMode) {
      crop.width = std::min(WidthForHeight(MIN_SELECTION_SIDE, ratio), imageWidth);
      if (flags & KEEP_RIGHT) crop.x = right - crop.width;
    }
  }
}

}  // namespace

float SelectionRatio(const SelectionContext& context) {
  switch (context.ratioMode) {
    case RATIO_MODE_SOURCE:
      return static_cast<float>(context.imageWidth) / static_cast<float>(context.imageHeight);
    case RATIO_MODE_FREE:
      return 0.0f;
    default: {
      const float width = static_cast<float>(context.ratioWidth);
      const float height = static_cast<float>(context.ratioHeight);
      return context.ratioSwapped ? height / width : width / height;
    }
  }
}

bool ApplySelectionChange(Rect& crop, int32_t value, SelectionField field, unsigned flags,
                          const SelectionContext& context) {
  const Rect start = crop;
  const bool transpose = field == SelectionField::None;
  if (transpose) {
    std::swap(crop.x, crop.y);
    std::swap(crop.width, crop.height);
  } else {
    int32_t& target = FieldOf(crop, field);
    target = (flags & SET_VALUE) ? value : target + value;
  }
  const float ratio = SelectionRatio(context);

  // Anchors: every caller that passes one also passes SET_VALUE, so value is
  // the new width or height.
  if (flags & KEEP_RIGHT) {
    crop.x = start.x + start.width - value;
  } else if (flags & KEEP_BOTTOM) {
    crop.y = start.y + start.height - value;
  }

  if (crop.x != start.x || crop.y != start.y) {
    ClampPosition(crop, context.imageWidth, context.imageHeight, flags);
  }
  FitSides(crop, start, flags, ratio, context.imageWidth, context.imageHeight);
  KeepMinimumSide(crop, start, transpose, flags, ratio, context.imageWidth, context.imageHeight);
  // Raising a side above can push the rectangle past a border that an
  // earlier clamp or a rotation left it against; bring it back, sizes kept.
  ClampPosition(crop, context.imageWidth, context.imageHeight, 0);
  // Moving left and up to the grid keeps it inside and its sides as they are.
  if (crop.x > 0) crop.x -= crop.x % std::max(context.grid.width, 1);
  if (crop.y > 0) crop.y -= crop.y % std::max(context.grid.height, 1);
  return !(crop == start);
}

Rect KeepFrame(const Rect& frame, Size from, const SelectionContext& context) {
  Rect kept = frame;
  if (from.width == context.imageWidth && from.height == context.imageHeight) {
    ApplySelectionChange(kept, 0, SelectionField::X, 0, context);
    return kept;
  }
  if (from.width <= 0 || from.height <= 0) return kept;
  const float scaleX = static_cast<float>(context.imageWidth) / static_cast<float>(from.width);
  const float scaleY = static_cast<float>(context.imageHeight) / static_cast<float>(from.height);
  kept = {RoundHalfDown(static_cast<float>(frame.x) * scaleX),
          RoundHalfDown(static_cast<float>(frame.y) * scaleY), 0,
          RoundHalfDown(static_cast<float>(frame.height) * scaleY)};
  // Set as a new width, so that the height follows it at the ratio.
  ApplySelectionChange(kept, RoundHalfDown(static_cast<float>(frame.width) * scaleX),
                       SelectionField::Width, SET_VALUE, context);
  return kept;
}

int HitTestZone(const Rect& outline, int32_t x, int32_t y) {
  const int32_t left = outline.x;
  const int32_t top = outline.y;
  const int32_t right = outline.x + outline.width + 1;
  const int32_t bottom = outline.y + outline.height + 1;
  if (x < left || x >= right || y < top || y >= bottom) return ZONE_NONE;

  // Right and bottom grips are 3 pixels wide, left and top 4; on a small
  // outline the first rule that holds decides between overlapping grips.
  const bool nearRight = x >= right - 3;
  const bool nearLeft = x <= left + 3;
  const bool nearBottom = y >= bottom - 3;
  const bool nearTop = y <= top + 3;
  const struct {
    bool holds;
    SelectionZone zone;
  } rules[] = {
      {nearRight && nearBottom, ZONE_BOTTOM_RIGHT},
      {nearLeft && nearTop, ZONE_TOP_LEFT},
      {nearRight && nearTop, ZONE_TOP_RIGHT},
      {nearLeft && nearBottom, ZONE_BOTTOM_LEFT},
      {nearRight, ZONE_RIGHT},
      {nearLeft, ZONE_LEFT},
      {nearBottom, ZONE_BOTTOM},
      {nearTop, ZONE_TOP},
  };
  for (const auto& rule : rules) {
    if (rule.holds) return rule.zone;
  }
  return ZONE_INSIDE;
}

int ZoneCursor(int zone) {
  switch (zone) {
    case ZONE_INSIDE:
      return 32646;  // IDC_SIZEALL
    case ZONE_LEFT:
    case ZONE_RIGHT:
      return 32644;  // IDC_SIZEWE
    case ZONE_TOP:
    case ZONE_BOTTOM:
      return 32645;  // IDC_SIZENS
    case ZONE_TOP_LEFT:
    case ZONE_BOTTOM_RIGHT:
      return 32642;  // IDC_SIZENWSE
    case ZONE_TOP_RIGHT:
    case ZONE_BOTTOM_LEFT:
      return 32643;  // IDC_SIZENESW
    default:
      return 32512;  // IDC_ARROW
  }
}

int DragCalls(int zone, bool freeMode, const Rect& start, int32_t dx, int32_t dy, float dragScale,
              SelectionCall calls[2], Size grid) {
  // A field of the start rectangle moved by the scaled mouse distance.
  const auto dragged = [dragScale](int32_t base, int32_t distance, bool grows) {
    const float step = static_cast<float>(distance) * dragScale;
    const float value = grows ? static_cast<float>(base) + step : static_cast<float>(base) - step;
    return RoundScaled(value);
  };
  // A dragged left or top edge `far - side` lands on the nearest grid line.
  const auto onGrid = [](int32_t side, int32_t far, int32_t step) {
    return far - NearestOnGrid(far - side, step);
  };
  const bool left = (zone & LEFT_EDGE) != 0;
  const bool top = (zone & TOP_EDGE) != 0;
  int32_t newWidth = dragged(start.width, dx, !left);
  int32_t newHeight = dragged(start.height, dy, !top);
  if (left) newWidth = onGrid(newWidth, start.x + start.width, grid.width);
  if (top) newHeight = onGrid(newHeight, start.y + start.height, grid.height);
  const SelectionCall width = {newWidth, SelectionField::Width,
                               SET_VALUE | (left ? KEEP_RIGHT : 0u)};
  const SelectionCall height = {newHeight, SelectionField::Height,
                                SET_VALUE | (top ? KEEP_BOTTOM : 0u)};
  switch (zone) {
    case ZONE_INSIDE:
      calls[0] = {NearestOnGrid(dragged(start.x, dx, true), grid.width), SelectionField::X,
                  SET_VALUE | NO_NOTIFY};
      calls[1] = {NearestOnGrid(dragged(start.y, dy, true), grid.height), SelectionField::Y,
                  SET_VALUE};
      return 2;
    case ZONE_LEFT:
    case ZONE_RIGHT:
      calls[0] = width;
      return 1;
    case ZONE_TOP:
    case ZONE_BOTTOM:
      calls[0] = height;
      return 1;
    case ZONE_TOP_LEFT:
    case ZONE_TOP_RIGHT:
    case ZONE_BOTTOM_LEFT:
    case ZONE_BOTTOM_RIGHT:
      if (freeMode) {
        // A corner sets the width quietly, then the height.
        calls[0] = width;
        calls[0].flags |= NO_NOTIFY;
        calls[1] = height;
        return 2;
      }
      // With a ratio one coordinate of the mouse leads: the vertical one at
      // the top-right corner, the horizontal one at the others; the top-left
      // corner keeps both far edges.
      if (zone == ZONE_TOP_RIGHT) {
        calls[0] = height;
      } else {
        calls[0] = width;
        if (top) calls[0].flags |= KEEP_BOTTOM;
      }
      return 1;
    default:
      return 0;
  }
}

bool KeySelectionCall(int virtualKey, bool shift, SelectionCall& call, Size grid) {
  static constexpr struct {
    int key;
    int32_t amount;
    SelectionField position;
    SelectionField size;
  } KEYS[] = {
      {KEY_RIGHT, 1, SelectionField::X, SelectionField::Width},
      {KEY_LEFT, -1, SelectionField::X, SelectionField::Width},
      {KEY_DOWN, 1, SelectionField::Y, SelectionField::Height},
      {KEY_UP, -1, SelectionField::Y, SelectionField::Height},
      {KEY_END, 10, SelectionField::X, SelectionField::Width},
      {KEY_HOME, -10, SelectionField::X, SelectionField::Width},
      {KEY_PAGE_DOWN, 10, SelectionField::Y, SelectionField::Height},
      {KEY_PAGE_UP, -10, SelectionField::Y, SelectionField::Height},
  };
  for (const auto& entry : KEYS) {
    if (entry.key == virtualKey) {
      call = {entry.amount, shift ? entry.size : entry.position, 0};
      if (!shift) {
        const int32_t step = entry.position == SelectionField::X ? grid.width : grid.height;
        const int32_t steps = std::max(std::abs(NearestOnGrid(entry.amount, step)) / step, 1);
        call.value = (entry.amount < 0 ? -steps : steps) * step;
      }
      return true;
    }
  }
  return false;
}
