// A picture file's opening bytes, whatever they hold: every read within them,
// an orientation in 1..8, a size only where a header gives one, and an EXIF
// preview and tags only inside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/picture_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const int orientation = JpegOrientation(data, size);
  if (orientation < 1 || orientation > 8) std::abort();
  uint32_t width = 0;
  uint32_t height = 0;
  if (StoredPictureSize(data, size, width, height)) {
    FitsDecoded(width, height);
  } else if (width != 0 || height != 0) {
    std::abort();
  }
  const unsigned char* preview = nullptr;
  std::size_t length = 0;
  if (JpegExifPreview(data, size, preview, length) &&
      (preview < data || length > size ||
       preview - data > static_cast<std::ptrdiff_t>(size - length))) {
    std::abort();
  }
  for (const ExifTag& tag : JpegExifTags(data, size)) {
    if (tag.value.size() > size) std::abort();
  }
  return 0;
}
