// The editor's geometry: fitting a picture into a box, the initial
// selection, where the picture sits in the pane, the mapping of the
// selection to pane pixels, and the dashes of the animated outline. Pure.
#pragma once

#include <cstdint>
#include <vector>

#include "base/geometry.h"
#include "settings/settings_block.h"

// The size a picture takes inside `box`: its own size when it fits (sides
// compared unsigned), otherwise scaled down keeping its proportions, the
// limiting side taking the box's length. Never enlarged.
Size FitSize(uint32_t imageWidth, uint32_t imageHeight, Size box);

struct InitialSelection {
  Rect rect;
  bool ratioSwapped;
};

// The selection a freshly loaded picture starts with: in custom-ratio mode
// the largest centred rectangle of the ratio turned to the picture's
// orientation (which also decides RatioSwapped), otherwise the whole picture
// with RatioSwapped as it was.
InitialSelection ComputeInitialSelection(int32_t imageWidth, int32_t imageHeight, uint32_t mode,
                                         uint32_t ratioWidth, uint32_t ratioHeight,
                                         bool ratioSwapped);

// Where the picture is drawn in a pane with the given client size: inside
// a one-pixel margin, fitted and centred (an odd spare pixel goes right or
// down), and the scale from picture to pane pixels (1 when not reduced).
// A pane without room gives an empty fit.
struct ImagePlacement {
  int32_t offsetX;
  int32_t offsetY;
  Size fit;
  float scale;
};

ImagePlacement PlaceImage(int32_t clientWidth, int32_t clientHeight, int32_t imageWidth,
                          int32_t imageHeight);

// The selection in pane pixels, kept on the drawn picture: its outline's
// right and bottom lines fall on the picture's last column and row at most.
Rect ImageToPane(const Rect& crop, const ImagePlacement& placement);

// Picture pixels per pane pixel while dragging: the crop's width over the
// outline's width when the crop is the wider, else 1.
float ComputeDragScale(int32_t cropWidth, int32_t screenWidth);

// The animation phase after `phase`: 1, 2, 3, -2, -1, 0, 1, ...
int NextAntsPhase(int phase);

// One black dash of the animated outline: pixels `first` .. `last` along an
// edge, both included.
struct Dash {
  int32_t first;
  int32_t last;
};

// The black dashes along an edge running from `from` to `to` (both
// included) for an animation phase: three pixels every six, shifted by the
// phase, cut to the edge.
std::vector<Dash> DashSegments(int32_t from, int32_t to, int phase);
