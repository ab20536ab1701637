// Language files: which one is current, and filling the label table from it.
#pragma once

#include "base/text.h"

// The literal that stands for the built-in English texts.
constexpr const wchar_t* DEFAULT_LANGUAGE = L"<default>";

// Start-up: resolves the language file named in the registry (the user's
// choice, else the machine's default, else English), then fills the table.
// Never reports an error.
void LoadLabels();

// Fills the table from the current language file without reading the
// registry.
void ReloadLabels();

// The full path of the current language file, or DEFAULT_LANGUAGE.
const wchar_t* CurrentLanguageFile();
void SetCurrentLanguageFile(const wchar_t* path);

// Makes `path` (a language file, or DEFAULT_LANGUAGE) the user's language,
// stored as its file name; the current language changes only once stored.
bool SetLanguage(const wchar_t* path);

// The translator's name and mail address in a language file, blanks
// trimmed; empty when the file does not say.
void ReadTranslator(const wchar_t* path, TextBuffer& name, TextBuffer& mail);

// Writes the English texts, with the translator's and the set-up sections,
// as a language file at `path`: into a new file beside it that then takes
// its place, so a failure leaves any old file as it was and no part of a
// new one.
bool WriteEnglishLanguageFile(const wchar_t* path);

// The folder "Lang" beside the executable.
void GetLanguageFolder(PathBuffer& folder);
