// The program's windows made inside the test process: the busy dialog, the
// editor pane's pixels, and faults of the main window, each regression test
// naming the fault it guards against.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <vector>

#include "app/app.h"
#include "app/bars.h"
#include "app/busy_dialog.h"
#include "app/main_window.h"
#include "app/open_folder.h"
#include "editor/editor.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "ui/labels.h"
#include "ui/language.h"
#include "ui/message_box.h"

namespace {

struct Task final : BusyTask {
  explicit Task(std::function<void()> step) : run(std::move(step)) {}
  void Run() override { run(); }
  std::function<void()> run;
};

// `count` pixels of the editor pane from (x, y) on, one step (dx, dy) apart,
// as letters: Grey, Blue, Red, blacK, White, or ? for any other colour.
std::wstring Pixels(int x, int y, int dx, int dy, int count) {
  constexpr COLORREF KNOWN[] = {RGB(105, 105, 105), RGB(0, 0, 255), RGB(255, 0, 0), 0, 0xFFFFFF};
  const HDC dc = GetDC(EditorPane());
  std::wstring letters;
  for (int i = 0; i < count; ++i) {
    letters += L"GBRKW?"[std::find(KNOWN, KNOWN + 5, GetPixel(dc, x + i * dx, y + i * dy)) - KNOWN];
  }
  ReleaseDC(EditorPane(), dc);
  return letters;
}

std::wstring StatusText(int part) {
  wchar_t text[256] = L"";
  SendMessageW(StatusBar(), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
  return text;
}

// A folder of two pictures open, the first one shown.
struct OpenFolder {
  ScratchFolder folder{L"TrimletMainWindow"};
  MainWindowFixture fixture;
  OpenFolder() {
    for (const wchar_t* name : {L"a.bmp", L"b.bmp"}) {
      REQUIRE(WritePicture(folder.File(name), 200, 150, 0xFF3070B0, L"image/bmp"));
    }
    LoadSourceFolder(folder.path.c_str(), L"");
    PumpMessages();
    REQUIRE(HasEditorImage());
  }
};

}  // namespace

// The tasks check from the worker; doctest takes checks from any thread.
TEST_CASE("the busy dialog: its worker starts once it shows; Cancel and Minimize") {
  MainWindowFixture fixture;
  std::atomic<bool> cancel = false;
  bool ran = false;
  Task task([&] {
    const HWND dialog = BusyDialog();
    ran = true;
    CHECK(GetCurrentThreadId() != GetWindowThreadProcessId(dialog, nullptr));
    CHECK(IsWindowVisible(dialog));
    CHECK_FALSE(IsWindowEnabled(MainWindow()));
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    CHECK(cancel.exchange(false));
    CHECK_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)));
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    CHECK(IsIconic(MainWindow()));
    CHECK(IsWindowEnabled(MainWindow()));
    ShowWindow(MainWindow(), SW_RESTORE);
    CHECK_FALSE(IsWindowEnabled(MainWindow()));
  });
  CHECK(RunBusy(task, LBL_LOADING_FOLDER, &cancel));
  CHECK(ran);
  CHECK(IsWindowEnabled(MainWindow()));
}

TEST_CASE("the editor pane: grey around the centred picture, the selection outlined on it") {
  ScratchFolder folder(L"TrimletEditor");
  // A square selection, a plain outline and the dim grey background.
  MainWindowFixture fixture([] {
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"EnhancedSelection", 0);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"EditorSystemColor", 0);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"ResizeRatioWidth", 1);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"ResizeRatioHeight", 1);
  });
  REQUIRE(WritePicture(folder.File(L"blue.bmp"), 240, 160, 0xFF0000FF, L"image/bmp"));
  LoadEditorImage(folder.File(L"blue.bmp").c_str());
  SetEditorReady();
  SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
  RECT client;
  GetClientRect(EditorPane(), &client);
  const ImagePlacement place = PlaceImage(client.right, client.bottom, 240, 160);
  const Rect outline = ImageToPane(CropRect(), place);  // 160 x 160 in the middle
  REQUIRE((place.scale == 1.0f && outline.x > place.offsetX));
  const int middle = place.offsetY + 80;
  const std::wstring row = Pixels(place.offsetX - 1, middle, 1, 0, 242);
  CHECK(row == L"G" + std::wstring(outline.x - place.offsetX, L'B') + L"R" +
                   std::wstring(outline.width - 1, L'B') + L"R" +
                   std::wstring(place.offsetX + 239 - outline.x - outline.width, L'B') + L"G");
  CHECK(Pixels(outline.x + 80, place.offsetY - 1, 0, 1, 162) ==
        L"GR" + std::wstring(outline.height - 1, L'B') + L"RG");

  SUBCASE("view-only shows no outline") {
    SetViewOnlyImages(true);
    SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
    CHECK(Pixels(place.offsetX - 1, middle, 1, 0, 242) == L"G" + std::wstring(240, L'B') + L"G");
  }
  SUBCASE("the enhanced outline: three black of every six, one pixel on at each step") {
    Options options = Settings().options;
    options.EnhancedSelection = true;
    ReplaceOptions(options, Settings().ContextMenuText);  // as the Options dialog's OK
    SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
    const std::wstring edge = Pixels(outline.x + 6, outline.y, 1, 0, 24);
    CHECK(edge.find_first_not_of(L"KW") == std::wstring::npos);
    CHECK(std::count(edge.begin(), edge.begin() + 6, L'K') == 3);
    CHECK(edge.substr(6) == edge.substr(0, 18));
    SendMessageW(EditorPane(), WM_TIMER, IDT_OUTLINE_ANIMATION, 0);
    CHECK(Pixels(outline.x + 7, outline.y, 1, 0, 24) == edge);
  }
}

// Regression: the editor kept the first picture under the second's name, and
// a save wrote it.
TEST_CASE("a picture whose busy worker cannot start is not shown; the user is told") {
  OpenFolder scene;
  MessageBoxes boxes;
  SetWorkerStarter([](LPTHREAD_START_ROUTINE, void*) -> HANDLE { return nullptr; });
  ListView_SetItemState(FileList(), 1, LVIS_SELECTED, LVIS_SELECTED);
  PumpMessages();
  SetWorkerStarter(nullptr);
  CHECK(IsWindowEnabled(MainWindow()));
  CHECK_FALSE(HasEditorImage());
  CHECK(StatusText(STATUS_FILE_NAME) == L"b.bmp");
  for (int command :
       {IDM_IMAGE_ROTATE, IDM_IMAGE_SAVE_BACK, IDM_IMAGE_SAVE_ONLY, IDM_IMAGE_SAVE_NEXT}) {
    CHECK_FALSE(IsCommandEnabled(command));
  }
  REQUIRE(boxes.seen.size() == 1);
  CHECK(boxes.seen[0].first.find(scene.folder.File(L"b.bmp")) != std::wstring::npos);
}

// Regression: rebuilt bars had every button enabled and unchecked and blank
// status texts.
TEST_CASE("a theme change keeps the toolbar buttons' states and the status texts") {
  OpenFolder scene;
  SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_VIEW_ONLY, 0);
  const auto bars = [] {
    std::wstring seen;
    for (int i = 0; i < SendMessageW(Toolbar(), TB_BUTTONCOUNT, 0, 0); ++i) {
      TBBUTTON button = {};
      SendMessageW(Toolbar(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
      const LRESULT state = SendMessageW(Toolbar(), TB_GETSTATE, button.idCommand, 0);
      seen += std::to_wstring(state & (TBSTATE_ENABLED | TBSTATE_CHECKED)) + L" ";
    }
    for (int part = 0; part < STATUS_PART_COUNT; ++part) seen += StatusText(part) + L"|";
    return seen;
  };
  const std::wstring before = bars();
  REQUIRE(SendMessageW(Toolbar(), TB_ISBUTTONCHECKED, IDC_TB_VIEW_ONLY, 0) != 0);
  SendMessageW(MainWindow(), WM_THEMECHANGED, 0, 0);
  CHECK(bars() == before);
}

// Regression: the path came back cut short, and the folder of what was left
// of it was loaded.
TEST_CASE("a dropped path of 260 characters is ignored") {
  OpenFolder scene;
  ScratchFolder other(L"TrimletDropped");
  const std::wstring path = other.path + L"\\" + std::wstring(259 - other.path.size(), L'x');
  // The list ends with an empty name: the memory starts zeroed.
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(drop + 1, path.c_str(), path.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  SendMessageW(MainWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  PumpMessages();
  CHECK(std::wstring(SourceFolder()) == scene.folder.path);
  CHECK(ListView_GetItemCount(FileList()) == 2);
}

// Regression: the window came up with no pane focused, and a hidden file
// list kept the focus, or took it back at the next activation.
TEST_CASE("the editor pane has the focus at the start and whenever the file list is hidden") {
  MainWindowFixture fixture;
  CHECK(GetFocus() == EditorPane());
  SetFocus(FileList());
  REQUIRE(GetFocus() == FileList());
  SendMessageW(MainWindow(), WM_COMMAND, IDM_VIEW_FILES, 0);
  CHECK(GetFocus() == EditorPane());
  // The list had the focus last when the window lost it, then was hidden.
  SendMessageW(MainWindow(), WM_COMMAND, IDM_VIEW_FILES, 0);
  SetFocus(FileList());
  SetFocus(nullptr);
  SendMessageW(MainWindow(), WM_COMMAND, IDM_VIEW_FILES, 0);
  SendMessageW(MainWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
  CHECK(GetFocus() == EditorPane());
}

// Regression: the selection of a picture loaded in view-only mode never met
// the rules, and kept (0, 43, 96, 10) here once that mode ended.
TEST_CASE("leaving view-only puts the selection under its rules") {
  ScratchFolder folder(L"TrimletViewOnly");
  // The ratio mode is custom and the minimum 96 x 96 by default.
  MainWindowFixture fixture([] {
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"ResizeRatioWidth", 10);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"ResizeRatioHeight", 1);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"ViewOnlyImages", 1);
  });
  REQUIRE(WritePicture(folder.File(L"square.bmp"), 96, 96, 0xFF3070B0, L"image/bmp"));
  LoadSourceFolder(folder.path.c_str(), L"");
  REQUIRE(HasEditorImage());
  SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_VIEW_ONLY, 0);
  const Rect crop = CropRect();
  CHECK(crop.width >= 32);
  CHECK(crop.height >= 32);
  CHECK((crop.x >= 0 && crop.y >= 0 && crop.x + crop.width <= 96 && crop.y + crop.height <= 96));
}

// Regression: a message shown while the wait cursor was up came with it.
TEST_CASE("a message box comes with the arrow cursor") {
  MainWindowFixture fixture;
  MessageBoxes boxes;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  ShowMessage(MainWindow(), L"Done", MB_OK);
  REQUIRE(boxes.seen.size() == 1);
  CHECK(boxes.seen[0].second == LoadCursorW(nullptr, IDC_ARROW));
}
