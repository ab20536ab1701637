// The two forms of the command line. Pure: the caller checks the folder.
#pragma once

#include "base/text.h"

enum class CommandLineForm {
  Normal,     // anything else, a bare folder path included
  Explore,    // "/EXPLORE" or "-EXPLORE", then a folder
  Uninstall,  // "/UNINSTALL" or "-UNINSTALL"
};

struct CommandLine {
  CommandLineForm form = CommandLineForm::Normal;
  // With the Explore form: the text after the keyword, blanks trimmed and one
  // pair of quotes removed; empty when it does not fit a path buffer.
  PathBuffer folder = {};
};

// The command line without the program name. Matching is by prefix and
// ignores case; the folder form is tested first.
CommandLine ParseCommandLine(const wchar_t* text);
