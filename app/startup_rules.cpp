#include "app/startup_rules.h"

namespace {
constexpr uint32_t PLATFORM_NT = 2;
constexpr int32_t VISIBLE_CORNER = 100;
}  // namespace

bool IsSupportedSystem(const SystemVersion& version) {
  return version.platformId == PLATFORM_NT && version.major >= 5;
}

WindowRect PlaceOnWorkArea(WindowRect stored, int32_t workWidth, int32_t workHeight) {
  // Compared in 64 bits: stored values come from the registry unchecked.
  if (static_cast<int64_t>(stored.left) + VISIBLE_CORNER > workWidth) {
    stored.left = workWidth - VISIBLE_CORNER;
  }
  if (static_cast<int64_t>(stored.top) + VISIBLE_CORNER > workHeight) {
    stored.top = workHeight - VISIBLE_CORNER;
  }
  return stored;
}
