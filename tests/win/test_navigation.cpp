#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/app.h"
#include "app/bars.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "editor/editor.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"

namespace {

// A file list of three pictures of the scratch folder, as a load leaves it.
void ListPictures(const ScratchFolder& folder) {
  CopyText(SourceFolder(), folder.path.c_str());
  for (const wchar_t* name : {L"c.bmp", L"a.bmp", L"b.bmp"}) {
    REQUIRE(WritePicture(folder.File(name), 300, 200, 0xFF20A040, L"image/bmp"));
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<wchar_t*>(name);
    SendMessageW(FileList(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void Select(int index) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageW(FileList(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
  PumpMessages();
}

std::wstring StatusText(int part) {
  wchar_t text[128] = L"";
  SendMessageW(StatusBar(), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
  return text;
}

struct Enabled {
  bool first, back, next, last, rotate, saveBack, save, saveNext;
};

Enabled Commands() {
  return {IsCommandEnabled(IDM_IMAGE_MOVE_FIRST), IsCommandEnabled(IDM_IMAGE_MOVE_BACK),
          IsCommandEnabled(IDM_IMAGE_MOVE_NEXT),  IsCommandEnabled(IDM_IMAGE_MOVE_LAST),
          IsCommandEnabled(IDM_IMAGE_ROTATE),     IsCommandEnabled(IDM_IMAGE_SAVE_BACK),
          IsCommandEnabled(IDM_IMAGE_SAVE_ONLY),  IsCommandEnabled(IDM_IMAGE_SAVE_NEXT)};
}

bool operator==(const Enabled& a, const Enabled& b) {
  return a.first == b.first && a.back == b.back && a.next == b.next && a.last == b.last &&
         a.rotate == b.rotate && a.saveBack == b.saveBack && a.save == b.save &&
         a.saveNext == b.saveNext;
}

}  // namespace

TEST_SUITE("navigation") {
  TEST_CASE("selecting a picture shows it and enables the commands its place allows") {
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    ScratchFolder folder(L"TrimletNavigation");
    Settings().options.ViewOnlyImages = false;
    ListPictures(folder);

    Select(0);
    CHECK(HasEditorImage());
    CHECK(StatusText(0) == L"a.bmp");
    CHECK(StatusText(1) == L"1 / 3");
    CHECK(Commands() == Enabled{false, false, true, true, true, false, true, true});

    {
      // A move shows the new picture once.
      MessageCounter shows(MainWindow(), WM_SHOW_IMAGE, 1);
      SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_MOVE_NEXT, 0);
      PumpMessages();
      CHECK(shows.count == 1);
    }
    CHECK(StatusText(0) == L"b.bmp");
    CHECK(StatusText(1) == L"2 / 3");
    CHECK(Commands() == Enabled{true, true, true, true, true, true, true, true});

    SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_MOVE_LAST, 0);
    PumpMessages();
    CHECK(StatusText(0) == L"c.bmp");
    CHECK(Commands() == Enabled{true, true, false, false, true, true, true, false});
    // Next on the last picture is greyed: its key does nothing.
    MSG altRight = {};
    altRight.hwnd = EditorPane();
    altRight.message = WM_SYSKEYDOWN;
    altRight.wParam = VK_RIGHT;
    altRight.lParam = 1 << 29;
    TranslateMainWindowMessage(altRight);
    PumpMessages();
    CHECK(StatusText(0) == L"c.bmp");
  }

  TEST_CASE("view-only greys rotate and every save; leaving it on the first picture") {
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    ScratchFolder folder(L"TrimletViewOnly");
    Settings().options.ViewOnlyImages = false;
    ListPictures(folder);
    EnableCommand(true, IDM_IMAGE_VIEW_ONLY, IDC_TB_VIEW_ONLY);
    Select(0);

    SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_VIEW_ONLY, 0);
    PumpMessages();
    CHECK(Settings().options.ViewOnlyImages);
    CHECK(Commands() == Enabled{false, false, true, true, false, false, false, false});
    CHECK(SendMessageW(Toolbar(), TB_ISBUTTONCHECKED, IDC_TB_VIEW_ONLY, 0) != 0);

    SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_VIEW_ONLY, 0);
    PumpMessages();
    CHECK_FALSE(Settings().options.ViewOnlyImages);
    CHECK(Commands() == Enabled{false, false, true, true, true, false, true, true});
  }
}
