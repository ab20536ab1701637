// The metadata a lossless JPEG crop takes from its source: the source's
// segments put into the crop's stream, and the edits its EXIF block needs
// to describe the crop. Pure: no platform headers, so it is also built
// natively with sanitizers and fuzzed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// What a crop changes in the EXIF block it carries.
struct CropExifEdit {
  bool turned = false;  // the crop was turned upright: its orientation is 1
  uint32_t width = 0;   // the crop's size
  uint32_t height = 0;
  // The product's name, long and short: the first that fits in place of the
  // block's software field is written there.
  const char* software[2] = {nullptr, nullptr};
};

// Edits an EXIF block's TIFF data in place: the orientation, the pixel
// dimensions, the software field, and the thumbnail unlinked and blanked
// (it shows the whole picture, not the crop). Nothing moves or grows. A
// block whose structure cannot be followed safely is left as it is: false.
bool EditCropExif(unsigned char* tiff, std::size_t size, const CropExifEdit& edit);

// Puts the metadata segments of the `source` stream into `crop`, a stream
// the engine wrote without them, after the crop's own leading segments: with
// `all`, every APPn and COM segment (less the JFIF and Adobe segments the
// engine writes itself), its EXIF block edited; otherwise only the colour
// profile, so that colours do not change. False when `crop` is no JPEG
// stream.
bool CarryJpegMetadata(const unsigned char* source, std::size_t size, bool all,
                       const CropExifEdit& edit, std::vector<unsigned char>& crop);
