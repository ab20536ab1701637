#include "base/rounding.h"

#include <cmath>

int32_t RoundHalfDown(float value) {
  const float low = std::floor(value);
  const float high = std::ceil(value);
  return static_cast<int32_t>(high - value < value - low ? high : low);
}
