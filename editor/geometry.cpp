#include "editor/geometry.h"

#include "base/rounding.h"

// Every ratio and scale below is a single-precision float held in a named
// variable before it is used, so that a compiler keeping wider intermediates
// cannot move a value across a rounding half.

Size FitSize(uint32_t imageWidth, uint32_t imageHeight, Size box) {
  if (imageWidth <= static_cast<uint32_t>(box.width) &&
      imageHeight <= static_cast<uint32_t>(box.height)) {
    return {static_cast<int32_t>(imageWidth), static_cast<int32_t>(imageHeight)};
  }
  // A box with no room would make the ratios below infinite or negative.
  if (box.width <= 0 || box.height <= 0) return {0, 0};
  const float ratioW = static_cast<float>(imageWidth) / static_cast<float>(box.width);
  const float ratioH = static_cast<float>(imageHeight) / static_cast<float>(box.height);
  Size fit = box;
  if (ratioH < ratioW) {
    const float height = static_cast<float>(box.height) * ratioH / ratioW;
    fit.height = RoundHalfDown(height);
  } else {
    const float width = static_cast<float>(box.width) * ratioW / ratioH;
    fit.width = RoundHalfDown(width);
  }
  return fit;
}

InitialSelection ComputeInitialSelection(int32_t imageWidth, int32_t imageHeight, uint32_t mode,
                                         uint32_t ratioWidth, uint32_t ratioHeight,
                                         bool ratioSwapped) {
  int32_t width = imageWidth;
  int32_t height = imageHeight;
  // Any mode other than the source's ratio or free selection, even one out
  // of range, uses the custom ratio.
  if (mode != RATIO_MODE_SOURCE && mode != RATIO_MODE_FREE) {
    const float ratio = static_cast<float>(ratioWidth) / static_cast<float>(ratioHeight);
    const float inverse = static_cast<float>(ratioHeight) / static_cast<float>(ratioWidth);
    // The ratio is turned to the picture: at least 1 for a landscape or
    // square picture, at most 1 for a portrait one. A square ratio counts
    // as swapped either way.
    ratioSwapped = imageWidth >= imageHeight ? inverse >= ratio : inverse <= ratio;
    const float selectionRatio = ratioSwapped ? inverse : ratio;
    const float imageRatio = static_cast<float>(imageWidth) / static_cast<float>(imageHeight);
    if (selectionRatio > imageRatio) {
      const float h = static_cast<float>(imageWidth) / selectionRatio;
      height = RoundHalfDown(h);
    } else if (selectionRatio < imageRatio) {
      const float w = static_cast<float>(imageHeight) * selectionRatio;
      width = RoundHalfDown(w);
    }
  }
  // Centred; an odd spare pixel goes right or down.
  const float x = static_cast<float>(imageWidth - width) * 0.5f;
  const float y = static_cast<float>(imageHeight - height) * 0.5f;
  return {{RoundHalfDown(x), RoundHalfDown(y), width, height}, ratioSwapped};
}

ImagePlacement PlaceImage(int32_t clientWidth, int32_t clientHeight, int32_t imageWidth,
                          int32_t imageHeight) {
  const int32_t availW = clientWidth - 2;
  const int32_t availH = clientHeight - 2;
  if (availW <= 0 || availH <= 0) return {1, 1, {0, 0}, 1.0f};

  ImagePlacement placement = {};
  placement.fit = FitSize(static_cast<uint32_t>(imageWidth), static_cast<uint32_t>(imageHeight),
                          {availW, availH});
  const float spareX = static_cast<float>(availW - placement.fit.width) * 0.5f;
  const float spareY = static_cast<float>(availH - placement.fit.height) * 0.5f;
  placement.offsetX = 1 + RoundHalfDown(spareX);
  placement.offsetY = 1 + RoundHalfDown(spareY);
  // Only the widths give the scale; the heights follow within a rounding.
  placement.scale = imageWidth > placement.fit.width
                        ? static_cast<float>(placement.fit.width) / static_cast<float>(imageWidth)
                        : 1.0f;
  return placement;
}

Rect ImageToPane(const Rect& crop, const ImagePlacement& placement) {
  const float scale = placement.scale;
  const float x = static_cast<float>(crop.x) * scale;
  const float y = static_cast<float>(crop.y) * scale;
  const float width = static_cast<float>(crop.width) * scale;
  const float height = static_cast<float>(crop.height) * scale;
  Rect pane = {RoundHalfDown(x) + placement.offsetX, RoundHalfDown(y) + placement.offsetY,
               RoundHalfDown(width), RoundHalfDown(height)};
  if (pane.x < placement.offsetX) pane.x = placement.offsetX;
  if (pane.y < placement.offsetY) pane.y = placement.offsetY;
  // The outline's right and bottom lines are drawn on x + width and
  // y + height, so these stop one pixel inside the picture's far edges.
  const int32_t right = placement.offsetX + placement.fit.width;
  const int32_t bottom = placement.offsetY + placement.fit.height;
  if (pane.x + pane.width >= right) pane.width = right - 1 - pane.x;
  if (pane.y + pane.height >= bottom) pane.height = bottom - 1 - pane.y;
  return pane;
}

float ComputeDragScale(int32_t cropWidth, int32_t screenWidth) {
  // An outline not drawn yet has no width to divide by.
  if (screenWidth <= 0 || cropWidth <= screenWidth) return 1.0f;
  return static_cast<float>(cropWidth) / static_cast<float>(screenWidth);
}

int NextAntsPhase(int phase) {
  ++phase;
  return phase > 3 ? -2 : phase;
}

std::vector<Dash> DashSegments(int32_t from, int32_t to, int phase) {
  std::vector<Dash> dashes;
  for (int32_t start = from; start <= to; start += 6) {
    const int32_t first = start + phase;
    if (first > to) break;
    const int32_t last = first + 2;
    // A negative phase moves the first dash partly before the edge.
    dashes.push_back({first < from ? from : first, last > to ? to : last});
  }
  return dashes;
}
