// The Options dialog's rules: how typed numbers are held in their ranges,
// which destination folders are accepted, the page to open, and whether OK
// changed anything. Pure.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/settings_block.h"

// The Explorer verb's caption, as long as the settings load accepts it, so
// that a saved caption survives the next start.
constexpr std::size_t VERB_CAPTION_LENGTH = PATH_CAPACITY - 1;

// A number typed into an edit, held in `minimum` .. `maximum`: its digits
// read in decimal; a text without digits, or with anything else, reads as
// `minimum`.
uint32_t ClampTypedNumber(const wchar_t* text, uint32_t minimum, uint32_t maximum);

// True for a drive letter with a root ("C:\...") or a share
// ("\\server\share..."). "C:photos" and "\photos" depend on the current
// drive or folder and are not absolute.
bool IsAbsoluteFolderPath(const wchar_t* path);

// The label that says what is wrong with a destination folder (trimmed),
// or -1 when it is accepted; a folder that does not exist yet is.
int DestinationFolderFault(const wchar_t* folder, bool isExistingFile);

// The page to open from the stored one: values outside 0 .. 2 count as 0.
int OptionsPageToOpen(int32_t stored);

// True when OK changes an option or the verb's caption.
bool OptionsChanged(const Options& before, const Options& after, const wchar_t* captionBefore,
                    const wchar_t* captionAfter);
