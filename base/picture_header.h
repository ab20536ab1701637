// What a picture file's opening bytes tell before it is decoded: the
// orientation tag of a JPEG, TIFF or PNG, and the size of a JPEG, BMP, GIF,
// PNG or TIFF. Pure: no platform headers, so it is also built natively with
// sanitizers and fuzzed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// SOI, then an APP0 and the EXIF APP1 at their largest (a segment holds at
// most 65535 bytes after its marker). An EXIF block further on is not looked
// for.
constexpr std::size_t ORIENTATION_HEADER_BYTES = 2 + 2 * (2 + 65535);

// The orientation (1..8) that the EXIF block of a JPEG file's opening bytes
// gives, or 1 when there is none or it cannot be read.
int JpegOrientation(const unsigned char* data, std::size_t size);

// The orientation (1..8) where the picture's format stores one: a JPEG's
// EXIF block, a TIFF's IFD0, a PNG's eXIf chunk before its pixels; 1 when
// there is none or it cannot be read.
int PictureOrientation(const unsigned char* data, std::size_t size);

// A TIFF file's IFD0 often follows its pixels, beyond the opening bytes.
// Where it starts, when the bytes begin a TIFF file whose IFD0 lies at or
// after `size`.
bool TiffIfdBeyond(const unsigned char* data, std::size_t size, uint32_t& offset);

// IFD0 read from its place as a TIFF block of its own: the file's 8-byte
// header, pointing at 8, then the `ifdSize` bytes read there (its entry
// count and entries). Values stored in the entries keep; those stored
// elsewhere fall outside the block and read as absent.
std::vector<unsigned char> TiffIfdBlock(const unsigned char* header, const unsigned char* ifd,
                                        std::size_t ifdSize);

// The bytes of an IFD with `entries` entries and its link to the next.
constexpr std::size_t TiffIfdBytes(std::size_t entries) { return 2 + entries * 12 + 4; }

// The thumbnail that the EXIF block of a JPEG file's opening bytes carries
// (a JPEG stream of its own, found through the block's second IFD): false
// when there is none, or when it does not lie wholly inside the block.
bool JpegExifPreview(const unsigned char* data, std::size_t size, const unsigned char*& preview,
                     std::size_t& length);

// A tag of a JPEG file's EXIF block as GDI+ keeps a property item: its id,
// its TIFF type and its value, whose numbers are in little-endian order.
struct ExifTag {
  uint16_t id = 0;
  uint16_t type = 0;
  std::vector<unsigned char> value;
};

// The tags of the EXIF block's IFD0, Exif IFD and GPS IFD, in that order
// (the thumbnail's IFD1 and the IFD pointers themselves left out): what a
// crop carries of its source. A tag whose value lies outside the block, or
// of a type GDI+ does not keep, is left out; empty without a block.
std::vector<ExifTag> JpegExifTags(const unsigned char* data, std::size_t size);

// Whether a preview of `previewWidth` x `previewHeight` may stand for its
// picture in a view of `coverWidth` x `coverHeight` pixels (the picture's
// own shape there): it covers the view, and scaled into it, it is off the
// view's shape by a pixel at most. A letter-boxed or stale preview is not.
bool PreviewServes(uint32_t previewWidth, uint32_t previewHeight, uint32_t coverWidth,
                   uint32_t coverHeight);

// Whether the orientation turns the picture by a quarter (5..8), so that the
// upright picture's width is the stored picture's height.
bool OrientationSwapsSides(int orientation);

// The picture's size as its header gives it: a JPEG's frame header, a BMP's
// information header, a GIF's screen descriptor, a PNG's IHDR chunk, a
// TIFF's IFD0. False when the bytes say nothing of it (another format, or
// the header beyond them).
bool StoredPictureSize(const unsigned char* data, std::size_t size, uint32_t& width,
                       uint32_t& height);

// Whether a picture of that size can be held decoded: its 32-bit pixels
// under 2 GB, as far as a GDI+ bitmap's stride and height reach. A decoder
// asked for more may fail, or worse.
bool FitsDecoded(uint32_t width, uint32_t height);
