#include "app/command_line.h"

#include <cwchar>

namespace {

constexpr std::size_t EXPLORE_KEYWORD_LENGTH = 8;

bool StartsWithSwitch(const wchar_t* text, const wchar_t* name) {
  return (text[0] == L'/' || text[0] == L'-') && StartsWithIgnoreAsciiCase(text + 1, name);
}

}  // namespace

CommandLine ParseCommandLine(const wchar_t* text) {
  CommandLine result;
  if (text == nullptr) return result;
  if (StartsWithSwitch(text, L"EXPLORE")) {
    result.form = CommandLineForm::Explore;
    // Trim and unquote in a text buffer: an over-long folder may still become
    // short enough once its blanks are gone.
    TextBuffer folder;
    if (!CopyText(folder, text + EXPLORE_KEYWORD_LENGTH)) return result;
    TrimBlanks(folder);
    UnquoteText(folder);
    CopyPathWithFallback(result.folder, folder, L"");
    return result;
  }
  if (StartsWithSwitch(text, L"UNINSTALL")) result.form = CommandLineForm::Uninstall;
  return result;
}
