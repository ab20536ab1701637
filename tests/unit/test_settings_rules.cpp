#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "settings/settings_rules.h"
#include "tests/support/wide_text.h"

namespace {

using Value = std::variant<std::wstring, uint32_t>;
using Name = std::pair<SettingsKey, std::wstring>;

// An in-memory registry that records every access and fails the writes it is
// told to fail.
class MemoryStore final : public SettingsStore {
 public:
  std::map<Name, Value> values;
  std::vector<std::wstring> writes;  // value names, in order
  int accesses = 0;
  std::set<std::wstring> failing;
  std::set<std::wstring> folders = {L"C:\\Existing"};
  std::wstring verbCaption;
  bool verbInstalled = false;
  bool verbWriteFails = false;
  int verbWrites = 0;
  bool administrator = true;

  bool ReadText(SettingsKey key, const wchar_t* name, TextBuffer& text) override {
    ++accesses;
    const auto found = values.find({key, name});
    if (found == values.end() || !std::holds_alternative<std::wstring>(found->second)) return false;
    return CopyText(text, std::get<std::wstring>(found->second).c_str());
  }
  bool ReadNumber(SettingsKey key, const wchar_t* name, uint32_t& value) override {
    ++accesses;
    const auto found = values.find({key, name});
    if (found == values.end() || !std::holds_alternative<uint32_t>(found->second)) return false;
    value = std::get<uint32_t>(found->second);
    return true;
  }
  bool WriteText(SettingsKey key, const wchar_t* name, const wchar_t* text) override {
    return Write(key, name, std::wstring(text));
  }
  bool WriteNumber(SettingsKey key, const wchar_t* name, uint32_t value) override {
    return Write(key, name, value);
  }
  bool IsExistingFolder(const wchar_t* path) override { return folders.count(path) != 0; }
  void DefaultDestinationFolder(PathBuffer& folder) override {
    CopyText(folder, L"C:\\Users\\me\\Pictures\\Trimlet");
  }
  bool ReadVerbCaption(TextBuffer& caption) override {
    CopyText(caption, verbCaption.c_str());
    return verbInstalled;
  }
  bool WriteVerb(TextBuffer& caption) override {
    ++verbWrites;
    if (verbWriteFails) {
      caption[0] = L'\0';
      return false;
    }
    TrimBlanks(caption);
    verbCaption = caption;
    return true;
  }
  bool IsAdministrator() override { return administrator; }
  bool SameTextIgnoreCase(const wchar_t* a, const wchar_t* b) override {
    return EqualsIgnoreAsciiCase(a, b);
  }

  uint32_t Number(SettingsKey key, const wchar_t* name) const {
    return std::get<uint32_t>(values.at({key, name}));
  }
  std::wstring Text(SettingsKey key, const wchar_t* name) const {
    return std::get<std::wstring>(values.at({key, name}));
  }
  void Reset() {
    writes.clear();
    accesses = 0;
  }

 private:
  bool Write(SettingsKey key, const wchar_t* name, Value value) {
    ++accesses;
    writes.push_back(name);
    if (failing.count(name) != 0) return false;
    values[{key, name}] = std::move(value);
    return true;
  }
};

constexpr SettingsKey OPTIONS = SettingsKey::Options;
constexpr SettingsKey LAYOUT = SettingsKey::Layout;

struct Loaded {
  MemoryStore store;
  SettingsBlock current;
  SettingsBlock saved;

  void Load() {
    LoadSettingsFrom(store, current, saved);
    store.Reset();
  }
  bool Save(bool force) { return SaveSettingsTo(store, current, saved, force); }
};

bool SameBlock(const SettingsBlock& a, const SettingsBlock& b) {
  return std::memcmp(&a, &b, sizeof(a)) == 0;
}

}  // namespace

TEST_SUITE("settings_rules") {
  TEST_CASE("an empty registry gives the defaults, all written back") {
    Loaded s;
    LoadSettingsFrom(s.store, s.current, s.saved);
    const Options& o = s.current.options;
    CHECK_TEXT(o.DestinationFolder, L"C:\\Users\\me\\Pictures\\Trimlet");
    CHECK(o.StartupAskFolder);
    CHECK(o.NotifySourceChanges);
    CHECK(o.EnhancedSelection);
    CHECK(o.EditorSystemColor);
    CHECK(o.CopyImageExifTags);
    CHECK(o.CopySourceToTemp);
    CHECK(o.ResizeRatioMode == 0);
    CHECK(o.ResizeRatioWidth == 3);
    CHECK(o.ResizeRatioHeight == 2);
    CHECK(o.MinimumImageWidth == 96);
    CHECK(o.MinimumImageHeight == 96);
    CHECK_TEXT(o.LastUsedFolder, L"");
    CHECK_FALSE(o.ViewOnlyImages);
    const WindowLayout& l = s.current.layout;
    CHECK(l.MainWindowLeft == 10);
    CHECK(l.MainWindowTop == 10);
    CHECK(l.MainWindowWidth == 580);
    CHECK(l.MainWindowHeight == 420);
    CHECK_FALSE(l.MainWindowMaximized);
    CHECK(l.MainHiddenControls == 0);
    CHECK(l.MainSplitterPosition == 150);
    CHECK(l.OptionsSelectedTab == 0);
    CHECK_TEXT(s.current.ContextMenuText, L"");
    CHECK(SameBlock(s.current, s.saved));

    const std::vector<std::wstring> expected = {
        L"DestinationFolder", L"StartupAskFolder",   L"NotifySourceChanges",
        L"EnhancedSelection", L"EditorSystemColor",  L"CopyImageExifTags",
        L"CopySourceToTemp",  L"ResizeRatioMode",    L"ResizeRatioWidth",
        L"ResizeRatioHeight", L"MinimumImageWidth",  L"MinimumImageHeight",
        L"LastUsedFolder",    L"ViewOnlyImages",     L"MainWindowMaximized",
        L"MainWindowLeft",    L"MainWindowTop",      L"MainWindowWidth",
        L"MainWindowHeight",  L"MainHiddenControls", L"MainSplitterPosition",
        L"OptionsSelectedTab"};
    CHECK(s.store.writes == expected);
    CHECK(s.store.Text(OPTIONS, L"DestinationFolder") == L"C:\\Users\\me\\Pictures\\Trimlet");
    CHECK(s.store.Number(LAYOUT, L"MainWindowWidth") == 580);
    CHECK(s.store.Number(OPTIONS, L"StartupAskFolder") == 1);
    CHECK(s.store.Number(OPTIONS, L"ViewOnlyImages") == 0);

    // A second start finds everything and writes nothing.
    s.store.Reset();
    LoadSettingsFrom(s.store, s.current, s.saved);
    CHECK(s.store.writes.empty());
  }

  TEST_CASE("out-of-range numbers become their defaults") {
    struct Row {
      const wchar_t* name;
      uint32_t stored;
      uint32_t read;
    };
    const Row rows[] = {
        {L"ResizeRatioWidth", 0, 3},         {L"ResizeRatioWidth", 100000, 3},
        {L"ResizeRatioWidth", 99999, 99999}, {L"ResizeRatioWidth", 1, 1},
        {L"ResizeRatioHeight", 0, 2},        {L"MinimumImageHeight", 50, 96},
        {L"MinimumImageWidth", 95, 96},      {L"MinimumImageWidth", 96, 96},
        {L"MinimumImageWidth", 100000, 96},  {L"ResizeRatioMode", 3, 0},
        {L"ResizeRatioMode", 2, 2},          {L"ResizeRatioMode", 0xFFFFFFFF, 0},
    };
    for (const Row& row : rows) {
      CAPTURE(Narrow(row.name));
      CAPTURE(row.stored);
      Loaded s;
      s.store.values[{OPTIONS, row.name}] = row.stored;
      LoadSettingsFrom(s.store, s.current, s.saved);
      CHECK(s.store.Number(OPTIONS, row.name) == row.read);
      const bool rewritten =
          std::count(s.store.writes.begin(), s.store.writes.end(), std::wstring(row.name)) == 1;
      CHECK(rewritten == (row.stored != row.read));
    }
  }

  TEST_CASE("flags read any non-zero number as on; layout values are unchecked") {
    Loaded s;
    s.store.values[{OPTIONS, L"ViewOnlyImages"}] = 7u;
    s.store.values[{OPTIONS, L"StartupAskFolder"}] = 0u;
    s.store.values[{LAYOUT, L"MainWindowLeft"}] = static_cast<uint32_t>(-200);
    s.store.values[{LAYOUT, L"MainHiddenControls"}] = 0xFFu;
    s.Load();
    CHECK(s.current.options.ViewOnlyImages);
    CHECK_FALSE(s.current.options.StartupAskFolder);
    CHECK(s.current.layout.MainWindowLeft == -200);
    CHECK(s.current.layout.MainHiddenControls == 0xFF);
  }

  TEST_CASE("the destination folder is kept up to 259 characters") {
    const std::wstring fits = L"C:\\" + std::wstring(256, L'd');
    const std::wstring tooLong = fits + L"e";
    Loaded kept;
    kept.store.values[{OPTIONS, L"DestinationFolder"}] = fits;
    kept.Load();
    CHECK(std::wstring(kept.current.options.DestinationFolder) == fits);

    Loaded replaced;
    replaced.store.values[{OPTIONS, L"DestinationFolder"}] = tooLong;
    LoadSettingsFrom(replaced.store, replaced.current, replaced.saved);
    CHECK_TEXT(replaced.current.options.DestinationFolder, L"C:\\Users\\me\\Pictures\\Trimlet");
    CHECK(replaced.store.Text(OPTIONS, L"DestinationFolder") ==
          L"C:\\Users\\me\\Pictures\\Trimlet");

    // A folder that does not exist is not checked here.
    Loaded missing;
    missing.store.values[{OPTIONS, L"DestinationFolder"}] = std::wstring(L"Q:\\Nowhere");
    missing.Load();
    CHECK_TEXT(missing.current.options.DestinationFolder, L"Q:\\Nowhere");
  }

  TEST_CASE("the last used folder must still exist") {
    Loaded gone;
    gone.store.values[{OPTIONS, L"LastUsedFolder"}] = std::wstring(L"C:\\Deleted");
    LoadSettingsFrom(gone.store, gone.current, gone.saved);
    CHECK_TEXT(gone.current.options.LastUsedFolder, L"");
    CHECK(gone.store.Text(OPTIONS, L"LastUsedFolder").empty());

    Loaded there;
    there.store.values[{OPTIONS, L"LastUsedFolder"}] = std::wstring(L"C:\\Existing");
    LoadSettingsFrom(there.store, there.current, there.saved);
    CHECK_TEXT(there.current.options.LastUsedFolder, L"C:\\Existing");

    Loaded tooLong;
    tooLong.store.values[{OPTIONS, L"LastUsedFolder"}] = std::wstring(260, L'x');
    tooLong.store.folders.insert(std::wstring(260, L'x'));
    LoadSettingsFrom(tooLong.store, tooLong.current, tooLong.saved);
    CHECK_TEXT(tooLong.current.options.LastUsedFolder, L"");
  }

  TEST_CASE("the verb caption comes from the verb, and a long one is dropped") {
    Loaded s;
    s.store.verbInstalled = true;
    s.store.verbCaption = L"Open in Trimlet";
    s.Load();
    CHECK_TEXT(s.current.ContextMenuText, L"Open in Trimlet");
    CHECK_TEXT(s.saved.ContextMenuText, L"Open in Trimlet");

    Loaded longCaption;
    longCaption.store.verbInstalled = true;
    longCaption.store.verbCaption = std::wstring(260, L'c');
    longCaption.Load();
    CHECK_TEXT(longCaption.current.ContextMenuText, L"");
  }

  TEST_CASE("a save with nothing changed touches nothing") {
    Loaded s;
    s.Load();
    CHECK(s.Save(false));
    CHECK(s.store.accesses == 0);
    CHECK(s.store.verbWrites == 0);
  }

  TEST_CASE("letter case alone") {
    Loaded s;
    s.store.folders.insert(L"C:\\Photos");
    s.store.values[{OPTIONS, L"LastUsedFolder"}] = std::wstring(L"C:\\Photos");
    s.Load();
    CopyText(s.current.options.LastUsedFolder, L"C:\\PHOTOS");
    CopyText(s.current.options.DestinationFolder, L"C:\\USERS\\ME\\PICTURES\\TRIMLET");
    CHECK(s.Save(false));
    CHECK(s.store.writes.empty());
    // The options dialog forces: the destination's new case is written, the
    // last used folder never is.
    CHECK(s.Save(true));
    CHECK(s.store.Text(OPTIONS, L"DestinationFolder") == L"C:\\USERS\\ME\\PICTURES\\TRIMLET");
    CHECK(s.store.Text(OPTIONS, L"LastUsedFolder") == L"C:\\Photos");
  }

  TEST_CASE("a forced save writes every option, and the layout only where it changed") {
    Loaded s;
    s.Load();
    s.store.administrator = false;
    CHECK(s.Save(true));
    const std::vector<std::wstring> expected = {
        L"DestinationFolder", L"StartupAskFolder",  L"NotifySourceChanges", L"EnhancedSelection",
        L"EditorSystemColor", L"CopyImageExifTags", L"CopySourceToTemp",    L"ResizeRatioMode",
        L"ResizeRatioWidth",  L"ResizeRatioHeight", L"MinimumImageWidth",   L"MinimumImageHeight"};
    CHECK(s.store.writes == expected);
    // Not an administrator: the verb is left alone and the save still succeeds.
    CHECK(s.store.verbWrites == 0);

    s.store.administrator = true;
    s.store.Reset();
    CHECK(s.Save(true));
    CHECK(s.store.verbWrites == 1);
  }

  TEST_CASE("moving the window writes the four values as one step") {
    Loaded s;
    s.Load();
    s.current.layout.MainWindowTop = 77;
    CHECK(s.Save(false));
    const std::vector<std::wstring> rect = {L"MainWindowLeft", L"MainWindowTop", L"MainWindowWidth",
                                            L"MainWindowHeight"};
    CHECK(s.store.writes == rect);
    CHECK(s.saved.layout.MainWindowTop == 77);
  }

  TEST_CASE("a failed write rolls the current copy back to the stored state") {
    Loaded s;
    s.Load();
    s.store.failing.insert(L"MainWindowTop");
    s.current.layout.MainWindowLeft = 300;
    s.current.layout.MainWindowTop = 200;
    s.current.layout.MainSplitterPosition = 222;
    CHECK_FALSE(s.Save(false));
    // The rectangle stops at the first failure and is not taken over...
    const std::vector<std::wstring> written = {L"MainWindowLeft", L"MainWindowTop",
                                               L"MainSplitterPosition"};
    CHECK(s.store.writes == written);
    CHECK(s.current.layout.MainWindowLeft == 10);
    CHECK(s.current.layout.MainWindowTop == 10);
    // ...while a later step that succeeded is kept.
    CHECK(s.current.layout.MainSplitterPosition == 222);
    CHECK(SameBlock(s.current, s.saved));
  }

  TEST_CASE("a ratio pair is written and kept only as a pair") {
    Loaded s;
    s.Load();
    s.store.failing.insert(L"ResizeRatioWidth");
    s.current.options.ResizeRatioWidth = 16;
    s.current.options.ResizeRatioHeight = 9;
    CHECK_FALSE(s.Save(false));
    CHECK(s.store.writes == std::vector<std::wstring>{L"ResizeRatioWidth"});
    CHECK(s.current.options.ResizeRatioWidth == 3);
    CHECK(s.current.options.ResizeRatioHeight == 2);

    s.store.failing = {L"MinimumImageHeight"};
    s.store.Reset();
    s.current.options.MinimumImageWidth = 200;
    s.current.options.MinimumImageHeight = 150;
    CHECK_FALSE(s.Save(false));
    // The width reached the registry, but the pair stays as it was known.
    CHECK(s.store.Number(OPTIONS, L"MinimumImageWidth") == 200);
    CHECK(s.current.options.MinimumImageWidth == 96);
    CHECK(s.current.options.MinimumImageHeight == 96);
  }

  TEST_CASE("the verb caption is saved by administrators, whatever the outcome") {
    Loaded s;
    s.Load();
    CopyText(s.current.ContextMenuText, L"  Open in Trimlet ");
    CHECK(s.Save(false));
    CHECK(s.store.verbCaption == L"Open in Trimlet");
    CHECK_TEXT(s.saved.ContextMenuText, L"Open in Trimlet");

    // A failed registration is removed again: the caption becomes empty.
    s.store.verbWriteFails = true;
    CopyText(s.current.ContextMenuText, L"Crop here");
    CHECK_FALSE(s.Save(false));
    CHECK_TEXT(s.current.ContextMenuText, L"");
    CHECK_TEXT(s.saved.ContextMenuText, L"");

    // The caption is compared with regard to case.
    s.store.verbWriteFails = false;
    CopyText(s.current.ContextMenuText, L"crop here");
    CHECK(s.Save(false));
    const int writes = s.store.verbWrites;
    CopyText(s.current.ContextMenuText, L"CROP HERE");
    CHECK(s.Save(false));
    CHECK(s.store.verbWrites == writes + 1);
  }
}
