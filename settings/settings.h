// The process-wide settings block and its registry storage. Every module
// reads the current copy; it changes only through the functions below, each
// of which saves at once.
#pragma once

#include "settings/settings_block.h"

// How the Explorer verb's caption is read and written; the Explorer
// integration above this layer hands them in at start-up.
struct VerbAccess {
  bool (*read)(TextBuffer& caption);
  bool (*write)(TextBuffer& caption);
};

const SettingsBlock& Settings();

// Fills the block from the registry, writing back every default it chose.
void LoadSettings(const VerbAccess& verb);

// The Options dialog's OK: takes the edited options and verb caption and
// writes them all; false when a write failed, in which case the current
// copy has been rolled back to the stored state.
bool ReplaceOptions(const Options& options, const wchar_t* verbCaption);

// Single changes made by the user's commands. False when the write failed
// (the value is then back at its stored state).
bool SetViewOnlyImages(bool viewOnly);
bool SetKeepFrame(bool keep);
bool SetLastUsedFolder(const wchar_t* folder);
bool SetHiddenControls(uint32_t hidden);
bool SetSplitterPosition(int32_t position);
bool SetWindowMaximized(bool maximized);
bool SetWindowRect(int32_t left, int32_t top, int32_t width, int32_t height);
bool SetOptionsSelectedTab(int32_t tab);
