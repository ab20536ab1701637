#include "settings/settings_rules.h"

#include <cwchar>
#include <limits>

namespace {

constexpr uint32_t NO_LIMIT = std::numeric_limits<uint32_t>::max();

struct Flag {
  const wchar_t* name;
  bool Options::*field;
  bool fallback = true;
};

// Loaded and saved in this order.
constexpr Flag kOptionFlags[] = {
    {L"StartupAskFolder", &Options::StartupAskFolder},
    {L"NotifySourceChanges", &Options::NotifySourceChanges},
    {L"EnhancedSelection", &Options::EnhancedSelection},
    {L"EditorSystemColor", &Options::EditorSystemColor},
    {L"CopyImageExifTags", &Options::CopyImageExifTags},
    {L"CopySourceToTemp", &Options::CopySourceToTemp},
    {L"TurnImagesUpright", &Options::TurnImagesUpright},
    {L"LosslessJpegCrop", &Options::LosslessJpegCrop, false},
    {L"ListMoreFormats", &Options::ListMoreFormats, false},
};

struct Number {
  const wchar_t* name;
  uint32_t Options::*field;
  uint32_t fallback;
  uint32_t min;
  uint32_t max;
};

// Loaded in this order; saved in three steps: the mode, the ratio pair and
// the minimum size pair.
constexpr Number kOptionNumbers[] = {
    {L"ResizeRatioMode", &Options::ResizeRatioMode, RATIO_MODE_CUSTOM, RATIO_MODE_CUSTOM,
     RATIO_MODE_FREE},
    {L"ResizeRatioWidth", &Options::ResizeRatioWidth, 3, RATIO_TERM_MIN, RATIO_TERM_MAX},
    {L"ResizeRatioHeight", &Options::ResizeRatioHeight, 2, RATIO_TERM_MIN, RATIO_TERM_MAX},
    {L"MinimumImageWidth", &Options::MinimumImageWidth, 96, MINIMUM_IMAGE_SIDE_MIN,
     MINIMUM_IMAGE_SIDE_MAX},
    {L"MinimumImageHeight", &Options::MinimumImageHeight, 96, MINIMUM_IMAGE_SIDE_MIN,
     MINIMUM_IMAGE_SIDE_MAX},
};
const Number* const kRatioMode = &kOptionNumbers[0];
const Number* const kRatioTerms = &kOptionNumbers[1];
const Number* const kMinimumSides = &kOptionNumbers[3];

// The window rectangle is saved as one step, so it is kept apart from the
// other layout values.
struct LayoutValue {
  const wchar_t* name;
  int32_t WindowLayout::*field;
  int32_t fallback;
};

constexpr LayoutValue kWindowRect[] = {
    {L"MainWindowLeft", &WindowLayout::MainWindowLeft, 10},
    {L"MainWindowTop", &WindowLayout::MainWindowTop, 10},
    {L"MainWindowWidth", &WindowLayout::MainWindowWidth, 580},
    {L"MainWindowHeight", &WindowLayout::MainWindowHeight, 420},
};
constexpr LayoutValue kSplitter = {L"MainSplitterPosition", &WindowLayout::MainSplitterPosition,
                                   150};
constexpr LayoutValue kOptionsTab = {L"OptionsSelectedTab", &WindowLayout::OptionsSelectedTab, 0};
constexpr const wchar_t* kMaximized = L"MainWindowMaximized";
constexpr const wchar_t* kHiddenControls = L"MainHiddenControls";
constexpr const wchar_t* kViewOnly = L"ViewOnlyImages";
constexpr const wchar_t* kKeepFrame = L"KeepFrame";
constexpr const wchar_t* kDestinationFolder = L"DestinationFolder";
constexpr const wchar_t* kLastUsedFolder = L"LastUsedFolder";

// Reads a number; an absent or out-of-range value becomes the default, which
// is written back at once (a failed write-back is ignored).
uint32_t LoadNumber(SettingsStore& store, SettingsKey key, const wchar_t* name, uint32_t fallback,
                    uint32_t min, uint32_t max) {
  uint32_t value = 0;
  if (store.ReadNumber(key, name, value) && value >= min && value <= max) return value;
  store.WriteNumber(key, name, fallback);
  return fallback;
}

bool LoadFlag(SettingsStore& store, SettingsKey key, const wchar_t* name, bool fallback) {
  return LoadNumber(store, key, name, fallback ? 1 : 0, 0, NO_LIMIT) != 0;
}

void LoadDestinationFolder(SettingsStore& store, Options& options) {
  TextBuffer text;
  if (store.ReadText(SettingsKey::Options, kDestinationFolder, text) &&
      CopyText(options.DestinationFolder, text)) {
    return;
  }
  store.DefaultDestinationFolder(options.DestinationFolder);
  store.WriteText(SettingsKey::Options, kDestinationFolder, options.DestinationFolder);
}

void LoadLastUsedFolder(SettingsStore& store, Options& options) {
  TextBuffer text;
  if (store.ReadText(SettingsKey::Options, kLastUsedFolder, text) &&
      CopyText(options.LastUsedFolder, text) &&
      (text[0] == L'\0' || store.IsExistingFolder(text))) {
    return;
  }
  options.LastUsedFolder[0] = L'\0';
  store.WriteText(SettingsKey::Options, kLastUsedFolder, L"");
}

void LoadOptions(SettingsStore& store, Options& options) {
  constexpr SettingsKey key = SettingsKey::Options;
  LoadDestinationFolder(store, options);
  for (const Flag& flag : kOptionFlags) options.*flag.field = LoadFlag(store, key, flag.name, flag.fallback);
  for (const Number& number : kOptionNumbers) {
    options.*number.field =
        LoadNumber(store, key, number.name, number.fallback, number.min, number.max);
  }
  LoadLastUsedFolder(store, options);
  options.ViewOnlyImages = LoadFlag(store, key, kViewOnly, false);
  options.KeepFrame = LoadFlag(store, key, kKeepFrame, false);
}

int32_t LoadLayoutValue(SettingsStore& store, const LayoutValue& value) {
  return static_cast<int32_t>(LoadNumber(store, SettingsKey::Layout, value.name,
                                         static_cast<uint32_t>(value.fallback), 0, NO_LIMIT));
}

void LoadLayout(SettingsStore& store, WindowLayout& layout) {
  layout.MainWindowMaximized = LoadFlag(store, SettingsKey::Layout, kMaximized, false);
  for (const LayoutValue& value : kWindowRect) layout.*value.field = LoadLayoutValue(store, value);
  layout.MainHiddenControls =
      LoadNumber(store, SettingsKey::Layout, kHiddenControls, 0, 0, NO_LIMIT);
  layout.MainSplitterPosition = LoadLayoutValue(store, kSplitter);
  layout.OptionsSelectedTab = LoadLayoutValue(store, kOptionsTab);
}

// One save: the running result and the two copies.
class Saver {
 public:
  Saver(SettingsStore& store, SettingsBlock& current, SettingsBlock& saved, bool force)
      : store_(store), current_(current), saved_(saved), force_(force) {}

  bool Run() {
    SaveText(kDestinationFolder, &Options::DestinationFolder, force_);
    for (const Flag& flag : kOptionFlags) SaveFlag(flag.name, flag.field, force_);
    SaveOptionNumbers(kRatioMode, 1);
    SaveOptionNumbers(kRatioTerms, 2);
    SaveOptionNumbers(kMinimumSides, 2);
    SaveText(kLastUsedFolder, &Options::LastUsedFolder, false);
    SaveFlag(kViewOnly, &Options::ViewOnlyImages, false);
    SaveFlag(kKeepFrame, &Options::KeepFrame, false);
    SaveLayout();
    SaveVerb();
    if (!result_) current_ = saved_;
    return result_;
  }

 private:
  // Records the outcome of one step; the saved copy takes the step's fields
  // only when all its writes succeeded.
  bool Done(bool written) {
    if (!written) result_ = false;
    return written;
  }

  void SaveText(const wchar_t* name, PathBuffer Options::*field, bool force) {
    const wchar_t* now = current_.options.*field;
    if (!force && store_.SameTextIgnoreCase(now, saved_.options.*field)) return;
    if (Done(store_.WriteText(SettingsKey::Options, name, now))) {
      CopyText(saved_.options.*field, now);
    }
  }

  void SaveFlag(const wchar_t* name, bool Options::*field, bool force) {
    const bool now = current_.options.*field;
    if (!force && now == saved_.options.*field) return;
    if (Done(store_.WriteNumber(SettingsKey::Options, name, now ? 1 : 0))) {
      saved_.options.*field = now;
    }
  }

  // A group of numbers saved as one step: written in order while each
  // write succeeds, and taken into the saved copy only as a whole.
  void SaveOptionNumbers(const Number* numbers, int count) {
    bool differs = force_;
    for (int i = 0; i < count; ++i) {
      differs = differs || current_.options.*numbers[i].field != saved_.options.*numbers[i].field;
    }
    if (!differs) return;
    bool written = true;
    for (int i = 0; i < count && written; ++i) {
      written = store_.WriteNumber(SettingsKey::Options, numbers[i].name,
                                   current_.options.*numbers[i].field);
    }
    if (!Done(written)) return;
    for (int i = 0; i < count; ++i) {
      saved_.options.*numbers[i].field = current_.options.*numbers[i].field;
    }
  }

  void SaveLayoutNumber(const wchar_t* name, uint32_t now, uint32_t& saved) {
    if (now == saved) return;
    if (Done(store_.WriteNumber(SettingsKey::Layout, name, now))) saved = now;
  }

  void SaveWindowRect() {
    const WindowLayout& now = current_.layout;
    bool differs = false;
    for (const LayoutValue& value : kWindowRect) {
      differs = differs || now.*value.field != saved_.layout.*value.field;
    }
    if (!differs) return;
    bool written = true;
    for (const LayoutValue& value : kWindowRect) {
      written = written && store_.WriteNumber(SettingsKey::Layout, value.name,
                                              static_cast<uint32_t>(now.*value.field));
    }
    if (!Done(written)) return;
    for (const LayoutValue& value : kWindowRect) saved_.layout.*value.field = now.*value.field;
  }

  void SaveSignedLayoutValue(const LayoutValue& value) {
    uint32_t saved = static_cast<uint32_t>(saved_.layout.*value.field);
    SaveLayoutNumber(value.name, static_cast<uint32_t>(current_.layout.*value.field), saved);
    saved_.layout.*value.field = static_cast<int32_t>(saved);
  }

  void SaveLayout() {
    const WindowLayout& now = current_.layout;
    uint32_t maximized = saved_.layout.MainWindowMaximized ? 1 : 0;
    SaveLayoutNumber(kMaximized, now.MainWindowMaximized ? 1 : 0, maximized);
    saved_.layout.MainWindowMaximized = maximized != 0;
    SaveWindowRect();
    SaveLayoutNumber(kHiddenControls, now.MainHiddenControls, saved_.layout.MainHiddenControls);
    SaveSignedLayoutValue(kSplitter);
    SaveSignedLayoutValue(kOptionsTab);
  }

  // Only an administrator may change the verb; for anybody else the step is
  // skipped and does not affect the result.
  void SaveVerb() {
    if (!force_ && std::wcscmp(current_.ContextMenuText, saved_.ContextMenuText) == 0) return;
    if (!store_.IsAdministrator()) return;
    Done(store_.WriteVerb(current_.ContextMenuText));
    CopyText(saved_.ContextMenuText, current_.ContextMenuText);
  }

  SettingsStore& store_;
  SettingsBlock& current_;
  SettingsBlock& saved_;
  const bool force_;
  bool result_ = true;
};

}  // namespace

void LoadSettingsFrom(SettingsStore& store, SettingsBlock& current, SettingsBlock& saved) {
  current = SettingsBlock{};
  LoadOptions(store, current.options);
  LoadLayout(store, current.layout);
  TextBuffer caption;
  if (!store.ReadVerbCaption(caption) || !CopyPathWithFallback(nullptr, caption, L"")) {
    caption[0] = L'\0';
  }
  CopyText(current.ContextMenuText, caption);
  saved = current;
}

bool SaveSettingsTo(SettingsStore& store, SettingsBlock& current, SettingsBlock& saved,
                    bool force) {
  return Saver(store, current, saved, force).Run();
}
