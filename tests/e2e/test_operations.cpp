// One operation at a time, seen from outside: a sync tool beside the program
// changes a listed picture while the program asks a question; the user works
// while the tiles of a large folder come.
#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "base/gdiplus_objects.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

// Regression: Yes saved nothing (the old crop stayed, and nothing said so),
// and the frame the user had set went with the reload that followed.
TEST_CASE("a listed picture changed during the overwrite question: Yes saves the frame, then "
          "the change is told") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletSynced");
  ScratchFolder out(L"TrimletSyncedOut");
  for (const wchar_t* name : {L"a.bmp", L"b.bmp"}) {
    REQUIRE(WritePatternPicture(source.File(name), 300, 300, L"image/bmp"));
  }
  WriteTextFile(out.File(L"a.bmp"), "the crop saved before");
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", out.path);
  Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
  REQUIRE(trimlet.WaitStatus(0, L"a.bmp"));
  // The user's frame: the 3:2 rectangle turned upright.
  trimlet.Press({VK_CONTROL, 'R'});
  REQUIRE(trimlet.WaitStatus(3, L"200 x 300   (50, 0)"));
  trimlet.Press({VK_CONTROL, 'S'});
  REQUIRE(trimlet.WaitDialog(L"already exists") != nullptr);
  WriteTextFile(source.File(L"b.bmp"), "rewritten by a sync tool");
  // The folder monitor sees the change while the question is open.
  Sleep(1000);
  PressKeys({'Y'});
  // The change is told once the save is over and the window is in front
  // (the test bed's activation may not come back by itself).
  GdiBitmap saved;
  CHECK(WaitUntil(
      [&] { return (saved = GdiBitmap::FromFile(out.File(L"a.bmp").c_str())).Width() == 200; },
      Trimlet::TIMEOUT));
  trimlet.Press({});
  CHECK_FALSE(trimlet.Answer(L"modified or deleted", IDOK).empty());
  REQUIRE(trimlet.WaitIdle());
  CHECK(saved.Height() == 300);
}

// The list comes first: the user saves and moves on while the tiles come,
// and a refresh in the middle starts them anew.
TEST_CASE("the user works while the tiles come; a refresh in the middle starts them anew") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletManyTiles");
  ScratchFolder out(L"TrimletManyTilesOut");
  REQUIRE(WritePatternPicture(source.File(L"p.jpg"), 3000, 2000, L"image/jpeg"));
  for (int i = 100; i < 400; ++i) {
    REQUIRE(CreateHardLinkW(source.File((L"p" + std::to_wstring(i) + L".jpg").c_str()).c_str(),
                            source.File(L"p.jpg").c_str(), nullptr));
  }
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", out.path);
  Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
  REQUIRE(trimlet.WaitStatus(0, L"p.jpg"));
  CHECK(trimlet.Status(4).rfind(L"Thumbnails: ", 0) == 0);
  trimlet.Press({VK_CONTROL, VK_RIGHT});
  REQUIRE(trimlet.WaitStatus(0, L"p100.jpg"));
  CHECK(trimlet.Status(4).rfind(L"Thumbnails: ", 0) == 0);
  trimlet.Press({VK_F5});
  CHECK(trimlet.WaitStatus(0, L"p100.jpg"));
  CHECK(WaitUntil([&] { return trimlet.Status(4).empty(); }, Trimlet::TIMEOUT));
  CHECK(PathFileExistsW(out.File(L"p.jpg").c_str()));
}
