// The next picture decoded ahead while the user frames the current one:
// taken only while its file is unchanged, dropped with its temporary copy
// when the user goes elsewhere, and a failure told when the picture is shown,
// as a load tells it.
#include <windows.h>
#include <doctest/doctest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/open_folder.h"
#include "base/background_work.h"
#include "editor/editor.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"

namespace {

void Go(int command) {
  SendMessageW(MainWindow(), WM_COMMAND, command, 0);
  PumpMessages();
  WaitForBackgroundWork();
}

bool Shows(int width, int height) {
  const Size size = EditorImageSize();
  return size.width == width && size.height == height;
}

// The temporary copies of the size of `file` in the temporary folder.
int CopiesOf(const std::wstring& file) {
  const auto size = std::filesystem::file_size(file);
  int copies = 0;
  const auto temp = std::filesystem::temp_directory_path();
  for (const auto& entry : std::filesystem::directory_iterator(temp)) {
    const std::wstring name = entry.path().filename().wstring();
    if (name.rfind(L"~", 0) == 0 && entry.is_regular_file() && entry.file_size() == size) ++copies;
  }
  return copies;
}

}  // namespace

TEST_CASE("decoded ahead: a changed file read again, a jump drops it, a failure told on arrival") {
  ScratchFolder folder(L"TrimletAhead");
  // The files change under the list: the monitor would read it again.
  MainWindowFixture fixture([] {
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"NotifySourceChanges", 0);
  });
  MessageBoxes boxes;
  REQUIRE(WritePicture(folder.File(L"a.bmp"), 300, 200, 0xFF3070B0, L"image/bmp"));
  REQUIRE(WritePicture(folder.File(L"b.bmp"), 300, 200, 0xFF3070B0, L"image/bmp"));
  REQUIRE(WritePicture(folder.File(L"c.bmp"), 333, 222, 0xFF3070B0, L"image/bmp"));
  REQUIRE(WritePicture(folder.File(L"d.jpg"), 300, 200, 0xFF3070B0, L"image/jpeg"));
  LoadSourceFolder(folder.path.c_str(), L"");
  PumpMessages();
  WaitForBackgroundWork();
  REQUIRE(Shows(300, 200));

  // b was decoded ahead, then rewritten: the new picture shows.
  REQUIRE(WritePicture(folder.File(L"b.bmp"), 400, 250, 0xFF3070B0, L"image/bmp"));
  Go(IDM_IMAGE_MOVE_NEXT);
  CHECK(Shows(400, 250));
  // c was decoded ahead, into a temporary copy; the user goes back to the
  // first picture instead, and the copy goes.
  CHECK(CopiesOf(folder.File(L"c.bmp")) == 1);
  Go(IDM_IMAGE_MOVE_FIRST);
  CHECK(Shows(300, 200));
  CHECK(CopiesOf(folder.File(L"c.bmp")) == 0);

  // d is broken before it is decoded ahead: nothing is said until it is
  // shown, and then what a load says.
  WriteTextFile(folder.File(L"d.jpg"), "not a picture any more");
  Go(IDM_IMAGE_MOVE_NEXT);
  Go(IDM_IMAGE_MOVE_NEXT);
  CHECK(boxes.seen.empty());
  Go(IDM_IMAGE_MOVE_NEXT);
  REQUIRE(boxes.seen.size() == 1);
  CHECK(boxes.seen[0].first.find(folder.File(L"d.jpg")) != std::wstring::npos);
  CHECK_FALSE(HasEditorImage());
}
