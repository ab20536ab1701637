// JpegOrientation on any bytes: every read within them, and an orientation in
// 1..8 whatever they hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const int orientation = JpegOrientation(data, size);
  if (orientation < 1 || orientation > 8) std::abort();
  return 0;
}
