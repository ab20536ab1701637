// The one way a float becomes a pixel in the editor and the thumbnails. Pure.
#pragma once

#include <cstdint>

// Rounds to the nearest integer; an exact half goes to the lower integer
// (2.5 gives 2, -2.5 gives -3).
int32_t RoundHalfDown(float value);
