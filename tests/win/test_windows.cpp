// The program's windows made inside the test process: the busy dialog, the
// editor pane's pixels and repaints, the decode ahead, the shell's menu, and
// faults of the main window, each regression test naming the fault it
// guards against.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/busy_dialog.h"
#include "app/main_window.h"
#include "app/open_folder.h"
#include "app/shell_menu.h"
#include "base/background_work.h"
#include "editor/editor.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"
#include "ui/labels.h"

namespace {

struct Task final : BusyTask {
  explicit Task(std::function<void(BusyReport&)> step) : run(std::move(step)) {}
  void Run(BusyReport& report) override { run(report); }
  std::function<void(BusyReport&)> run;
};

using OptionValues = std::vector<std::pair<const wchar_t*, DWORD>>;

// The options stored when the window reads its settings.
std::function<void()> Stored(OptionValues options) {
  return [options] {
    for (const auto& [name, value] : options) {
      WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, name, value);
    }
  };
}

// A folder of patterned pictures (a JPEG by its extension, else a BMP)
// opened with the options stored, its first picture shown.
struct Scene {
  ScratchFolder folder{L"TrimletMainWindow"};
  MainWindowFixture fixture;
  explicit Scene(std::initializer_list<std::tuple<const wchar_t*, int, int>> pictures,
                 OptionValues options = {})
      : fixture(Stored(std::move(options))) {
    for (const auto& [name, width, height] : pictures) {
      const bool jpeg = std::wstring(name).ends_with(L".jpg");
      REQUIRE(WritePatternPicture(folder.File(name), width, height,
                                  jpeg ? L"image/jpeg" : L"image/bmp"));
    }
    LoadSourceFolder(folder.path.c_str(), L"");
    PumpMessages();
    REQUIRE(PictureEditor().HasImage());
  }
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

// Every pixel of the editor pane.
std::vector<COLORREF> PanePixels() {
  RECT client;
  GetClientRect(EditorPane(), &client);
  const HDC dc = GetDC(EditorPane());
  std::vector<COLORREF> pixels;
  for (int i = 0; i < client.right * client.bottom; ++i) {
    pixels.push_back(GetPixel(dc, i % client.right, i / client.right));
  }
  ReleaseDC(EditorPane(), dc);
  return pixels;
}

bool OnlyEmpty(HMENU menu) {
  return GetMenuItemCount(menu) == 1 && GetMenuItemID(menu, 0) == IDM_IMAGE_SHELL_MENU_EMPTY &&
         (GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED) != 0;
}

void Go(int command) {
  SendMessageW(MainWindow(), WM_COMMAND, command, 0);
  PumpMessages();
  WaitForBackgroundWork();
}

// Drops `path` on the main window as the shell does.
void Drop(const std::wstring& path) {
  const std::vector<BYTE> drop = DropFilesOf(path);
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, drop.size());
  std::memcpy(GlobalLock(memory), drop.data(), drop.size());
  GlobalUnlock(memory);
  SendMessageW(MainWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// The temporary copies of the size of `file` in the temporary folder.
int CopiesOf(const std::wstring& file) {
  const auto size = std::filesystem::file_size(file);
  int copies = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
    const std::wstring name = entry.path().filename().wstring();
    if (name.rfind(L"~", 0) == 0 && entry.is_regular_file() && entry.file_size() == size) ++copies;
  }
  return copies;
}

}  // namespace

// The tasks check from the worker; doctest takes checks from any thread.
TEST_CASE("the busy dialog: its worker starts once it shows; Cancel and Minimize") {
  MainWindowFixture fixture;
  bool ran = false;
  Task task([&](BusyReport& report) {
    const HWND dialog = BusyDialog();
    ran = true;
    CHECK(GetCurrentThreadId() != GetWindowThreadProcessId(dialog, nullptr));
    CHECK(IsWindowVisible(dialog));
    CHECK_FALSE(IsWindowEnabled(MainWindow()));
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    CHECK(report.Cancelled());
    CHECK_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)));
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    CHECK(IsIconic(MainWindow()));
    CHECK(IsWindowEnabled(MainWindow()));
    ShowWindow(MainWindow(), SW_RESTORE);
    CHECK_FALSE(IsWindowEnabled(MainWindow()));
  });
  CHECK(RunBusy(task, LBL_LOADING_FOLDER, true));
  CHECK(ran);
  CHECK(IsWindowEnabled(MainWindow()));
}

TEST_CASE("the editor pane: grey around the centred picture, the selection outlined on it") {
  ScratchFolder folder(L"TrimletEditor");
  // A square selection, a plain outline and the dim grey background.
  MainWindowFixture fixture(Stored({{L"EnhancedSelection", 0},
                                    {L"EditorSystemColor", 0},
                                    {L"ResizeRatioWidth", 1},
                                    {L"ResizeRatioHeight", 1}}));
  REQUIRE(WritePicture(folder.File(L"blue.bmp"), 240, 160, 0xFF0000FF, L"image/bmp"));
  Editor& editor = PictureEditor();
  editor.Show(DecodePicture(folder.File(L"blue.bmp").c_str(), editor.Request()));
  editor.SetReady();
  SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
  RECT client;
  GetClientRect(EditorPane(), &client);
  const ImagePlacement place = PlaceImage(client.right, client.bottom, 240, 160);
  const Rect outline = ImageToPane(PictureEditor().Crop(), place);  // 160 x 160 in the middle
  REQUIRE((place.scale == 1.0f && outline.x > place.offsetX));
  const int middle = place.offsetY + 80;
  const std::wstring row = Pixels(place.offsetX - 1, middle, 1, 0, 242);
  CHECK(row == L"G" + std::wstring(outline.x - place.offsetX, L'B') + L"R" +
                   std::wstring(outline.width - 1, L'B') + L"R" +
                   std::wstring(place.offsetX + 239 - outline.x - outline.width, L'B') + L"G");
  CHECK(Pixels(outline.x + 80, place.offsetY - 1, 0, 1, 162) ==
        L"GR" + std::wstring(outline.height - 1, L'B') + L"RG");

  // Regression: a picture with an alpha channel showed black where it is
  // transparent. Half red over the dim grey is about (180, 52, 52).
  SUBCASE("a half-transparent picture shows the background through it") {
    REQUIRE(WritePicture(folder.File(L"red.png"), 240, 160, 0x80FF0000, L"image/png"));
    editor.Show(DecodePicture(folder.File(L"red.png").c_str(), editor.Request()));
    editor.SetReady();
    SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
    CHECK(ColourDistance(PanePixels()[middle * client.right + place.offsetX + 20],
                         RGB(180, 52, 52)) < 12);
  }
  SUBCASE("view-only shows no outline") {
    SetViewOnlyImages(true);
    ApplyEditorOptions();
    SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
    CHECK(Pixels(place.offsetX - 1, middle, 1, 0, 242) == L"G" + std::wstring(240, L'B') + L"G");
  }
  SUBCASE("the enhanced outline: three black of every six, one pixel on at each step") {
    Options options = Settings().options;
    options.EnhancedSelection = true;
    ReplaceOptions(options, Settings().ContextMenuText);  // as the Options dialog's OK
    ApplyEditorOptions();
    SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
    const std::wstring edge = Pixels(outline.x + 6, outline.y, 1, 0, 24);
    CHECK(edge.find_first_not_of(L"KW") == std::wstring::npos);
    CHECK(std::count(edge.begin(), edge.begin() + 6, L'K') == 3);
    CHECK(edge.substr(6) == edge.substr(0, 18));
    SendMessageW(EditorPane(), WM_TIMER, IDT_OUTLINE_ANIMATION, 0);
    CHECK(Pixels(outline.x + 7, outline.y, 1, 0, 24) == edge);
  }
}

// Regression: the window came up with no pane focused, and a hidden file
// list kept the focus.
TEST_CASE("the editor pane has the focus at the start and whenever the file list is hidden") {
  MainWindowFixture fixture;
  CHECK(GetFocus() == EditorPane());
  SetFocus(FileList());
  REQUIRE(GetFocus() == FileList());
  SendMessageW(MainWindow(), WM_COMMAND, IDM_VIEW_FILES, 0);
  CHECK(GetFocus() == EditorPane());
}

// Regression: the selection of a picture loaded in view-only mode never met
// the rules, and kept (0, 43, 96, 10) here once that mode ended. Nothing can
// be saved in that mode.
TEST_CASE("leaving view-only puts the selection under its rules") {
  // The ratio mode is custom and the minimum 96 x 96 by default.
  Scene scene({{L"square.bmp", 96, 96}},
              {{L"ResizeRatioWidth", 10}, {L"ResizeRatioHeight", 1}, {L"ViewOnlyImages", 1}});
  CHECK_FALSE(IsCommandEnabled(IDM_IMAGE_SAVE_ONLY));
  SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_VIEW_ONLY, 0);
  CHECK(IsCommandEnabled(IDM_IMAGE_SAVE_ONLY));
  const Rect crop = PictureEditor().Crop();
  CHECK((crop.width >= 32 && crop.height >= 32 && crop.x >= 0 && crop.y >= 0));
  CHECK((crop.x + crop.width <= 96 && crop.y + crop.height <= 96));
}

// A moving selection repaints only the strips under its old outline: after
// any series of moves the pane must look exactly as a full repaint draws it.
TEST_CASE("selection repaints after moves and resizes equal a full repaint, pixel for pixel") {
  Scene scene({{L"a.jpg", 1600, 1000}});
  // Moves one way and back, a resize, moves to the picture's edges.
  const std::pair<int32_t, SelectionField> steps[] = {
      {-200, SelectionField::Width}, {37, SelectionField::X},       {-11, SelectionField::Y},
      {300, SelectionField::X},      {-90, SelectionField::Height}, {-5000, SelectionField::X},
      {5000, SelectionField::Y},     {123, SelectionField::Width}};
  for (const auto& [value, field] : steps) PictureEditor().UpdateSelection(value, field, 0);
  const std::vector<COLORREF> moved = PanePixels();
  SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
  CHECK(PanePixels() == moved);
}

// The next picture is decoded ahead while the user frames the current one:
// dropped with its temporary copy when the user goes elsewhere, and a
// failure told when the picture is shown, as a load tells it.
// (A file changed after its decode ahead is read again: the save test's next
// picture.)
TEST_CASE("decoded ahead: a jump drops it, a failure told on arrival") {
  // The files change under the list: the monitor would read it again.
  Scene scene(
      {{L"a.bmp", 300, 200}, {L"b.bmp", 300, 200}, {L"c.bmp", 333, 222}, {L"d.jpg", 300, 200}},
      {{L"NotifySourceChanges", 0}});
  const ScratchFolder& folder = scene.folder;
  MessageBoxes boxes;
  WaitForBackgroundWork();
  Go(IDM_IMAGE_MOVE_NEXT);
  // c was decoded ahead, into a temporary copy; the user goes back to the
  // first picture instead, and the copy goes.
  CHECK(CopiesOf(folder.File(L"c.bmp")) == 1);
  Go(IDM_IMAGE_MOVE_FIRST);
  CHECK(PictureEditor().ImageSize().width == 300);
  CHECK(CopiesOf(folder.File(L"c.bmp")) == 0);

  // d is broken before it is decoded ahead: nothing is said until it is
  // shown, and then what a load says.
  WriteTextFile(folder.File(L"d.jpg"), "not a picture any more");
  Go(IDM_IMAGE_MOVE_NEXT);
  Go(IDM_IMAGE_MOVE_NEXT);
  CHECK(boxes.seen.empty());
  Go(IDM_IMAGE_MOVE_NEXT);
  REQUIRE(boxes.seen.size() == 1);
  CHECK(boxes.seen[0].find(folder.File(L"d.jpg")) != std::wstring::npos);
  CHECK_FALSE(PictureEditor().HasImage());
}

// Image > System commands: the shell's context menu of the picture shown,
// with the real shell of the system the tests run on. Wine's shell has no
// extensions and draws no items of its own, so the forwarding of the menu
// messages to a handler's drawing is not seen here.
TEST_CASE(
    "System commands: the picture's shell items in range, released on a reset; (empty) on every "
    "failure") {
  Scene scene({{L"a.bmp", 200, 200}});
  const ScratchFolder& folder = scene.folder;
  const HMENU system = ImageShellMenu();
  REQUIRE(GetMenuItemCount(system) > 1);
  for (int position = 0; position < GetMenuItemCount(system); ++position) {
    const UINT id = GetMenuItemID(system, position);  // 0: a separator, -1: a submenu
    CHECK((id == 0 || id == static_cast<UINT>(-1) ||
           (id >= IDM_SHELL_MENU_FIRST && id <= IDM_SHELL_MENU_LAST)));
  }
  IContextMenu* handler = HeldShellHandler();
  REQUIRE(handler != nullptr);

  // Each failure leaves the (empty) item, and nothing held: the test's
  // reference is the handler's last. A submenu of the shell's (Send to,
  // Open with; Wine's shell adds none, so the test adds one) is destroyed
  // with its item.
  const HMENU sendTo = CreatePopupMenu();
  InsertMenuW(system, 1, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sendTo), L"Send to");
  const std::wstring longPath = folder.File(std::wstring(258 - folder.path.size(), L'x').c_str());
  REQUIRE(longPath.size() == 259);
  for (const std::wstring& path : {folder.File(L"missing.bmp"), longPath, folder.path}) {
    CAPTURE(Narrow(path));
    BuildShellMenu(MainWindow(), system, path.c_str());
    CHECK(OnlyEmpty(system));
    CHECK(HeldShellHandler() == nullptr);
  }
  CHECK_FALSE(IsMenu(sendTo));
  CHECK(handler->Release() == 0);
}

namespace {

// Runs `intrude` once from the busy dialog's own loop, as it opens and
// before its worker may start: what another program, the system or the
// user sends meanwhile.
class Intrusion {
 public:
  explicit Intrusion(std::function<void()> intrude)
      : answerer_([](HWND dialog) {
          if (dialog == BusyDialog() && std::exchange(armed_, false)) {
            SetTimer(nullptr, 0, 10, Intrude);
          }
        }) {
    intrude_ = std::move(intrude);
    armed_ = true;
    ResetEvent(go_);
    SetWorkerStarter([](LPTHREAD_START_ROUTINE routine, void* argument) {
      held_ = {routine, argument};
      return CreateThread(
          nullptr, 0,
          [](void*) -> DWORD {
            WaitForSingleObject(go_, INFINITE);
            return held_.first(held_.second);
          },
          nullptr, 0, nullptr);
    });
  }
  ~Intrusion() { SetWorkerStarter(nullptr); }

 private:
  static void CALLBACK Intrude(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    intrude_();
    SetEvent(go_);
  }
  static inline std::function<void()> intrude_;
  static inline bool armed_ = false;
  static inline HANDLE go_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  static inline std::pair<LPTHREAD_START_ROUTINE, void*> held_;
  DialogAnswerer answerer_;
};

bool QuitPosted() {
  MSG quit;
  return PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// Crops go into a folder of the test's own.
struct OwnDestination {
  ScratchFolder folder{L"TrimletOut"};
  OwnDestination() {
    Options options = Settings().options;
    CopyText(options.DestinationFolder, folder.path.c_str());
    ReplaceOptions(options, Settings().ContextMenuText);
  }
};

std::filesystem::path Destination() { return Settings().options.DestinationFolder; }

}  // namespace

// Regression: a command, a drop, a second busy run, a close or a forged
// private message that arrived during a save ran inside it: a second crop
// under the next picture's name, a dialog taken from its run, a program
// that quit with its worker running, a dialog that ended before its task.
// And the next picture was decoded on the window thread inside the worker's
// sent message: the dialog stopped answering, and a resize meanwhile
// disposed of previews the decode was using.
TEST_CASE("whatever arrives during a save waits or is dropped, and the dialog answers while the "
          "next picture decodes; a close ends the program after it") {
  Scene scene({{L"a.bmp", 300, 200}, {L"b.jpg", 2400, 1600}, {L"c.bmp", 300, 200}},
              {{L"NotifySourceChanges", 0}});
  OwnDestination out;
  ScratchFolder other(L"TrimletOther");
  WaitForBackgroundWork();
  // Rewritten after its decode ahead: the worker decodes it anew.
  REQUIRE(WritePatternPicture(scene.folder.File(L"b.jpg"), 2600, 1700, L"image/jpeg"));
  static bool nestedRan = false;
  static int answeredDuringPreview = 0;
  static UINT_PTR ticking = 0;
  const Intrusion intrusion([&] {
    SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_SAVE_NEXT, 0);
    SendMessageW(MainWindow(), WM_SHOW_IMAGE, 0, 0);
    Drop(other.path);
    Task nested([](BusyReport&) { nestedRan = true; });
    CHECK_FALSE(RunBusy(nested, LBL_SAVING_IMAGE, false));
    // Another program's messages in our private range carry nothing to trust.
    for (UINT message = WM_APP; message <= WM_APP + 10; ++message) {
      PostMessageW(BusyDialog(), message, 0x1234, 0x5678);
    }
    SendMessageW(MainWindow(), WM_CLOSE, 0, 0);
    CHECK(IsWindow(BusyDialog()));
    // While the next picture decodes, the dialog answers, and the window is
    // resized under the editor.
    ticking = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
      if (WindowText(GetDlgItem(BusyDialog(), IDC_BUSY_MESSAGE)) !=
          LabelText(LBL_GENERATING_PREVIEW)) {
        return;
      }
      ++answeredDuringPreview;
      RECT bounds;
      GetWindowRect(MainWindow(), &bounds);
      SetWindowPos(MainWindow(), nullptr, 0, 0, bounds.right - bounds.left - 7,
                   bounds.bottom - bounds.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
  });
  SendMessageW(MainWindow(), WM_COMMAND, IDM_IMAGE_SAVE_NEXT, 0);
  KillTimer(nullptr, ticking);
  CHECK(QuitPosted());
  CHECK_FALSE(nestedRan);
  CHECK(answeredDuringPreview > 0);
  CHECK(std::distance(std::filesystem::directory_iterator(Destination()), {}) == 1);
  CHECK(std::filesystem::exists(Destination() / L"a.bmp"));
  CHECK(ListView_GetSelectionMark(FileList()) == 1);
  CHECK(PictureEditor().ImageSize() == Size{2600, 1700});
  CHECK(std::wstring(SourceFolder()) == scene.folder.path);
  PumpMessages();
  const std::vector<COLORREF> shown = PanePixels();
  SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
  CHECK(PanePixels() == shown);
  // Regression: a dropped path of 260 characters came back cut short, and
  // the folder of what was left of it was loaded.
  Drop(other.path + L"\\" + std::wstring(259 - other.path.size(), L'x'));
  CHECK(std::wstring(SourceFolder()) == scene.folder.path);
}



// Regression: Cancel waited for the listing of the destination, for the
// marks of the pictures done, which a network folder can make slow; and a
// close during a load quit the dialog's loop with the worker running.
TEST_CASE("a close cancels a folder load, which waits for no slow listing; then the program ends") {
  Scene scene({{L"a.bmp", 300, 200}});
  static HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  static std::atomic<bool> listed = false;
  SetDoneLister([](const wchar_t*, const wchar_t*) {
    WaitForSingleObject(release, 10000);
    listed = true;
    return DoneNames{};
  });
  const Intrusion intrusion([] { SendMessageW(MainWindow(), WM_CLOSE, 0, 0); });
  LoadSourceFolder(scene.folder.path.c_str(), L"");
  CHECK(QuitPosted());
  CHECK_FALSE(listed.load());
  SetEvent(release);
  SetDoneLister(nullptr);
  WaitForBackgroundWork();
  CHECK(listed.load());
}
