// LoadSettingsFrom with a registry whose every answer comes from the fuzz
// data: the texts end within their buffers, and the two copies agree, so
// that a save right after writes nothing. (The numbers' ranges are pinned at
// their limits by the native tests.)
#include <cstdlib>

#include "settings/settings_rules.h"
#include "tests/fuzz/fuzz_text.h"

namespace {

struct FuzzStore final : SettingsStore {
  explicit FuzzStore(FuzzedDataProvider& input) : data(input) {}
  FuzzedDataProvider& data;
  int writes = 0;

  // Like the registry layer: a text of at most 1023 units; when the value is
  // absent the text is still whatever came.
  bool ReadText(SettingsKey, const wchar_t*, TextBuffer& text) override {
    CopyText(text, ConsumeText(data, TEXT_CAPACITY - 1).c_str());
    return data.ConsumeBool();
  }
  bool ReadNumber(SettingsKey, const wchar_t*, uint32_t& value) override {
    value = data.ConsumeIntegral<uint32_t>();
    return data.ConsumeBool();
  }
  bool WriteText(SettingsKey, const wchar_t*, const wchar_t*) override { return Written(); }
  bool WriteNumber(SettingsKey, const wchar_t*, uint32_t) override { return Written(); }
  bool IsExistingFolder(const wchar_t*) override { return data.ConsumeBool(); }
  void DefaultDestinationFolder(PathBuffer& folder) override {
    CopyText(folder, ConsumeText(data, PATH_CAPACITY - 1).c_str());
  }
  bool ReadVerbCaption(TextBuffer& caption) override { return ReadText({}, nullptr, caption); }
  bool WriteVerb(TextBuffer&) override { return Written(); }
  bool IsAdministrator() override { return data.ConsumeBool(); }
  bool SameTextIgnoreCase(const wchar_t* a, const wchar_t* b) override {
    return EqualsIgnoreAsciiCase(a, b);
  }
  bool Written() { return ++writes, data.ConsumeBool(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  FuzzStore store(input);
  SettingsBlock current, saved;
  LoadSettingsFrom(store, current, saved);
  const Options& o = current.options;
  if (TextLength(o.DestinationFolder, PATH_CAPACITY) == PATH_CAPACITY ||
      TextLength(o.LastUsedFolder, PATH_CAPACITY) == PATH_CAPACITY ||
      TextLength(current.ContextMenuText, PATH_CAPACITY) == PATH_CAPACITY) {
    std::abort();
  }
  store.writes = 0;
  if (!SaveSettingsTo(store, current, saved, false) || store.writes != 0) std::abort();
  return 0;
}
