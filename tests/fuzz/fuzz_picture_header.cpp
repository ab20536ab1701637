// A picture file's opening bytes, whatever they hold: every read within them,
// an orientation in 1..8, a size only where a header gives one, and an EXIF
// preview and tags only inside them; a TIFF's IFD0 taken from beyond them
// as a block of its own.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/picture_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  for (const int orientation : {JpegOrientation(data, size), PictureOrientation(data, size)}) {
    if (orientation < 1 || orientation > 8) std::abort();
  }
  // The bytes from the half on as an IFD read from beyond the first half.
  uint32_t at = 0;
  if (TiffIfdBeyond(data, size / 2, at)) {
    const std::vector<unsigned char> block = TiffIfdBlock(data, data + size / 2, size - size / 2);
    if (PictureOrientation(block.data(), block.size()) > 8) std::abort();
    StoredPictureSize(block.data(), block.size(), at, at);
  }
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
