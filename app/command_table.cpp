#include "app/command_table.h"

#include "resources/resource.h"
#include "ui/label_ids.h"

const ToolbarButton kToolbarButtons[TOOLBAR_BUTTON_COUNT] = {
    {IDC_TB_OPEN_DEST, 0, IDM_FOLDER_OPEN, LBL_TT_OPEN_DEST, false},
    {0, -1, 0, -1, false},
    {IDC_TB_CHOOSE_SOURCE, 1, IDM_FOLDER_BROWSE, LBL_TT_CHOOSE_SOURCE, false},
    {IDC_TB_REFRESH_SOURCE, 2, IDM_FOLDER_REFRESH, LBL_TT_REFRESH_SOURCE, false},
    {0, -1, 0, -1, false},
    {IDC_TB_VIEW_ONLY, 3, IDM_IMAGE_VIEW_ONLY, LBL_TT_VIEW_ONLY, true},
    {IDC_TB_KEEP_FRAME, 15, IDM_IMAGE_KEEP_FRAME, LBL_TT_KEEP_FRAME, true},
    {0, -1, 0, -1, false},
    {IDC_TB_MOVE_FIRST, 4, IDM_IMAGE_MOVE_FIRST, LBL_TT_FIRST_IMAGE, false},
    {IDC_TB_MOVE_BACK, 5, IDM_IMAGE_MOVE_BACK, LBL_TT_PREV_IMAGE, false},
    {IDC_TB_MOVE_NEXT, 6, IDM_IMAGE_MOVE_NEXT, LBL_TT_NEXT_IMAGE, false},
    {IDC_TB_MOVE_LAST, 7, IDM_IMAGE_MOVE_LAST, LBL_TT_LAST_IMAGE, false},
    {0, -1, 0, -1, false},
    {IDC_TB_ROTATE, 8, IDM_IMAGE_ROTATE, LBL_TT_ROTATE_SELECTION, false},
    {0, -1, 0, -1, false},
    {IDC_TB_SAVE_BACK, 9, IDM_IMAGE_SAVE_BACK, LBL_TT_SAVE_PREV_IMAGE, false},
    {IDC_TB_SAVE_ONLY, 10, IDM_IMAGE_SAVE_ONLY, LBL_TT_SAVE_IMAGE, false},
    {IDC_TB_SAVE_NEXT, 11, IDM_IMAGE_SAVE_NEXT, LBL_TT_SAVE_NEXT_IMAGE, false},
    {0, -1, 0, -1, false},
    {IDC_TB_LANGUAGE, 12, IDM_FILE_LANGUAGE, LBL_TT_LANGUAGE, false},
    {IDC_TB_OPTIONS, 13, IDM_FILE_OPTIONS, LBL_TT_OPTIONS, false},
    {0, -1, 0, -1, false},
    {IDC_TB_EXIT, 14, IDM_FILE_EXIT, LBL_TT_EXIT, false},
};

const ToolbarImage kToolbarImages[TOOLBAR_IMAGE_COUNT] = {
    {IDI_TB_OPEN_DEST, IDI_TB_OPEN_DEST_HOT, IDI_TB_SHARED_DISABLED},
    {IDI_TB_CHOOSE_SOURCE, IDI_TB_CHOOSE_SOURCE_HOT, IDI_TB_SHARED_DISABLED},
    {IDI_TB_REFRESH_SOURCE, IDI_TB_REFRESH_SOURCE_HOT, IDI_TB_REFRESH_SOURCE_DISABLED},
    {IDI_TB_VIEW_ONLY, IDI_TB_VIEW_ONLY_HOT, IDI_TB_VIEW_ONLY_DISABLED},
    {IDI_TB_MOVE_FIRST, IDI_TB_MOVE_FIRST_HOT, IDI_TB_MOVE_FIRST_DISABLED},
    {IDI_TB_MOVE_BACK, IDI_TB_MOVE_BACK_HOT, IDI_TB_MOVE_BACK_DISABLED},
    {IDI_TB_MOVE_NEXT, IDI_TB_MOVE_NEXT_HOT, IDI_TB_MOVE_NEXT_DISABLED},
    {IDI_TB_MOVE_LAST, IDI_TB_MOVE_LAST_HOT, IDI_TB_MOVE_LAST_DISABLED},
    {IDI_TB_ROTATE, IDI_TB_ROTATE_HOT, IDI_TB_ROTATE_DISABLED},
    {IDI_TB_SAVE_BACK, IDI_TB_SAVE_BACK_HOT, IDI_TB_SAVE_BACK_DISABLED},
    {IDI_TB_SAVE_ONLY, IDI_TB_SAVE_ONLY_HOT, IDI_TB_SAVE_ONLY_DISABLED},
    {IDI_TB_SAVE_NEXT, IDI_TB_SAVE_NEXT_HOT, IDI_TB_SAVE_NEXT_DISABLED},
    {IDI_TB_LANGUAGE, IDI_TB_LANGUAGE_HOT, IDI_TB_SHARED_DISABLED},
    {IDI_TB_OPTIONS, IDI_TB_OPTIONS_HOT, IDI_TB_SHARED_DISABLED},
    {IDI_TB_EXIT, IDI_TB_EXIT_HOT, IDI_TB_SHARED_DISABLED},
    {IDI_TB_KEEP_FRAME, IDI_TB_KEEP_FRAME_HOT, IDI_TB_SHARED_DISABLED},
};

namespace {

struct Accelerator {
  int id;
  int command;
  bool conditional;  // runs only while its menu command is enabled
};

constexpr Accelerator kAccelerators[] = {
    {IDM_ACCEL_IMAGE_MOVE_LAST, IDM_IMAGE_MOVE_LAST, true},
    {IDM_ACCEL_IMAGE_MOVE_BACK, IDM_IMAGE_MOVE_BACK, true},
    {IDM_ACCEL_IMAGE_MOVE_NEXT, IDM_IMAGE_MOVE_NEXT, true},
    {IDM_ACCEL_IMAGE_MOVE_FIRST, IDM_IMAGE_MOVE_FIRST, true},
    {IDM_ACCEL_FILE_LANGUAGE, IDM_FILE_LANGUAGE, false},
    {IDM_ACCEL_IMAGE_SAVE_BACK, IDM_IMAGE_SAVE_BACK, true},
    {IDM_ACCEL_FILE_OPTIONS, IDM_FILE_OPTIONS, false},
    {IDM_ACCEL_FILE_EXIT, IDM_FILE_EXIT, false},
    {IDM_ACCEL_IMAGE_ROTATE, IDM_IMAGE_ROTATE, true},
    {IDM_ACCEL_IMAGE_SAVE_NEXT, IDM_IMAGE_SAVE_NEXT, true},
    {IDM_ACCEL_IMAGE_SAVE_ONLY, IDM_IMAGE_SAVE_ONLY, true},
    {IDM_ACCEL_FOLDER_OPEN, IDM_FOLDER_OPEN, false},
    {IDM_ACCEL_FOLDER_BROWSE, IDM_FOLDER_BROWSE, false},
    {IDM_ACCEL_FOLDER_REFRESH, IDM_FOLDER_REFRESH, true},
    {IDM_ACCEL_IMAGE_VIEW_ONLY, IDM_IMAGE_VIEW_ONLY, true},
    {IDM_ACCEL_IMAGE_KEEP_FRAME, IDM_IMAGE_KEEP_FRAME, false},
    {IDM_ACCEL_HELP_MANUAL, IDM_HELP_MANUAL, false},
};

}  // namespace

int ToolbarTooltipLabel(int buttonId) {
  for (const ToolbarButton& button : kToolbarButtons) {
    if (button.id != 0 && button.id == buttonId) return button.tooltip;
  }
  return -1;
}

int CommandToRun(int id, bool (*isEnabled)(int menuCommand)) {
  int command = id;
  for (const Accelerator& accelerator : kAccelerators) {
    if (accelerator.id == id) command = accelerator.command;
  }
  for (const ToolbarButton& button : kToolbarButtons) {
    if (button.id != 0 && button.id == id) command = button.command;
  }
  // A greyed command does not run, however it arrives: a key, a button, or
  // a message from another program.
  for (const Accelerator& accelerator : kAccelerators) {
    if (accelerator.command == command && accelerator.conditional && !isEnabled(command)) return 0;
  }
  return command;
}
