#include "settings/settings.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "settings/registry.h"
#include "settings/settings_rules.h"
#include "ui/explorer_verb.h"
#include "ui/win_text.h"

namespace {

struct SettingsState {
  SettingsBlock current;
  SettingsBlock saved;  // what the registry is known to hold
};

SettingsState g_settings;

const wchar_t* KeyPath(SettingsKey key) {
  return key == SettingsKey::Options ? OPTIONS_KEY : LAYOUT_KEY;
}

class RegistryStore final : public SettingsStore {
 public:
  bool ReadText(SettingsKey key, const wchar_t* name, TextBuffer& text) override {
    return ReadRegistryText(HKEY_CURRENT_USER, KeyPath(key), name, text);
  }
  bool ReadNumber(SettingsKey key, const wchar_t* name, uint32_t& value) override {
    return ReadRegistryNumber(KeyPath(key), name, 0, value);
  }
  bool WriteText(SettingsKey key, const wchar_t* name, const wchar_t* text) override {
    return WriteRegistryText(HKEY_CURRENT_USER, KeyPath(key), name, text);
  }
  bool WriteNumber(SettingsKey key, const wchar_t* name, uint32_t value) override {
    return WriteRegistryNumber(KeyPath(key), name, value);
  }
  bool IsExistingFolder(const wchar_t* path) override { return PathIsDirectoryW(path) != FALSE; }
  void DefaultDestinationFolder(PathBuffer& folder) override {
    PathBuffer base;
    folder[0] = L'\0';
    if (!KnownFolder(CSIDL_MYPICTURES, base) && !KnownFolder(CSIDL_DESKTOP, base)) return;
    if (PathCombineW(folder, base, L"Trimlet") == nullptr) folder[0] = L'\0';
  }
  bool ReadVerbCaption(TextBuffer& caption) override { return ReadVerb(caption); }
  bool WriteVerb(TextBuffer& caption) override { return ::WriteVerb(caption); }
  bool IsAdministrator() override { return IsUserAnAdmin() != FALSE; }
  bool SameTextIgnoreCase(const wchar_t* a, const wchar_t* b) override {
    return ::SameTextIgnoreCase(a, b);
  }

 private:
  static bool KnownFolder(int id, PathBuffer& path) {
    path[0] = L'\0';
    return SUCCEEDED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)) &&
           path[0] != L'\0';
  }
};

}  // namespace

SettingsBlock& Settings() { return g_settings.current; }

void LoadSettings() {
  RegistryStore store;
  LoadSettingsFrom(store, g_settings.current, g_settings.saved);
}

bool SaveSettings(bool force) {
  RegistryStore store;
  return SaveSettingsTo(store, g_settings.current, g_settings.saved, force);
}
