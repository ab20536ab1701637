#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/bars.h"
#include "app/busy_dialog.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "editor/editor.h"
#include "files/folder_load.h"
#include "files/thumbnail_rules.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "ui/labels.h"

namespace {

constexpr unsigned RED = 0xFFFF0000;
constexpr unsigned BLUE = 0xFF0000FF;
constexpr unsigned TILE_GREY = 0x696969;

constexpr int kImageCommands[][2] = {
    {IDM_IMAGE_MOVE_FIRST, IDC_TB_MOVE_FIRST}, {IDM_IMAGE_MOVE_BACK, IDC_TB_MOVE_BACK},
    {IDM_IMAGE_MOVE_NEXT, IDC_TB_MOVE_NEXT},   {IDM_IMAGE_MOVE_LAST, IDC_TB_MOVE_LAST},
    {IDM_IMAGE_ROTATE, IDC_TB_ROTATE},         {IDM_IMAGE_SAVE_BACK, IDC_TB_SAVE_BACK},
    {IDM_IMAGE_SAVE_ONLY, IDC_TB_SAVE_ONLY},   {IDM_IMAGE_SAVE_NEXT, IDC_TB_SAVE_NEXT},
};

void Load(const std::wstring& folder) {
  Settings().options.CopySourceToTemp = false;
  CopyText(SourceFolder(), folder.c_str());
  LoadSourceFolder();
  PumpMessages();
}

int ItemCount() { return static_cast<int>(SendMessageW(FileList(), LVM_GETITEMCOUNT, 0, 0)); }
int ThumbnailCount() { return ImageList_GetImageCount(Thumbnails()); }

int SelectedItem() {
  return static_cast<int>(
      SendMessageW(FileList(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// The listed names in list order, separated by commas.
std::wstring Listed() {
  std::wstring names;
  for (int i = 0; i < ItemCount(); ++i) {
    wchar_t text[MAX_PATH] = L"";
    LVITEMW item = {};
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    SendMessageW(FileList(), LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    names += (i > 0 ? L", " : L"") + std::wstring(text);
  }
  return names;
}

int ItemImage(int index) {
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  SendMessageW(FileList(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text;
}

// The menu item and its toolbar button must agree.
bool CommandEnabled(int menu, int button) {
  const bool enabled = IsCommandEnabled(menu);
  CHECK(enabled == (SendMessageW(Toolbar(), TB_ISBUTTONENABLED, button, 0) != 0));
  return enabled;
}

// Closes every message box of this thread from its own loop, keeping its
// text: a load must never leave a test waiting on one.
struct MessageBoxWatch {
  MessageBoxWatch() : timer(SetTimer(nullptr, 0, 50, Tick)) { current = this; }
  ~MessageBoxWatch() { KillTimer(nullptr, timer); }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), CloseBox, 0);
  }
  static BOOL CALLBACK CloseBox(HWND window, LPARAM) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32770") != 0 || window == BusyDialog()) return TRUE;
    std::wstring text;
    EnumChildWindows(window, AddText, reinterpret_cast<LPARAM>(&text));
    current->texts.push_back(text);
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
  }
  static BOOL CALLBACK AddText(HWND child, LPARAM text) {
    wchar_t name[16] = L"";
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Static") == 0)
      *reinterpret_cast<std::wstring*>(text) += WindowText(child);
    return TRUE;
  }
  static inline MessageBoxWatch* current = nullptr;
  UINT_PTR timer;
  std::vector<std::wstring> texts;
};

// Records each WM_SHOW_IMAGE of the main window, with the busy dialog's text
// and Cancel button at that moment.
struct ShowImageRecorder {
  ShowImageRecorder() {
    current = this;
    previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(MainWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
  }
  ~ShowImageRecorder() {
    SetWindowLongPtrW(MainWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SHOW_IMAGE) {
      current->indexes.push_back(static_cast<int>(wParam));
      current->busyMessage = WindowText(GetDlgItem(BusyDialog(), IDC_BUSY_MESSAGE));
      current->cancelVisible = IsWindowVisible(GetDlgItem(BusyDialog(), IDCANCEL)) != FALSE;
    }
    return CallWindowProcW(current->previous, window, message, wParam, lParam);
  }
  static inline ShowImageRecorder* current = nullptr;
  WNDPROC previous = nullptr;
  std::vector<int> indexes;
  std::wstring busyMessage;
  bool cancelVisible = true;
};

// Draws a tile over a backdrop and checks it: grey outside the thumbnail's
// place, never grey inside it, and the picture's colour a pixel in from its
// edges.
void CheckTile(int image, const Rect& place, unsigned colour) {
  constexpr int SIZE = THUMBNAIL_TILE_SIZE;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(info.bmiHeader), SIZE, -SIZE, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(dc, dib);
  auto* pixels = static_cast<unsigned*>(bits);
  std::fill(pixels, pixels + SIZE * SIZE, 0xFF00FFu);
  ImageList_Draw(Thumbnails(), image, dc, 0, 0, ILD_NORMAL);
  GdiFlush();
  int wrong = 0;
  for (int y = 0; y < SIZE; ++y) {
    for (int x = 0; x < SIZE; ++x) {
      const unsigned pixel = pixels[y * SIZE + x] & 0xFFFFFF;
      const int dx = std::min(x - place.x, place.x + place.width - 1 - x);
      const int dy = std::min(y - place.y, place.y + place.height - 1 - y);
      bool matches = true;
      for (int shift = 0; shift < 24; shift += 8) {
        matches = matches && std::abs(static_cast<int>((pixel >> shift) & 0xFF) -
                                      static_cast<int>((colour >> shift) & 0xFF)) <= 2;
      }
      if (dx < 0 || dy < 0) wrong += pixel != TILE_GREY;
      if (dx >= 0 && dy >= 0) wrong += pixel == TILE_GREY;
      if (dx >= 1 && dy >= 1) wrong += !matches;
    }
  }
  CHECK(wrong == 0);
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
}

struct Walked {
  std::set<std::wstring> names;
  std::wstring folder;
  std::atomic<bool>* cancelOnFirst = nullptr;
};

void RecordEntry(const wchar_t* folder, const wchar_t* fileName, void* context) {
  Walked& walked = *static_cast<Walked*>(context);
  walked.names.insert(fileName);
  walked.folder = folder;
  if (walked.cancelOnFirst != nullptr) walked.cancelOnFirst->store(true);
}

// With a flag, the first file raises it.
Walked Walk(const std::wstring& folder, std::atomic<bool>* cancel = nullptr) {
  Walked walked;
  walked.cancelOnFirst = cancel;
  ForEachFileInFolder(folder.c_str(), RecordEntry, &walked, cancel);
  return walked;
}

// Presses Cancel as a user would, from the dialog's own loop, once a few
// files are listed.
int g_listedAtCancel = -1;

void CALLBACK PressCancelWhenListed(HWND, UINT, UINT_PTR id, DWORD) {
  if (BusyDialog() == nullptr || ItemCount() < 3) return;
  KillTimer(nullptr, id);
  g_listedAtCancel = ItemCount();
  SendMessageW(BusyDialog(), WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

// Each scratch folder is made before the window, so removed after it: the
// editor holds the file of the picture it shows.
TEST_SUITE("folder_load") {
  TEST_CASE("the pictures of the folder are listed in name order, each with its own tile") {
    ScratchFolder folder(L"TrimletLoadList");
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    for (const wchar_t* name : {L"b.JPG", L"d.jpeg", L"h.jpg.txt"}) {
      REQUIRE(WritePicture(folder.File(name), 200, 150, RED, L"image/jpeg"));
    }
    REQUIRE(WritePicture(folder.File(L"a.gif"), 200, 150, RED, L"image/gif"));
    REQUIRE(WritePicture(folder.File(L"f.Gif"), 200, 150, RED, L"image/gif"));
    REQUIRE(WritePicture(folder.File(L"c.bmp"), 200, 150, RED, L"image/bmp"));
    REQUIRE(WritePicture(folder.File(L"e.png"), 200, 150, RED, L"image/png"));
    REQUIRE(CreateDirectoryW(folder.File(L"g.jpg").c_str(), nullptr));
    WriteTextFile(folder.File(L"broken.jpg"), "not a picture");
    // The minimum size is 96 x 96: one pixel less in either side is too small.
    REQUIRE(WritePicture(folder.File(L"narrow.bmp"), 95, 400, RED, L"image/bmp"));
    REQUIRE(WritePicture(folder.File(L"low.bmp"), 400, 95, RED, L"image/bmp"));
    REQUIRE(WritePicture(folder.File(L"smallest.bmp"), 96, 96, RED, L"image/bmp"));
    const std::wstring hidden = folder.File(L"hidden.jpg");
    const std::wstring readOnly = folder.File(L"read-only.jpg");
    REQUIRE(WritePicture(hidden, 300, 200, RED, L"image/jpeg"));
    REQUIRE(WritePicture(readOnly, 300, 200, RED, L"image/jpeg"));
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);

    MessageBoxWatch boxes;
    ShowImageRecorder shown;
    Load(folder.path);
    const std::wstring expected =
        L"a.gif, b.JPG, c.bmp, f.Gif, hidden.jpg, read-only.jpg, smallest.bmp";
    CHECK(Listed() == expected);
    std::set<int> images;
    for (int i = 0; i < ItemCount(); ++i) images.insert(ItemImage(i));
    CHECK(images == std::set<int>{0, 1, 2, 3, 4, 5, 6});
    CHECK(SelectedItem() == 0);
    CHECK(shown.indexes == std::vector<int>{0});
    CHECK(WindowText(MainWindow()) == L"Trimlet - " + folder.path);
    CHECK(CommandEnabled(IDM_FOLDER_REFRESH, IDC_TB_REFRESH_SOURCE));
    CHECK(CommandEnabled(IDM_IMAGE_VIEW_ONLY, IDC_TB_VIEW_ONLY));
    CHECK(boxes.texts.empty());

    // A second load starts from an empty thumbnail list.
    Load(folder.path);
    CHECK(Listed() == expected);
    CHECK(ThumbnailCount() == 7);
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  }

  TEST_CASE("the extension is found as the shell finds it") {
    for (const wchar_t* name : {L"a.jpg", L"a.JPG", L".gif", L"a b.bmp", L"a.jpg b", L"a.jpg.",
                                L"a.jpeg", L"a", L"a.b.Gif", L"a.bmp ", L"a .jpg"}) {
      CAPTURE(Narrow(name));
      const wchar_t* extension = PathFindExtensionW(name);
      CHECK(IsPictureFileName(name) ==
            (lstrcmpiW(extension, L".bmp") == 0 || lstrcmpiW(extension, L".jpg") == 0 ||
             lstrcmpiW(extension, L".gif") == 0));
    }
  }

  TEST_CASE("the walk passes the folder's files only, and sees Cancel between two of them") {
    ScratchFolder folder(L"TrimletLoadWalk");
    WriteTextFile(folder.File(L"x.txt"), "x");
    WriteTextFile(folder.File(L"y.jpg"), "y");
    REQUIRE(CreateDirectoryW(folder.File(L"g.jpg").c_str(), nullptr));
    WriteTextFile(folder.File(L"g.jpg\\inner.jpg"), "z");
    const std::set<std::wstring> files = {L"x.txt", L"y.jpg"};
    CHECK(Walk(folder.path).names == files);
    CHECK(Walk(folder.path).folder == folder.path);
    // A folder that ends in a backslash gets no second one.
    CHECK(Walk(folder.path + L"\\").names == files);
    std::atomic<bool> cancel{false};
    CHECK(Walk(folder.path, &cancel).names.size() == 1);
    CHECK(Walk(folder.File(L"missing")).names.empty());
    // Neither the current folder nor an overlong pattern.
    CHECK(Walk(L"").names.empty());
    CHECK(Walk(std::wstring(300, L'a')).names.empty());
  }

  TEST_CASE("a tile is grey with the picture's thumbnail unscaled in its place") {
    ScratchFolder folder(L"TrimletLoadTiles");
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    REQUIRE(WritePicture(folder.File(L"landscape.bmp"), 640, 480, RED, L"image/bmp"));
    REQUIRE(WritePicture(folder.File(L"portrait.bmp"), 480, 640, BLUE, L"image/bmp"));
    REQUIRE(WritePicture(folder.File(L"square.bmp"), 500, 500, RED, L"image/bmp"));
    MessageBoxWatch boxes;
    Load(folder.path);
    REQUIRE(Listed() == L"landscape.bmp, portrait.bmp, square.bmp");
    CheckTile(ItemImage(0), PlaceThumbnail(640, 480), RED);
    CheckTile(ItemImage(1), PlaceThumbnail(480, 640), BLUE);
    CheckTile(ItemImage(2), PlaceThumbnail(500, 500), RED);
  }

  TEST_CASE("an empty or missing folder empties the list and greys the picture commands") {
    ScratchFolder pictures(L"TrimletLoadPictures");
    ScratchFolder empty(L"TrimletLoadEmpty");
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    REQUIRE(WritePicture(pictures.File(L"a.bmp"), 200, 150, RED, L"image/bmp"));
    WriteTextFile(empty.File(L"readme.txt"), "no pictures here");
    MessageBoxWatch boxes;
    Load(pictures.path);
    REQUIRE(ItemCount() == 1);
    // Whatever the first load left, the next must grey all of these.
    for (const auto& command : kImageCommands) EnableCommand(true, command[0], command[1]);
    LoadEditorImage(pictures.File(L"a.bmp").c_str());
    REQUIRE(HasEditorImage());
    SetStatusText(L"a.bmp", 0);
    SetStatusText(L"1 / 1", 1);

    SUBCASE("a folder without pictures: no message, nothing shown") {
      ShowImageRecorder shown;
      Load(empty.path);
      CHECK(SelectedItem() == -1);
      CHECK(shown.indexes.empty());
      CHECK(boxes.texts.empty());
      CHECK(WindowText(MainWindow()) == L"Trimlet - " + empty.path);
      CHECK_FALSE(CommandEnabled(IDM_IMAGE_VIEW_ONLY, IDC_TB_VIEW_ONLY));
    }
    SUBCASE("a missing folder: the warning names it after the dialog has closed") {
      const std::wstring missing = empty.File(L"gone");
      const std::wstring warning = FormatMessageLabel(LBL_FOLDER_NOT_FOUND, missing.c_str());
      Load(missing);
      REQUIRE(boxes.texts.size() == 1);
      CHECK(boxes.texts[0] == warning);
      CHECK(WindowText(MainWindow()) == L"Trimlet - " + missing);
    }
    CHECK(ItemCount() == 0);
    CHECK(ThumbnailCount() == 0);
    CHECK(CommandEnabled(IDM_FOLDER_REFRESH, IDC_TB_REFRESH_SOURCE));
    for (const auto& command : kImageCommands) {
      CAPTURE(command[0]);
      CHECK_FALSE(CommandEnabled(command[0], command[1]));
    }
    CHECK_FALSE(HasEditorImage());
    wchar_t status[2][64] = {};
    for (int part = 0; part < 2; ++part) {
      SendMessageW(StatusBar(), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(status[part]));
    }
    CHECK_TEXT(status[0], LabelText(LBL_NO_IMAGE_SELECTED));
    CHECK_TEXT(status[1], LabelText(LBL_NOT_AVAILABLE));
  }

  TEST_CASE("Cancel stops the walk after the file in progress and shows the first") {
    ScratchFolder folder(L"TrimletLoadCancel");
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    constexpr int FILES = 60;
    for (int i = 0; i < FILES; ++i) {
      const std::wstring name = L"picture" + std::to_wstring(100 + i) + L".jpg";
      REQUIRE(WritePicture(folder.File(name.c_str()), 800, 600, BLUE, L"image/jpeg"));
    }
    MessageBoxWatch boxes;
    ShowImageRecorder shown;
    g_listedAtCancel = -1;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, PressCancelWhenListed);
    Load(folder.path);
    KillTimer(nullptr, timer);
    REQUIRE(g_listedAtCancel >= 3);
    CHECK(ItemCount() >= g_listedAtCancel);
    CHECK(ItemCount() <= g_listedAtCancel + 1);
    CHECK(ItemCount() < FILES);
    CHECK(ThumbnailCount() == ItemCount());
    CHECK(SelectedItem() == 0);
    CHECK(shown.indexes == std::vector<int>{0});
    // The cancelled text is gone, and so is Cancel: the rest cannot stop.
    CHECK(shown.busyMessage == LabelText(LBL_LOADING_FOLDER));
    CHECK_FALSE(shown.cancelVisible);
    CHECK(boxes.texts.empty());
  }

  TEST_CASE("Refresh selects the same file again, or the first when it is gone") {
    ScratchFolder folder(L"TrimletLoadRefresh");
    MainWindowFixture fixture;
    GdiplusSession gdiplus;
    for (const wchar_t* name : {L"a.bmp", L"b.JPG", L"c.bmp"}) {
      REQUIRE(WritePicture(folder.File(name), 200, 150, RED, L"image/bmp"));
    }
    MessageBoxWatch boxes;
    Load(folder.path);
    const auto refresh = [] {
      ShowImageRecorder shown;
      SendMessageW(MainWindow(), WM_COMMAND, IDM_FOLDER_REFRESH, 0);
      PumpMessages();
      return shown.indexes;
    };
    LVITEMW selected = {};
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    SendMessageW(FileList(), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&selected));
    SendMessageW(FileList(), LVM_SETSELECTIONMARK, 0, 2);
    PumpMessages();

    // b.JPG was listed, but is not held open.
    REQUIRE(DeleteFileW(folder.File(L"b.JPG").c_str()));
    CHECK(refresh() == std::vector<int>{1});
    CHECK(Listed() == L"a.bmp, c.bmp");
    CHECK(SelectedItem() == 1);
    CHECK_TEXT(ReselectName(), L"");

    // The name is found whatever its letter case now. The editor holds the
    // shown file; a rename of the case alone is refused, so in two steps.
    LoadEditorImage(nullptr);
    REQUIRE(MoveFileW(folder.File(L"c.bmp").c_str(), folder.File(L"renamed").c_str()));
    REQUIRE(MoveFileW(folder.File(L"renamed").c_str(), folder.File(L"C.BMP").c_str()));
    CHECK(refresh() == std::vector<int>{1});

    LoadEditorImage(nullptr);
    REQUIRE(DeleteFileW(folder.File(L"C.BMP").c_str()));
    CHECK(refresh() == std::vector<int>{0});
    CHECK(Listed() == L"a.bmp");
    CHECK(SelectedItem() == 0);
    CHECK(boxes.texts.empty());
  }
}
