#pragma once

// The English texts built into the program. They are what the user sees when
// no language file is chosen, and the fallback for every key a language file
// leaves out.

// English text of a label; L"" for an id outside 0..117.
const wchar_t* EnglishDefault(int id);

// One entry of the "SETUP" section that a new English language file carries
// for the installation program's pages. Key and text fit 29 characters each.
struct SetupText {
  wchar_t key[30];
  wchar_t text[30];
};

constexpr int SETUP_TEXT_COUNT = 11;

// In the order they are written to the file.
extern const SetupText kSetupTexts[SETUP_TEXT_COUNT];
