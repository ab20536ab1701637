// The toolbar's buttons and the accelerator keys, and the menu command each
// one runs. Pure.
#pragma once

struct ToolbarButton {
  int id;       // 0 for a separator
  int image;    // index in the three image lists; -1 for a separator
  int command;  // the menu command it runs
  int tooltip;  // label shown as its tooltip
  bool check;   // a check button
};

constexpr int TOOLBAR_BUTTON_COUNT = 23;
extern const ToolbarButton kToolbarButtons[TOOLBAR_BUTTON_COUNT];

// Icon resources by image index: normal, hot and disabled.
struct ToolbarImage {
  int normal;
  int hot;
  int disabled;
};

constexpr int TOOLBAR_IMAGE_COUNT = 16;
extern const ToolbarImage kToolbarImages[TOOLBAR_IMAGE_COUNT];

// The tooltip label of a toolbar button, or -1 for an ID that is not one.
int ToolbarTooltipLabel(int buttonId);

// What a WM_COMMAND id runs: a menu command, a toolbar button or an
// accelerator key become the menu command of their row. `isEnabled` tells
// whether a menu command is enabled; a command that can be greyed runs
// nothing (0) while it is, whichever id asked for it. Any other id is
// returned unchanged.
int CommandToRun(int id, bool (*isEnabled)(int menuCommand));
