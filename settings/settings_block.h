// The settings block: options, window layout and the Explorer verb caption.
// Fields carry the names of their registry values.
#pragma once

#include <cstdint>

#include "base/text.h"

// Values of ResizeRatioMode.
constexpr uint32_t RATIO_MODE_CUSTOM = 0;
constexpr uint32_t RATIO_MODE_SOURCE = 1;
constexpr uint32_t RATIO_MODE_FREE = 2;

// Bits of MainHiddenControls.
enum HiddenControls : uint32_t {
  HIDDEN_TOOLBAR = 1,
  HIDDEN_STATUS_BAR = 2,
  HIDDEN_FILE_LIST = 4,
};

struct Options {
  PathBuffer DestinationFolder;
  bool StartupAskFolder;
  bool NotifySourceChanges;
  bool EnhancedSelection;
  bool EditorSystemColor;
  bool CopyImageExifTags;
  bool CopySourceToTemp;
  bool TurnImagesUpright;  // by the orientation tag of a JPEG, TIFF or PNG
  bool LosslessJpegCrop;   // JPEG crops cut from the file's blocks, not encoded again
  bool ListMoreFormats;    // PNG, TIFF and the other JPEG names listed too
  uint32_t ResizeRatioMode;
  uint32_t ResizeRatioWidth;
  uint32_t ResizeRatioHeight;
  uint32_t MinimumImageWidth;
  uint32_t MinimumImageHeight;
  PathBuffer LastUsedFolder;
  bool ViewOnlyImages;
  bool KeepFrame;  // the next picture gets the selection of the one before
};

struct WindowLayout {
  int32_t MainWindowLeft;
  int32_t MainWindowTop;
  int32_t MainWindowWidth;
  int32_t MainWindowHeight;
  bool MainWindowMaximized;
  uint32_t MainHiddenControls;
  int32_t MainSplitterPosition;
  int32_t OptionsSelectedTab;
};

struct SettingsBlock {
  Options options;
  WindowLayout layout;
  // Caption of the Explorer verb on folders and drives; empty when none.
  TextBuffer ContextMenuText;
};
