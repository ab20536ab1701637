// The process-wide settings block and its registry storage.
#pragma once

#include "settings/settings_block.h"

// The current copy: every module reads it; the user-interface code changes
// it and then calls SaveSettings.
SettingsBlock& Settings();

// Fills the block from the registry, writing back every default it chose.
void LoadSettings();

// Writes what changed (all options when forced); false when a write failed,
// in which case the current copy has been rolled back to the stored state.
bool SaveSettings(bool force);
