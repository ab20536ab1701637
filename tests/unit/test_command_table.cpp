#include "app/command_table.h"
#include "app/menu_keys.h"
#include "resources/resource.h"
#include "tests/support/wide_text.h"

namespace {

bool NothingEnabled(int) { return false; }
bool EverythingEnabled(int) { return true; }

}  // namespace

TEST_SUITE("commands") {
  TEST_CASE("an accelerator with a condition runs only while its menu item is enabled") {
    CHECK(CommandToRun(IDM_ACCEL_FOLDER_REFRESH, NothingEnabled) == 0);
    CHECK(CommandToRun(IDM_ACCEL_FOLDER_REFRESH, EverythingEnabled) == IDM_FOLDER_REFRESH);
    CHECK(CommandToRun(IDM_ACCEL_IMAGE_SAVE_NEXT, NothingEnabled) == 0);
    CHECK(CommandToRun(IDM_ACCEL_IMAGE_SAVE_NEXT, EverythingEnabled) == IDM_IMAGE_SAVE_NEXT);
    CHECK(CommandToRun(IDM_ACCEL_IMAGE_MOVE_LAST, EverythingEnabled) == IDM_IMAGE_MOVE_LAST);
    CHECK(CommandToRun(IDM_ACCEL_IMAGE_VIEW_ONLY, NothingEnabled) == 0);
  }

  TEST_CASE("accelerators without a condition always run") {
    for (int id : {IDM_ACCEL_FILE_LANGUAGE, IDM_ACCEL_FILE_OPTIONS, IDM_ACCEL_FILE_EXIT,
                   IDM_ACCEL_FOLDER_OPEN, IDM_ACCEL_FOLDER_BROWSE, IDM_ACCEL_HELP_MANUAL}) {
      CAPTURE(id);
      CHECK(CommandToRun(id, NothingEnabled) != 0);
    }
    CHECK(CommandToRun(IDM_ACCEL_FILE_EXIT, NothingEnabled) == IDM_FILE_EXIT);
    CHECK(CommandToRun(IDM_ACCEL_HELP_MANUAL, NothingEnabled) == IDM_HELP_MANUAL);
  }

  TEST_CASE("toolbar buttons run their menu command; other ids pass through") {
    CHECK(CommandToRun(IDC_TB_ROTATE, NothingEnabled) == IDM_IMAGE_ROTATE);
    CHECK(CommandToRun(IDC_TB_EXIT, NothingEnabled) == IDM_FILE_EXIT);
    CHECK(CommandToRun(IDM_IMAGE_SAVE_ONLY, NothingEnabled) == IDM_IMAGE_SAVE_ONLY);
    CHECK(CommandToRun(2, NothingEnabled) == 2);
    CHECK(CommandToRun(10500, NothingEnabled) == 10500);
  }

  TEST_CASE("tooltips and menu keys name their labels") {
    CHECK(ToolbarTooltipLabel(IDC_TB_EXIT) == 43);
    CHECK(ToolbarTooltipLabel(IDC_TB_ROTATE) == 69);
    CHECK(ToolbarTooltipLabel(IDC_TB_MOVE_FIRST) == 66);
    CHECK(ToolbarTooltipLabel(0) == -1);
    CHECK(ToolbarTooltipLabel(IDC_FILE_LIST) == -1);
    CHECK(MenuKeyLabel(L"MNU_IMAGE_SHELL_MENU") == 84);
    CHECK(MenuKeyLabel(L"MNU_HELP_ABOUT") == 38);
    CHECK(MenuKeyLabel(L"MNU_IMAGE") == 30);
    CHECK(MenuKeyLabel(L"File") == -1);
  }
}
