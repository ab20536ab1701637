// Building JPEG segments and TIFF blocks byte by byte, for the tests of the
// readers and editors of both.
#pragma once

#include <cstdint>
#include <initializer_list>
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
