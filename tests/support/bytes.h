// Bytes for the tests: JPEG segments and TIFF blocks built byte by byte,
// files read and written whole, and where the orientation tag says a pixel
// is stored.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Appends each value in its width of bytes, big-endian when `big`.
inline void Put(Bytes& out, bool big, std::initializer_list<std::pair<uint32_t, int>> fields) {
  for (const auto& [value, bytes] : fields) {
    for (int i = 0; i < bytes; ++i) out.push_back(value >> 8 * (big ? bytes - 1 - i : i) & 0xFF);
  }
}

// A segment: its marker, its length, `payload`.
inline Bytes Segment(unsigned char marker, const Bytes& payload) {
  Bytes out = {0xFF, marker};
  Put(out, true, {{static_cast<uint32_t>(payload.size() + 2), 2}});
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

inline Bytes ReadAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

inline void WriteAll(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Where the pixel shown at (x, y) of a picture turned upright by its
// orientation is stored, in a stored picture of `width` x `height`, as EXIF
// defines the eight: as stored (1), mirrored (2), upside down (3), mirrored
// upside down (4), mirrored then a quarter left (5), a quarter right (6),
// mirrored then a quarter right (7), a quarter left (8).
inline std::pair<int, int> StoredPoint(int orientation, int width, int height, int x, int y) {
  const std::pair<int, int> at[8] = {
      {x, y}, {width - 1 - x, y},  {width - 1 - x, height - 1 - y}, {x, height - 1 - y},
      {y, x}, {y, height - 1 - x}, {width - 1 - y, height - 1 - x}, {width - 1 - y, x}};
  return at[orientation - 1];
}
