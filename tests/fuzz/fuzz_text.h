// Fuzz data as the texts Windows hands over: UTF-16 units of two bytes,
// low byte first.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <string>

inline std::wstring WideText(const std::string& bytes) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto low = static_cast<unsigned char>(bytes[i]);
    const auto high = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<wchar_t>(low | high << 8);
  }
  return text;
}

// The next text of at most `maxUnits` units, up to its first NUL as the
// program would see it.
inline std::wstring ConsumeText(FuzzedDataProvider& data, std::size_t maxUnits) {
  return WideText(data.ConsumeRandomLengthString(2 * maxUnits)).c_str();
}
