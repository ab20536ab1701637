#include <string>

#include "app/command_line.h"
#include "app/command_table.h"
#include "app/layout_rules.h"
#include "app/menu_keys.h"
#include "app/startup_rules.h"
#include "resources/resource.h"
#include "tests/support/wide_text.h"
#include "ui/label_ids.h"
#include "ui/window_geometry.h"

// The form and folder of a command line as "E folder", "U" or "N".
static std::wstring Parsed(const std::wstring& text) {
  const CommandLine line = ParseCommandLine(text.c_str());
  if (line.form == CommandLineForm::Explore) return L"E " + std::wstring(line.folder);
  return line.form == CommandLineForm::Uninstall ? L"U" : L"N";
}

// Only Refresh is enabled: the check is asked about the menu command.
static bool OnlyRefresh(int menuCommand) { return menuCommand == IDM_FOLDER_REFRESH; }

TEST_CASE("the command line: a keyword by prefix in any case, the folder trimmed and unquoted") {
  CHECK(Parsed(L"/ExPlOrE   \"C:\\My Pictures\"  ") == L"E C:\\My Pictures");
  CHECK(Parsed(L"-EXPLORE\tC:\\x") == L"E \tC:\\x");  // only U+0020 is a blank
  CHECK(Parsed(L"/EXPLOREC:\\x") == L"E C:\\x");
  CHECK(Parsed(L"-explore /UNINSTALL") == L"E /UNINSTALL");  // the folder form comes first
  CHECK(Parsed(L"/UNINSTALLING") == L"U");
  for (const wchar_t* text : {L"", L"C:\\x", L" /EXPLORE C:\\x", L"/EXPLOR", L"+EXPLORE"}) {
    CHECK(Parsed(text) == L"N");
  }
  CHECK(ParseCommandLine(nullptr).form == CommandLineForm::Normal);
  // A folder of 260 characters or more is dropped, counted after trimming.
  const std::wstring fits(259, L'a');
  CHECK(Parsed(L"/EXPLORE   \"" + fits + L"\"   ") == L"E " + fits);
  CHECK(Parsed(L"/EXPLORE " + fits + L"a") == L"E ");
}

TEST_CASE("what a command id runs, and the labels of tooltips and menu keys") {
  // A greyed command runs nothing unless it always runs, by its key, its
  // button or its menu id (another program's WM_COMMAND); other ids pass.
  // 1 and 2 pass: not taken for a separator.
  const int runs[][2] = {
      {IDM_ACCEL_FOLDER_REFRESH, IDM_FOLDER_REFRESH}, {IDM_ACCEL_IMAGE_SAVE_NEXT, 0},
      {IDM_ACCEL_FILE_OPTIONS, IDM_FILE_OPTIONS}, {IDC_TB_REFRESH_SOURCE, IDM_FOLDER_REFRESH},
      {IDM_IMAGE_SAVE_ONLY, 0}, {IDC_TB_SAVE_NEXT, 0}, {1, 1}, {2, 2}};
  for (const auto& [id, ran] : runs) CHECK(CommandToRun(id, OnlyRefresh) == ran);
  CHECK(ToolbarTooltipLabel(IDC_TB_ROTATE) == LBL_TT_ROTATE_SELECTION);
  CHECK(ToolbarTooltipLabel(0) == -1);  // a separator
  CHECK(ToolbarTooltipLabel(IDC_FILE_LIST) == -1);
  CHECK(MenuKeyLabel(L"MNU_IMAGE_SHELL_MENU") == LBL_SYSTEM_COMMANDS);
  CHECK(MenuKeyLabel(L"MNU_IMAGE_") == -1);
}

TEST_CASE("the main window: the splitter held at 30 and by a 300-pixel editor, bars and menus") {
  const int32_t clamps[][3] = {{800, 150, 150}, {800, 29, 30},   {800, -500, 30},
                               {800, 497, 497}, {800, 498, 497}, {320, 150, 17}};
  for (const auto& [right, splitter, held] : clamps) {
    const PaneLayout layout = ComputePaneLayout({5, 30, right, 500}, splitter, true);
    CHECK(layout.splitter == held);
    CHECK((layout.fileList.left == 5 && layout.fileList.right == 5 + held));
    CHECK((layout.editor.left == held + 3 && layout.editor.right == right));
    CHECK((layout.fileList.top == 30 && layout.editor.bottom == 500));
  }
  CHECK(ComputePaneLayout({0, 30, 800, 500}, 5, false).splitter == 5);  // kept while hidden
  // The splitter is the three columns right of the list, on the list's rows.
  // Regression: the list's top row was not on the splitter.
  const int32_t points[][3] = {{149, 50, 0}, {150, 50, 1}, {152, 50, 1}, {153, 50, 0},
                               {151, 19, 0}, {151, 20, 1}, {151, 99, 1}, {151, 100, 0}};
  for (const auto& [x, y, on] : points) CHECK(IsOnSplitter(x, y, 150, 20, 100) == (on == 1));
  int32_t edges[STATUS_PARTS_MOST];
  CHECK(StatusPartEdges(1000, false, edges) == 4);
  CHECK((edges[0] == 520 && edges[1] == 650 && edges[2] == 780 && edges[3] == -1));
  // The progress takes its room from the file name's, then the selection's.
  CHECK(StatusPartEdges(1000, true, edges) == 5);
  CHECK((edges[0] == 390 && edges[2] == 650 && edges[3] == 870 && edges[4] == -1));
  StatusPartEdges(580, true, edges);
  CHECK((edges[0] == 90 && edges[1] == 220 && edges[2] == 350 && edges[3] == 450));
  // A menu from the keyboard opens by the selected item while it is in view.
  const Box list = {100, 200, 300, 500};
  const MenuPoint item = {40, 120}, below = {40, 300};
  CHECK((KeyboardMenuPoint(list, &item).x == 148 && KeyboardMenuPoint(list, &item).y == 328));
  CHECK((KeyboardMenuPoint(list, &below).x == 108 && KeyboardMenuPoint(list, nullptr).y == 208));
}

TEST_CASE("a dialog centred over its parent, a stored window's corner: kept on the work area") {
  const Box work = {0, 0, 1280, 1000};
  const Point centred = CentreOver({100, 100, 701, 501}, 200, 100, work);
  CHECK((centred.x == 300 && centred.y == 250));  // (601 - 200) / 2 rounds toward zero
  const Point right = CentreOver({1200, 950, 1400, 1050}, 300, 200, work);
  CHECK((right.x == 980 && right.y == 800));
  const Point left = CentreOver({-500, -400, -100, -100}, 300, 200, work);
  CHECK((left.x == 0 && left.y == 0));
  // At least 100 pixels of the window's corner stay on the work area.
  const WindowRect kept = PlaceOnWorkArea({1180, 900, 580, 420}, 1280, 1000);
  const WindowRect moved = PlaceOnWorkArea({1181, 901, 580, 420}, 1280, 1000);
  CHECK((kept.left == 1180 && kept.top == 900 && moved.left == 1180 && moved.top == 900));
  CHECK(PlaceOnWorkArea({-3000, -50, 580, 420}, 1280, 1000).left == -3000);
  CHECK(PlaceOnWorkArea({2147483647, 0, 580, 420}, 1280, 1000).left == 1180);  // no overflow
}
