// Loading and saving the settings block: defaults, accepted ranges,
// write-back and the step-by-step save with rollback. Pure: the platform is
// reached through SettingsStore.
#pragma once

#include <cstdint>

#include "settings/settings_block.h"

constexpr uint32_t RATIO_TERM_MIN = 1;
constexpr uint32_t RATIO_TERM_MAX = 99999;
constexpr uint32_t MINIMUM_IMAGE_SIDE_MIN = 96;
constexpr uint32_t MINIMUM_IMAGE_SIDE_MAX = 99999;

enum class SettingsKey { Options, Layout };

// What loading and saving need of the platform.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // True when the value exists as a text of at most 1023 characters.
  virtual bool ReadText(SettingsKey key, const wchar_t* name, TextBuffer& text) = 0;
  // True when the value exists as a 32-bit number.
  virtual bool ReadNumber(SettingsKey key, const wchar_t* name, uint32_t& value) = 0;
  virtual bool WriteText(SettingsKey key, const wchar_t* name, const wchar_t* text) = 0;
  virtual bool WriteNumber(SettingsKey key, const wchar_t* name, uint32_t value) = 0;
  virtual bool IsExistingFolder(const wchar_t* path) = 0;
  // The user's pictures folder (or desktop) joined with "Trimlet", or empty.
  virtual void DefaultDestinationFolder(PathBuffer& folder) = 0;
  // The caption of this program's Explorer verb; false when none.
  virtual bool ReadVerbCaption(TextBuffer& caption) = 0;
  // Installs, renames or removes (empty caption) the verb; trims the caption
  // in place and empties it when the registration failed.
  virtual bool WriteVerb(TextBuffer& caption) = 0;
  virtual bool IsAdministrator() = 0;
  virtual bool SameTextIgnoreCase(const wchar_t* a, const wchar_t* b) = 0;
};

// Fills both copies from the store, writing back every default it had to
// choose. Never fails.
void LoadSettingsFrom(SettingsStore& store, SettingsBlock& current, SettingsBlock& saved);

// Writes what differs between the copies (all options when forced). On any
// failed write the current copy falls back to the saved one and the result
// is false.
bool SaveSettingsTo(SettingsStore& store, SettingsBlock& current, SettingsBlock& saved, bool force);
