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

// The folder "Lang" beside the executable.
void GetLanguageFolder(PathBuffer& folder);
