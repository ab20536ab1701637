#include <string>

#include "app/command_line.h"
#include "tests/support/wide_text.h"

namespace {

CommandLine Parse(const std::wstring& text) { return ParseCommandLine(text.c_str()); }

}  // namespace

TEST_SUITE("command_line") {
  TEST_CASE("the folder form in any case and with either sign") {
    for (const wchar_t* text :
         {L"/EXPLORE C:\\Pictures", L"-explore C:\\Pictures", L"/ExPlOrE C:\\Pictures"}) {
      CAPTURE(Narrow(text));
      const CommandLine line = Parse(text);
      CHECK(line.form == CommandLineForm::Explore);
      CHECK_TEXT(line.folder, L"C:\\Pictures");
    }
  }

  TEST_CASE("blanks are trimmed before the quotes are removed") {
    const CommandLine line = Parse(L"/EXPLORE   \"C:\\My Pictures\"  ");
    CHECK(line.form == CommandLineForm::Explore);
    CHECK_TEXT(line.folder, L"C:\\My Pictures");
    // Only U+0020 counts as a blank.
    CHECK_TEXT(Parse(L"/EXPLORE\tC:\\x").folder, L"\tC:\\x");
  }

  TEST_CASE("the keyword is matched as a prefix") {
    const CommandLine glued = Parse(L"/EXPLOREC:\\x");
    CHECK(glued.form == CommandLineForm::Explore);
    CHECK_TEXT(glued.folder, L"C:\\x");
    const CommandLine bare = Parse(L"/EXPLORE");
    CHECK(bare.form == CommandLineForm::Explore);
    CHECK_TEXT(bare.folder, L"");
    // The folder form is tested first.
    CHECK(Parse(L"-EXPLORE /UNINSTALL").form == CommandLineForm::Explore);
    CHECK(Parse(L"/UNINSTALLING").form == CommandLineForm::Uninstall);
    CHECK(Parse(L"-uninstall").form == CommandLineForm::Uninstall);
  }

  TEST_CASE("anything else starts the program normally") {
    for (const wchar_t* text : {L"", L"C:\\Pictures", L"\"C:\\Pictures\"", L" /EXPLORE C:\\x",
                                L"/EXPLOR", L"+EXPLORE C:\\x", L"/UNINSTAL"}) {
      CAPTURE(Narrow(text));
      CHECK(Parse(text).form == CommandLineForm::Normal);
    }
    CHECK(ParseCommandLine(nullptr).form == CommandLineForm::Normal);
  }

  TEST_CASE("a folder of 260 characters or more is dropped") {
    const std::wstring fits(259, L'a');
    const std::wstring tooLong(260, L'a');
    CHECK(std::wstring(Parse(L"/EXPLORE " + fits).folder) == fits);
    CHECK_TEXT(Parse(L"/EXPLORE " + tooLong).folder, L"");
    // The limit applies after the quotes and blanks are gone.
    CHECK(std::wstring(Parse(L"/EXPLORE   \"" + fits + L"\"   ").folder) == fits);
  }

  TEST_CASE("a command line of any length is handled") {
    const std::wstring huge(100000, L'x');
    CHECK_TEXT(Parse(L"/EXPLORE " + huge).folder, L"");
    CHECK(Parse(L"/UNINSTALL" + huge).form == CommandLineForm::Uninstall);
    CHECK(Parse(huge).form == CommandLineForm::Normal);
  }
}
