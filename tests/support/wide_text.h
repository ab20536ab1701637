// Lets doctest print wide texts in failed checks.
#pragma once

#include <doctest/doctest.h>

#include <string>

inline std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  return narrow;
}

namespace doctest {
template <>
struct StringMaker<std::wstring> {
  static String convert(const std::wstring& text) {
    return String(("L\"" + Narrow(text) + "\"").c_str());
  }
};
}  // namespace doctest

// Checks that a wide C string holds exactly `expected`.
#define CHECK_TEXT(actual, expected) CHECK(std::wstring(actual) == std::wstring(expected))
