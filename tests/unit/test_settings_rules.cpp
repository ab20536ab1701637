#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settings_rules.h"
#include "tests/support/wide_text.h"

namespace {

// An in-memory registry of texts (numbers in decimal; Layout values' names
// begin with "L") that logs the names written and fails the writes it is
// told to fail.
struct MemoryStore final : SettingsStore {
  std::map<std::wstring, std::wstring> values;
  std::vector<std::wstring> writes;
  std::set<std::wstring> failing;
  std::wstring verb;  // the installed verb's caption; empty when none
  bool verbFails = false;
  bool administrator = true;

  static std::wstring Key(SettingsKey key, const wchar_t* name) {
    return (key == SettingsKey::Layout ? L"L" : L"") + std::wstring(name);
  }
  bool ReadText(SettingsKey key, const wchar_t* name, TextBuffer& text) override {
    return values.count(Key(key, name)) != 0 && CopyText(text, values[Key(key, name)].c_str());
  }
  bool ReadNumber(SettingsKey key, const wchar_t* name, uint32_t& value) override {
    return values.count(Key(key, name)) != 0 && (value = std::stoul(values[Key(key, name)]), true);
  }
  bool WriteText(SettingsKey key, const wchar_t* name, const wchar_t* text) override {
    writes.push_back(name);
    return failing.count(name) == 0 && (values[Key(key, name)] = text, true);
  }
  bool WriteNumber(SettingsKey key, const wchar_t* name, uint32_t value) override {
    return WriteText(key, name, std::to_wstring(value).c_str());
  }
  bool IsExistingFolder(const wchar_t* path) override { return path[0] == L'C'; }
  void DefaultDestinationFolder(PathBuffer& folder) override { CopyText(folder, L"C:\\Default"); }
  bool ReadVerbCaption(TextBuffer& caption) override {
    return CopyText(caption, verb.c_str()) && !verb.empty();
  }
  bool WriteVerb(TextBuffer& caption) override {
    writes.push_back(L"verb");
    if (verbFails) caption[0] = L'\0';
    TrimBlanks(caption);
    verb = caption;
    return !verbFails;
  }
  bool IsAdministrator() override { return administrator; }
  bool SameTextIgnoreCase(const wchar_t* a, const wchar_t* b) override {
    return EqualsIgnoreAsciiCase(a, b);
  }
};

struct Loaded {
  MemoryStore store;
  SettingsBlock current = {};
  SettingsBlock saved = {};

  Loaded& Load() {
    store.writes.clear();
    LoadSettingsFrom(store, current, saved);
    return *this;
  }
  bool Save(bool force = false) {
    store.writes.clear();
    return SaveSettingsTo(store, current, saved, force);
  }
};

// The flags and numbers of a block in one line.
std::string Numbers(const SettingsBlock& block) {
  const Options& o = block.options;
  const WindowLayout& l = block.layout;
  std::ostringstream s;
  s << o.StartupAskFolder << o.NotifySourceChanges << o.EnhancedSelection << o.EditorSystemColor
    << o.CopyImageExifTags << o.CopySourceToTemp << o.LosslessJpegCrop << o.ListMoreFormats
    << o.ViewOnlyImages << " mode " << o.ResizeRatioMode << ' ' << o.ResizeRatioWidth << ':'
    << o.ResizeRatioHeight << " min " << o.MinimumImageWidth << 'x' << o.MinimumImageHeight
    << " window " << l.MainWindowLeft << ',' << l.MainWindowTop << ' ' << l.MainWindowWidth << 'x'
    << l.MainWindowHeight << ' ' << l.MainWindowMaximized << " hidden " << l.MainHiddenControls
    << " splitter " << l.MainSplitterPosition << " tab " << l.OptionsSelectedTab;
  return s.str();
}

}  // namespace

TEST_CASE("values missing, out of range or too long become their defaults, written back once") {
  const std::string defaults =
      "111111000 mode 0 3:2 min 96x96 window 10,10 580x420 0 hidden 0 splitter 150 tab 0";
  Loaded s;
  s.store.values = {{L"ResizeRatioMode", L"3"},         {L"ResizeRatioWidth", L"0"},
                    {L"ResizeRatioHeight", L"100000"},  {L"MinimumImageWidth", L"95"},
                    {L"MinimumImageHeight", L"100000"}, {L"LastUsedFolder", L"Q:\\Gone"}};
  s.store.verb = std::wstring(260, L'c');
  CHECK(Numbers(s.Load().current) == defaults);
  CHECK_TEXT(s.saved.options.DestinationFolder, L"C:\\Default");
  CHECK_TEXT(s.current.ContextMenuText, L"");
  // Read back, the defaults written are found and not written again; a value
  // not written back would be defaulted, and written, once more.
  CHECK(Numbers(s.Load().current) == defaults);
  CHECK(s.store.writes.empty());
  CHECK(s.store.values[L"LastUsedFolder"] == L"");
  // The limits are kept, a flag is any non-zero number, layout values are unchecked.
  s.store.values = {{L"ResizeRatioMode", L"2"},          {L"ResizeRatioWidth", L"1"},
                    {L"ResizeRatioHeight", L"99999"},    {L"MinimumImageWidth", L"99999"},
                    {L"StartupAskFolder", L"0"},         {L"ViewOnlyImages", L"7"},
                    {L"LMainWindowLeft", L"4294967096"}, {L"LMainHiddenControls", L"255"}};
  CHECK(Numbers(s.Load().current) ==
        "011111001 mode 2 1:99999 min 99999x96 window -200,10 580x420 0 hidden 255 splitter 150 "
        "tab 0");
}

TEST_CASE("a save writes what changed: a switched-off option as 0, a group whole") {
  Loaded s;
  s.Load().current.options.ViewOnlyImages = true;
  s.current.layout.MainWindowMaximized = true;
  CHECK(s.Save());
  CHECK(s.store.values[L"ViewOnlyImages"] == L"1");
  CHECK(s.Save());
  CHECK(s.store.writes.empty());  // nothing changed since
  // Regression: an option switched off was saved as on.
  s.current.options.ViewOnlyImages = false;
  s.current.options.CopySourceToTemp = false;
  s.current.layout.MainWindowMaximized = false;
  // Regression: a group whose first value alone changed was not saved.
  s.current.options.ResizeRatioMode = RATIO_MODE_SOURCE;
  s.current.options.ResizeRatioWidth = 16;
  s.current.options.MinimumImageWidth = 200;
  s.current.layout.MainWindowLeft = 77;
  CHECK(s.Save());
  CHECK(s.store.writes ==
        std::vector<std::wstring>{L"CopySourceToTemp", L"ResizeRatioMode", L"ResizeRatioWidth",
                                  L"ResizeRatioHeight", L"MinimumImageWidth", L"MinimumImageHeight",
                                  L"ViewOnlyImages", L"MainWindowMaximized", L"MainWindowLeft",
                                  L"MainWindowTop", L"MainWindowWidth", L"MainWindowHeight"});
  CHECK(Numbers(Loaded{s.store}.Load().current) == Numbers(s.saved));
}

TEST_CASE("a forced save rewrites every option; the verb is an administrator's") {
  Loaded s;
  s.Load().current.options.StartupAskFolder = false;
  s.current.options.MinimumImageHeight = 200;
  CHECK(s.Save());
  // Forced, the destination is written even when only its letter case changed.
  CopyText(s.current.options.DestinationFolder, L"C:\\DEFAULT");
  s.store.values.clear();
  s.store.administrator = false;
  CHECK(s.Save(true));
  CHECK(s.store.writes.back() == L"MinimumImageHeight");  // no layout value, no verb
  CHECK(s.store.values[L"DestinationFolder"] == L"C:\\DEFAULT");
  CHECK(s.store.values.count(L"LastUsedFolder") == 0);  // never forced
  CHECK(Numbers(Loaded{s.store}.Load().current) ==
        "011111000 mode 0 3:2 min 96x200 window 10,10 580x420 0 hidden 0 splitter 150 tab 0");
  // An administrator's forced save writes the verb: the Windows tests' verb,
  // installed through the Options dialog's save.
}

TEST_CASE("a failed write rolls the current copy back; steps written whole are kept") {
  Loaded s;
  s.Load().store.failing = {L"MainWindowTop", L"ResizeRatioWidth", L"MinimumImageHeight"};
  s.current.layout.MainWindowLeft = s.current.layout.MainWindowTop = 300;
  s.current.layout.MainSplitterPosition = 222;
  s.current.options.ResizeRatioWidth = s.current.options.ResizeRatioHeight = 16;
  s.current.options.MinimumImageWidth = s.current.options.MinimumImageHeight = 200;
  CHECK_FALSE(s.Save());
  // Each group stops at its first failure; the minimum width reached the
  // registry, but the pair stays as it was known.
  CHECK(s.store.writes == std::vector<std::wstring>{L"ResizeRatioWidth", L"MinimumImageWidth",
                                                    L"MinimumImageHeight", L"MainWindowLeft",
                                                    L"MainWindowTop", L"MainSplitterPosition"});
  CHECK(s.store.values[L"MinimumImageWidth"] == L"200");
  CHECK(Numbers(s.current) ==
        "111111000 mode 0 3:2 min 96x96 window 10,10 580x420 0 hidden 0 splitter 222 tab 0");
  CHECK(Numbers(s.saved) == Numbers(s.current));
}
