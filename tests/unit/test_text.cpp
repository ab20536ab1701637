#include <string>

#include "tests/support/wide_text.h"
#include "base/text.h"

TEST_SUITE("text") {
  TEST_CASE("a bounded copy that does not fit leaves the destination empty") {
    wchar_t dest[5] = L"old";
    CHECK(CopyText(dest, 5, L"abcd"));
    CHECK_TEXT(dest, L"abcd");
    CHECK_FALSE(CopyText(dest, 5, L"abcde"));
    CHECK_TEXT(dest, L"");
    CHECK(CopyText(dest, 5, L""));
  }

  TEST_CASE("an append that does not fit empties the whole text") {
    wchar_t dest[6] = L"ab";
    CHECK(AppendText(dest, 6, L"cde"));
    CHECK_TEXT(dest, L"abcde");
    CHECK_FALSE(AppendText(dest, 6, L"f"));
    CHECK_TEXT(dest, L"");
  }

  TEST_CASE("the path copy with fallback takes 259 characters and refuses 260") {
    const std::wstring fits(259, L'a');
    const std::wstring tooLong(260, L'b');
    PathBuffer dest;
    CHECK(CopyPathWithFallback(dest, fits.c_str(), L"fallback"));
    CHECK(std::wstring(dest) == fits);
    CHECK_FALSE(CopyPathWithFallback(dest, tooLong.c_str(), L"fallback"));
    CHECK_TEXT(dest, L"fallback");
    // Without a destination only the answer counts.
    CHECK(CopyPathWithFallback(nullptr, fits.c_str(), L""));
    CHECK_FALSE(CopyPathWithFallback(nullptr, tooLong.c_str(), L""));
  }

  TEST_CASE("replace all substitutes every occurrence") {
    wchar_t dest[64];
    ReplaceAll(L"%1", L"no placeholder", L"x", dest, 64);
    CHECK_TEXT(dest, L"no placeholder");
    ReplaceAll(L"%1", L"a%1b%1c", L"", dest, 64);
    CHECK_TEXT(dest, L"abc");
    ReplaceAll(L"%1", L"ends with %1", L"it", dest, 64);
    CHECK_TEXT(dest, L"ends with it");
    ReplaceAll(L"%1", L"%1%1", L"x", dest, 64);
    CHECK_TEXT(dest, L"xx");
    // Inserted text is never scanned again, and matches do not overlap.
    ReplaceAll(L"%1", L"<%1>", L"%1%1", dest, 64);
    CHECK_TEXT(dest, L"<%1%1>");
    ReplaceAll(L"aa", L"aaa", L"b", dest, 64);
    CHECK_TEXT(dest, L"ba");
    // The comparison is exact.
    ReplaceAll(L"%a", L"%A", L"x", dest, 64);
    CHECK_TEXT(dest, L"%A");
  }

  TEST_CASE("replace all with an empty placeholder or template copies the template") {
    wchar_t dest[16] = L"junk";
    ReplaceAll(L"", L"keep %1", L"x", dest, 16);
    CHECK_TEXT(dest, L"keep %1");
    ReplaceAll(L"%1", L"", L"x", dest, 16);
    CHECK_TEXT(dest, L"");
  }

  TEST_CASE("replace all at the capacity edge") {
    // Capacity 8 holds 7 characters of text.
    wchar_t dest[8];
    ReplaceAll(L"%1", L"ab%1", L"cdefg", dest, 8);
    CHECK_TEXT(dest, L"abcdefg");
    ReplaceAll(L"%1", L"ab%1", L"cdefgh", dest, 8);
    CHECK_TEXT(dest, L"ab%1");
    // Running out in the plain text after a replacement also keeps the template.
    ReplaceAll(L"%1", L"%1abc", L"wxyzv", dest, 8);
    CHECK_TEXT(dest, L"%1abc");
  }

  TEST_CASE("replace all may write over its own template") {
    wchar_t text[32] = L"one %2 two %2";
    ReplaceAll(L"%2", text, L"\n", text, 32);
    CHECK_TEXT(text, L"one \n two \n");
    wchar_t small[8] = L"%2%2%2";
    ReplaceAll(L"%2", small, L"long", small, 8);
    CHECK_TEXT(small, L"%2%2%2");
  }

  TEST_CASE("trim blanks removes spaces at both ends only") {
    wchar_t text[32] = L"  abc def  ";
    TrimBlanks(text);
    CHECK_TEXT(text, L"abc def");
    wchar_t tabs[8] = L"\t\t";
    TrimBlanks(tabs);
    CHECK_TEXT(tabs, L"\t\t");
    wchar_t spaces[8] = L"     ";
    TrimBlanks(spaces);
    CHECK_TEXT(spaces, L"");
    wchar_t empty[1] = L"";
    TrimBlanks(empty);
    CHECK_TEXT(empty, L"");
  }

  TEST_CASE("one pair of enclosing quotes is removed") {
    wchar_t text[32] = L"\"C:\\My Pictures\"";
    UnquoteText(text);
    CHECK_TEXT(text, L"C:\\My Pictures");
    wchar_t twice[32] = L"\"\"x\"\"";
    UnquoteText(twice);
    CHECK_TEXT(twice, L"\"x\"");
    wchar_t open[32] = L"\"C:\\x";
    UnquoteText(open);
    CHECK_TEXT(open, L"\"C:\\x");
    wchar_t lone[4] = L"\"";
    UnquoteText(lone);
    CHECK_TEXT(lone, L"");
  }

  TEST_CASE("ASCII case folding") {
    CHECK(EqualsIgnoreAsciiCase(L"<DEFAULT>", L"<default>"));
    CHECK_FALSE(EqualsIgnoreAsciiCase(L"<default> ", L"<default>"));
    CHECK_FALSE(EqualsIgnoreAsciiCase(L"<defaul>", L"<default>"));
    CHECK(StartsWithIgnoreAsciiCase(L"ExPlOrE c:", L"explore"));
    CHECK_FALSE(StartsWithIgnoreAsciiCase(L"expl", L"explore"));
  }

  TEST_CASE("decimal numbers are padded to the width") {
    wchar_t text[12];
    FormatDecimal(text, 0, 4);
    CHECK_TEXT(text, L"0000");
    FormatDecimal(text, 117, 4);
    CHECK_TEXT(text, L"0117");
    FormatDecimal(text, 12345, 4);
    CHECK_TEXT(text, L"12345");
    FormatDecimal(text, 4294967295u, 11);
    CHECK_TEXT(text, L"04294967295");
  }
}
