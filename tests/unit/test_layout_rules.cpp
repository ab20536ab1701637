#include "app/layout_rules.h"
#include "tests/support/wide_text.h"
#include "ui/window_geometry.h"

TEST_SUITE("layout") {
  TEST_CASE("the file list takes the splitter's width, the editor the rest") {
    const PaneLayout layout = ComputePaneLayout({0, 30, 800, 500}, 150, true);
    CHECK(layout.splitter == 150);
    CHECK(layout.fileList.left == 0);
    CHECK(layout.fileList.right == 150);
    CHECK(layout.fileList.top == 30);
    CHECK(layout.fileList.bottom == 500);
    CHECK(layout.editor.left == 153);
    CHECK(layout.editor.right == 800);
  }

  TEST_CASE("the splitter is clamped at 30, then so that the editor keeps 300") {
    CHECK(ComputePaneLayout({0, 0, 800, 500}, 29, true).splitter == 30);
    CHECK(ComputePaneLayout({0, 0, 800, 500}, -500, true).splitter == 30);
    CHECK(ComputePaneLayout({0, 0, 800, 500}, 497, true).splitter == 497);
    const PaneLayout right = ComputePaneLayout({0, 0, 800, 500}, 498, true);
    CHECK(right.splitter == 497);
    CHECK(right.editor.right - right.editor.left == 300);
    // A window narrower than 333 pixels gives the editor its 300 first.
    const PaneLayout narrow = ComputePaneLayout({0, 0, 320, 500}, 150, true);
    CHECK(narrow.splitter == 17);
    CHECK(narrow.editor.right - narrow.editor.left == 300);
  }

  TEST_CASE("without the file list the editor fills the area and the splitter stays") {
    const PaneLayout layout = ComputePaneLayout({0, 30, 800, 500}, 5, false);
    CHECK(layout.splitter == 5);
    CHECK(layout.editor.left == 0);
    CHECK(layout.editor.top == 30);
    CHECK(layout.editor.right == 800);
    CHECK(layout.editor.bottom == 500);
  }

  TEST_CASE("status bar parts") {
    int32_t edges[4];
    StatusPartEdges(1000, edges);
    CHECK(edges[0] == 520);
    CHECK(edges[1] == 650);
    CHECK(edges[2] == 780);
    CHECK(edges[3] == -1);
  }

  TEST_CASE("the splitter is three pixels from the list's right edge") {
    CHECK_FALSE(IsOnSplitter(149, 10, 150, 0, 100));
    CHECK(IsOnSplitter(150, 10, 150, 0, 100));
    CHECK(IsOnSplitter(152, 10, 150, 0, 100));
    CHECK_FALSE(IsOnSplitter(153, 10, 150, 0, 100));
    CHECK_FALSE(IsOnSplitter(151, -1, 150, 0, 100));
    CHECK_FALSE(IsOnSplitter(151, 100, 150, 0, 100));
  }

  TEST_CASE("a context menu from the keyboard") {
    const Box list = {100, 200, 300, 500};
    const MenuPoint none = KeyboardMenuPoint(list, nullptr);
    CHECK(none.x == 108);
    CHECK(none.y == 208);
    const MenuPoint item = {40, 120};
    const MenuPoint byItem = KeyboardMenuPoint(list, &item);
    CHECK(byItem.x == 148);
    CHECK(byItem.y == 328);
    // An item scrolled out of view below is not followed.
    const MenuPoint below = {40, 300};
    CHECK(KeyboardMenuPoint(list, &below).y == 208);
  }

  TEST_CASE("a dialog is centred over its parent and kept on the work area") {
    const Box work = {0, 0, 1280, 1000};
    const Point centred = CentreOver({100, 100, 701, 501}, 200, 100, work);
    CHECK(centred.x == 300);  // (601 - 200) / 2 rounds toward zero
    CHECK(centred.y == 250);
    const Point right = CentreOver({1200, 950, 1400, 1050}, 300, 200, work);
    CHECK(right.x == 980);
    CHECK(right.y == 800);
    const Point left = CentreOver({-500, -400, -100, -100}, 300, 200, work);
    CHECK(left.x == 0);
    CHECK(left.y == 0);
    // Narrower than the parent, with an odd difference below zero.
    CHECK(CentreOver({0, 0, 100, 100}, 201, 101, {-1000, -1000, 1000, 1000}).x == -50);
  }
}
