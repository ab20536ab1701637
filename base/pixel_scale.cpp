#include "base/pixel_scale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int CHANNELS = 3;

// The first source index of each output index, and one past the last:
// every source index in exactly one range when reducing.
std::vector<int> Bounds(int source, int target) {
  std::vector<int> bounds(static_cast<std::size_t>(target) + 1);
  for (int i = 0; i <= target; ++i) {
    bounds[static_cast<std::size_t>(i)] =
        static_cast<int>(static_cast<int64_t>(i) * source / target);
  }
  return bounds;
}

}  // namespace

void BoxScale(const PixelRows& source, const PixelRows& target) {
  if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0) return;
  const std::vector<int> columns = Bounds(source.width, target.width);
  const std::vector<int> rows = Bounds(source.height, target.height);
  std::vector<uint64_t> sums(static_cast<std::size_t>(target.width) * CHANNELS);
  for (int y = 0; y < target.height; ++y) {
    const int top = rows[static_cast<std::size_t>(y)];
    // An enlarged row repeats the source row it falls on.
    const int bottom = std::max(top + 1, rows[static_cast<std::size_t>(y) + 1]);
    std::fill(sums.begin(), sums.end(), 0);
    for (int sy = top; sy < bottom; ++sy) {
      const unsigned char* line = source.first + static_cast<std::size_t>(sy) * source.stride;
      for (int x = 0; x < target.width; ++x) {
        const int left = columns[static_cast<std::size_t>(x)];
        const int right = std::max(left + 1, columns[static_cast<std::size_t>(x) + 1]);
        uint64_t* sum = &sums[static_cast<std::size_t>(x) * CHANNELS];
        for (int sx = left; sx < right; ++sx) {
          for (int c = 0; c < CHANNELS; ++c) sum[c] += line[sx * CHANNELS + c];
        }
      }
    }
    unsigned char* out = target.first + static_cast<std::size_t>(y) * target.stride;
    for (int x = 0; x < target.width; ++x) {
      const int left = columns[static_cast<std::size_t>(x)];
      const auto count = static_cast<uint64_t>(
          (std::max(left + 1, columns[static_cast<std::size_t>(x) + 1]) - left) * (bottom - top));
      for (int c = 0; c < CHANNELS; ++c) {
        const uint64_t sum = sums[static_cast<std::size_t>(x) * CHANNELS + c];
        out[x * CHANNELS + c] = static_cast<unsigned char>((sum + count / 2) / count);
      }
    }
  }
}
