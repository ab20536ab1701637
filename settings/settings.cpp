#include "settings/settings.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "settings/registry.h"
#include "settings/settings_rules.h"
#include "base/product.h"
#include "base/win_text.h"

namespace {

struct SettingsState {
  SettingsBlock current;
  SettingsBlock saved;  // what the registry is known to hold
  VerbAccess verb = {nullptr, nullptr};
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
    if (PathCombineW(folder, base, PRODUCT_NAME) == nullptr) folder[0] = L'\0';
  }
  bool ReadVerbCaption(TextBuffer& caption) override {
    caption[0] = L'\0';
    return g_settings.verb.read != nullptr && g_settings.verb.read(caption);
  }
  bool WriteVerb(TextBuffer& caption) override {
    return g_settings.verb.write != nullptr && g_settings.verb.write(caption);
  }
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

bool Save(bool force) {
  RegistryStore store;
  return SaveSettingsTo(store, g_settings.current, g_settings.saved, force);
}

}  // namespace

const SettingsBlock& Settings() { return g_settings.current; }

void LoadSettings(const VerbAccess& verb) {
  g_settings.verb = verb;
  RegistryStore store;
  LoadSettingsFrom(store, g_settings.current, g_settings.saved);
}

bool ReplaceOptions(const Options& options, const wchar_t* verbCaption) {
  g_settings.current.options = options;
  CopyText(g_settings.current.ContextMenuText, verbCaption);
  return Save(true);
}

bool SetViewOnlyImages(bool viewOnly) {
  g_settings.current.options.ViewOnlyImages = viewOnly;
  return Save(false);
}

bool SetKeepFrame(bool keep) {
  g_settings.current.options.KeepFrame = keep;
  return Save(false);
}

bool SetLastUsedFolder(const wchar_t* folder) {
  CopyText(g_settings.current.options.LastUsedFolder, folder);
  return Save(false);
}

bool SetHiddenControls(uint32_t hidden) {
  g_settings.current.layout.MainHiddenControls = hidden;
  return Save(false);
}

bool SetSplitterPosition(int32_t position) {
  g_settings.current.layout.MainSplitterPosition = position;
  return Save(false);
}

bool SetWindowMaximized(bool maximized) {
  g_settings.current.layout.MainWindowMaximized = maximized;
  return Save(false);
}

bool SetWindowRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  WindowLayout& layout = g_settings.current.layout;
  layout.MainWindowLeft = left;
  layout.MainWindowTop = top;
  layout.MainWindowWidth = width;
  layout.MainWindowHeight = height;
  return Save(false);
}

bool SetOptionsSelectedTab(int32_t tab) {
  g_settings.current.layout.OptionsSelectedTab = tab;
  return Save(false);
}
