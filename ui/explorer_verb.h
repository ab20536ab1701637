// The Explorer verb on folders and drives, and the uninstall clean-up.
#pragma once

#include "base/text.h"
#include "settings/settings.h"

// The caption of this program's verb. When the registration is missing,
// half-written or belongs to another copy of the program, it is removed (where
// the user may) and the result is false with an empty caption.
bool ReadVerb(TextBuffer& caption);

// Installs or renames the verb; an empty (or blank) caption removes it. The
// caption is trimmed in place, and emptied when the registration failed.
bool WriteVerb(TextBuffer& caption);

// Removes the program's keys from the user's and the machine's registry and
// its verbs. True when every step succeeded.
bool UninstallCleanup();

// The verb as the settings read and write it.
constexpr VerbAccess EXPLORER_VERB = {ReadVerb, WriteVerb};
