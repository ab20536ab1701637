// A moving selection repaints only the strips under its old outline: after
// any series of moves the pane must look exactly as a full repaint draws it.
#include <windows.h>
#include <doctest/doctest.h>

#include <vector>

#include "app/main_window.h"
#include "app/open_folder.h"
#include "editor/editor.h"
#include "resources/resource.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"

namespace {

std::vector<COLORREF> PanePixels() {
  const HWND pane = EditorPane();
  RECT client;
  GetClientRect(pane, &client);
  const HDC dc = GetDC(pane);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  ReleaseDC(pane, dc);
  return pixels;
}

}  // namespace

TEST_CASE("selection repaints after moves and resizes equal a full repaint, pixel for pixel") {
  ScratchFolder folder(L"TrimletRepaint");
  MainWindowFixture fixture;
  REQUIRE(WritePatternPicture(folder.File(L"a.jpg"), 1600, 1000, L"image/jpeg"));
  LoadSourceFolder(folder.path.c_str(), L"");
  PumpMessages();
  REQUIRE(HasEditorImage());
  // Moves one way and back, a resize, moves to the picture's edges.
  const std::pair<int32_t, SelectionField> steps[] = {
      {-200, SelectionField::Width}, {37, SelectionField::X},     {-11, SelectionField::Y},
      {300, SelectionField::X},      {-90, SelectionField::Height}, {-5000, SelectionField::X},
      {5000, SelectionField::Y},     {123, SelectionField::Width}};
  for (const auto& [value, field] : steps) UpdateSelection(value, field, 0);
  const std::vector<COLORREF> moved = PanePixels();
  SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
  CHECK(PanePixels() == moved);
}
