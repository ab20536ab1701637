// Any bytes as the source of a lossless crop's metadata: its segments carried
// into a crop stream, its EXIF block edited in place, nothing read or written
// outside either; the crop keeps its own leading segment and scan around
// what is carried, which is never more than the source holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/jpeg_metadata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // SOI, a JFIF segment as the engine writes it, the start of a scan.
  const std::vector<unsigned char> bare = {0xFF, 0xD8, 0xFF, 0xE0, 0,    16,   'J', 'F',
                                           'I',  'F',  0,    1,    1,    0,    0,   1,
                                           0,    1,    0,    0,    0xFF, 0xDA, 0,   2};
  const CropExifEdit edit = {(data[0] & 2) != 0, data[0], 77u, {"Bluecrane Trimlet", "Trimlet"}};
  std::vector<unsigned char> crop = bare;
  const std::vector<unsigned char> source(data + 1, data + size);  // a read past it is caught
  if (!CarryJpegMetadata(source.data(), source.size(), (data[0] & 1) != 0, edit, crop) ||
      crop.size() > bare.size() + source.size() ||
      !std::equal(bare.begin(), bare.end() - 4, crop.begin()) ||
      !std::equal(bare.end() - 4, bare.end(), crop.end() - 4)) {
    std::abort();
  }
  return 0;
}
