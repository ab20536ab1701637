#include "app/startup_rules.h"
#include "tests/support/wide_text.h"

TEST_SUITE("startup") {
  TEST_CASE("supported systems and the older-system flag") {
    struct Row {
      SystemVersion version;
      bool supported;
      bool older;
    };
    const Row rows[] = {
        {{2, 5, 0}, true, true},    // Windows 2000
        {{2, 5, 1}, true, false},   // XP
        {{2, 5, 2}, true, false},   // Server 2003
        {{2, 6, 0}, true, false},   // Vista
        {{2, 10, 0}, true, false},  // 10 and 11
        {{2, 4, 0}, false, true},   // NT 4
        {{1, 4, 90}, false, true},  // Windows Me
        {{1, 6, 0}, false, true},   // not the NT family
    };
    for (const Row& row : rows) {
      CAPTURE(row.version.platformId);
      CAPTURE(row.version.major);
      CAPTURE(row.version.minor);
      CHECK(IsSupportedSystem(row.version) == row.supported);
      CHECK(IsOlderSystem(row.version) == row.older);
    }
  }

  TEST_CASE("the stored window keeps a corner on the work area") {
    const WindowRect inside = PlaceOnWorkArea({10, 10, 580, 420}, 1280, 1000);
    CHECK(inside.left == 10);
    CHECK(inside.top == 10);
    // Exactly 100 pixels left is enough; one fewer is corrected.
    CHECK(PlaceOnWorkArea({1180, 900, 580, 420}, 1280, 1000).left == 1180);
    const WindowRect outside = PlaceOnWorkArea({1181, 901, 580, 420}, 1280, 1000);
    CHECK(outside.left == 1180);
    CHECK(outside.top == 900);
    CHECK(outside.width == 580);
    CHECK(outside.height == 420);
    // Negative positions stay as stored.
    const WindowRect negative = PlaceOnWorkArea({-3000, -50, 580, 420}, 1280, 1000);
    CHECK(negative.left == -3000);
    CHECK(negative.top == -50);
    // Values from the registry are unchecked: no overflow at the extreme.
    CHECK(PlaceOnWorkArea({2147483647, 0, 580, 420}, 1280, 1000).left == 1180);
  }
}
