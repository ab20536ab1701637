// Window placement arithmetic shared by the dialogs. Pure.
#pragma once

#include <cstdint>

#include "base/geometry.h"

// Where a window `width` x `height` goes to sit centred over `parent`, kept
// on the work area.
Point CentreOver(const Box& parent, int32_t width, int32_t height, const Box& workArea);
