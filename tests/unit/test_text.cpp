#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>

#include "base/text.h"
#include "tests/support/wide_text.h"

// A heap buffer of exactly `capacity` units holding `text` (unterminated when
// it does not fit): AddressSanitizer catches a unit read or written past it.
static std::unique_ptr<wchar_t[]> Tight(const std::wstring& text, std::size_t capacity) {
  std::unique_ptr<wchar_t[]> buffer(new wchar_t[capacity]);
  std::wmemcpy(buffer.get(), text.c_str(), std::min(text.size() + 1, capacity));
  return buffer;
}

// `edit` applied in place to a tight copy of `text`.
static std::wstring Edited(const std::wstring& text, void (*edit)(wchar_t*)) {
  const auto buffer = Tight(text, text.size() + 1);
  edit(buffer.get());
  return buffer.get();
}

// ReplaceAll into a tight destination of `capacity` units.
static std::wstring Replaced(const wchar_t* placeholder, const wchar_t* text,
                             const wchar_t* replacement, std::size_t capacity) {
  const auto dest = Tight(L"", capacity);
  ReplaceAll(placeholder, text, replacement, dest.get(), capacity);
  return dest.get();
}

TEST_CASE("lengths, copies and appends stop at the capacity; what does not fit empties") {
  // Regression: CopyText at capacities 0 and 1.
  CHECK_FALSE(CopyText(Tight(L"", 0).get(), 0, L""));
  const auto one = Tight(L"x", 1);
  CHECK_FALSE(CopyText(one.get(), 1, L"a"));
  CHECK(one[0] == L'\0');
  CHECK(CopyText(one.get(), 1, L""));
  const auto dest = Tight(L"ab", 6);
  CHECK(AppendText(dest.get(), 6, L"cde"));
  CHECK_TEXT(dest.get(), L"abcde");
  CHECK_FALSE(AppendText(dest.get(), 6, L"f"));
  CHECK_TEXT(dest.get(), L"");
  // A destination without a terminator within its capacity is full.
  const auto full = Tight(L"abc", 3);
  CHECK_FALSE(AppendText(full.get(), 3, L""));
  CHECK(full[0] == L'\0');
  CHECK_FALSE(AppendText(Tight(L"", 0).get(), 0, L""));
}

TEST_CASE("replace all, or the template when the result does not fit") {
  CHECK(Replaced(L"%1", L"<%1>", L"%1%1", 64) == L"<%1%1>");  // inserted text is not rescanned
  CHECK(Replaced(L"", L"keep %1", L"", 16) == L"keep %1");  // not an endless match
  CHECK(Replaced(L"%1", L"ab%1", L"cdefg", 8) == L"abcdefg");  // 7 characters fill 8 units
  CHECK(Replaced(L"%1", L"ab%1", L"cdefgh", 8) == L"ab%1");
  CHECK(Replaced(L"%1", L"%1abc", L"wxyzv", 8) == L"%1abc");  // out of room in the plain text
  // Regression: ReplaceAll at capacities 0 and 1.
  CHECK(Replaced(L"%1", L"%1", L"", 1) == L"");
  CHECK(Replaced(L"%1", L"%1", L"x", 1) == L"");  // not even the template fits
  ReplaceAll(L"%1", L"a%1", L"x", Tight(L"", 0).get(), 0);
  // The destination may be the template itself.
  const auto text = Tight(L"one %2 two %2", 14);
  ReplaceAll(L"%2", text.get(), L"\n", text.get(), 14);
  CHECK_TEXT(text.get(), L"one \n two \n");
}

TEST_CASE("blanks trimmed, one pair of quotes removed, ASCII letters folded, decimals padded") {
  CHECK(Edited(L"   ", TrimBlanks) == L"");
  // A lone quote opens and closes.
  const wchar_t* quoted[][2] = {
      {L"\"\"x\"\"", L"\"x\""}, {L"\"C:\\x", L"\"C:\\x"}, {L"x\"", L"x\""},
      {L"\"", L""}, {L"", L""}};
  for (const auto& [text, unquoted] : quoted) CHECK(Edited(text, UnquoteText) == unquoted);
  // Only ASCII letters fold; decimals are padded to 11 digits at most.
  CHECK(EqualsIgnoreAsciiCase(L"<DEFAULT>AZ", L"<default>az"));
  CHECK_FALSE(EqualsIgnoreAsciiCase(L"[", L"{"));  // the neighbours of Z and z
  CHECK_FALSE(EqualsIgnoreAsciiCase(L"<default> ", L"<default>"));
  const auto decimal = [](unsigned value, int width) {
    const auto text = Tight(L"", 12);
    FormatDecimal(text.get(), value, width);
    return std::wstring(text.get());
  };
  CHECK(decimal(12345, 4) == L"12345");
  CHECK(decimal(5, 20) == L"00000000005");
  CHECK(decimal(4294967295u, 0) == L"4294967295");
}
