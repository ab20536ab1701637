// The label table: every text the user sees, English built in, replaceable
// from a language file. Pure: the language-file loader fills it.
#pragma once

#include <cstddef>

#include "ui/label_ids.h"

// Shared buffers for formatted messages (one argument) and questions.
constexpr std::size_t MESSAGE_CAPACITY = 2048;
constexpr std::size_t PROMPT_CAPACITY = 3072;

// The entry of a label; the empty text for an id outside the table.
const wchar_t* LabelText(int id);

// The writable entry of a label (TEXT_CAPACITY units), or null for an id
// outside the table. Only the language-file loader writes through it.
wchar_t* LabelEntry(int id);

// The four-digit key of a label in a language file: 7 gives "0007".
// `key` holds at least 12 units.
void LabelKey(int id, wchar_t* key);

// The label with "%1" replaced by `argument` into the message buffer.
const wchar_t* FormatMessageLabel(int id, const wchar_t* argument);

// The label with "%2" replaced by a line feed, then "%1" by `argument`, into
// the prompt buffer.
const wchar_t* FormatLabelWithArgument(int id, const wchar_t* argument);
