#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "app/bars.h"
#include "base/error_report.h"
#include "app/main_window.h"
#include "editor/editor.h"
#include "editor/geometry.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "ui/label_ids.h"

namespace {

constexpr unsigned BLUE = 0xFF0000FF;
constexpr COLORREF PANE_BLUE = RGB(0, 0, 255);
constexpr COLORREF PANE_RED = RGB(255, 0, 0);
constexpr COLORREF PANE_GREY = RGB(105, 105, 105);
constexpr COLORREF PANE_BLACK = RGB(0, 0, 0);
constexpr COLORREF PANE_WHITE = RGB(255, 255, 255);

void Load(const std::wstring& path) {
  ClearError();
  LoadEditorImage(path.c_str());
  SetEditorReady();
  SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
}

COLORREF PanePixel(int x, int y) {
  const HDC dc = GetDC(EditorPane());
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(EditorPane(), dc);
  return colour;
}

ImagePlacement Placement(int width, int height) {
  RECT client;
  GetClientRect(EditorPane(), &client);
  return PlaceImage(client.right, client.bottom, width, height);
}

// The outline as it is drawn for the current selection.
Rect Outline(int width, int height) { return ImageToPane(CropRect(), Placement(width, height)); }

std::set<std::wstring> TempCopies() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((std::wstring(temp) + L"~*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.insert(std::wstring(temp) + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// Puts the real cursor over a pane point and lets the pane see it.
void Hover(int x, int y) {
  POINT screen = {x, y};
  ClientToScreen(EditorPane(), &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(EditorPane(), WM_SETCURSOR, reinterpret_cast<WPARAM>(EditorPane()), HTCLIENT);
}

void Drag(int fromX, int fromY, int dx, int dy, bool release) {
  Hover(fromX, fromY);
  SendMessageW(EditorPane(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, fromY));
  SendMessageW(EditorPane(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(fromX + dx, fromY + dy));
  if (release) SendMessageW(EditorPane(), WM_LBUTTONUP, 0, MAKELPARAM(fromX + dx, fromY + dy));
}

std::wstring StatusText(int part) {
  wchar_t text[128] = L"";
  SendMessageW(StatusBar(), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
  return text;
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

void Key(WPARAM key) { SendMessageW(EditorPane(), WM_KEYDOWN, key, 1); }

// A main window with plain options and a folder for the test's pictures.
// The folder is made first so that it goes last, once the editor has let go
// of its files.
struct EditorScene {
  ScratchFolder folder;
  MainWindowFixture fixture;
  GdiplusSession gdiplus;

  explicit EditorScene(const wchar_t* name) : folder(name) {
    Options& options = Settings().options;
    options.CopySourceToTemp = false;
    options.EditorSystemColor = false;
    options.EnhancedSelection = false;
    options.ViewOnlyImages = false;
    options.ResizeRatioMode = 0;
  }
  // A blue picture in the folder.
  std::wstring Picture(const wchar_t* name, int width, int height) {
    const std::wstring path = folder.File(name);
    REQUIRE(WritePicture(path, width, height, BLUE, L"image/bmp"));
    return path;
  }
};

}  // namespace

TEST_SUITE("editor") {
  TEST_CASE("each failed load names the given path, with its label and icon") {
    EditorScene scene(L"TrimletEditorFailures");
    const ScratchFolder& folder = scene.folder;

    const std::wstring missing = folder.File(L"missing.jpg");
    Load(missing);
    CHECK(LastError().label == LBL_FILE_NOT_FOUND);
    CHECK(LastError().icon == MB_ICONWARNING);
    CHECK(std::wstring(LastError().argument) == missing);
    Load(folder.path);
    CHECK(LastError().label == LBL_FILE_NOT_FOUND);

    const std::wstring text = folder.File(L"text.jpg");
    WriteTextFile(text, "not a picture");
    Load(text);
    CHECK(LastError().label == LBL_IMAGE_LOAD_ERROR);
    CHECK(LastError().icon == MB_ICONERROR);
    CHECK_FALSE(HasEditorImage());

    const std::wstring narrow = scene.Picture(L"narrow.bmp", 95, 200);
    const std::wstring smallest = scene.Picture(L"smallest.bmp", 96, 96);
    Load(narrow);
    CHECK(LastError().label == LBL_IMAGE_TOO_SMALL);
    CHECK(LastError().icon == MB_ICONWARNING);
    CHECK_FALSE(HasEditorImage());
    Load(smallest);
    CHECK(LastError().label == -1);
    CHECK(HasEditorImage());
  }

  TEST_CASE("the temporary copy is decoded, and deleted even when read-only") {
    EditorScene scene(L"TrimletEditorCopies");
    Settings().options.CopySourceToTemp = true;
    const std::wstring picture = scene.Picture(L"picture.bmp", 300, 200);
    SetFileAttributesW(picture.c_str(), FILE_ATTRIBUTE_READONLY);

    const std::set<std::wstring> before = TempCopies();
    Load(picture);
    CHECK(LastError().label == -1);
    std::set<std::wstring> during = TempCopies();
    for (const std::wstring& name : before) during.erase(name);
    REQUIRE(during.size() == 1);
    const std::wstring copy = *during.begin();
    // Windows copies the read-only attribute with the file; Wine does not, so
    // the test sets it on the copy itself.
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_READONLY);
    LoadEditorImage(nullptr);
    CHECK(GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES);
    SetFileAttributesW(picture.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A file that cannot be read leaves no half-made copy behind, and the
    // report names the file, not the copy.
    const HANDLE locked =
        CreateFileW(picture.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Load(picture);
    CloseHandle(locked);
    CHECK(LastError().label == LBL_TEMP_COPY_ERROR);
    CHECK(LastError().icon == MB_ICONERROR);
    CHECK(std::wstring(LastError().argument) == picture);
    CHECK(TempCopies() == before);
    Settings().options.CopySourceToTemp = false;
  }

  TEST_CASE("the painted pane: background, picture, and the red outline on the picture") {
    EditorScene scene(L"TrimletEditorPaint");
    const std::wstring picture = scene.Picture(L"blue.bmp", 200, 150);
    Load(picture);
    const Rect crop = CropRect();
    CHECK(crop == Rect{0, 8, 200, 133});
    CHECK(StatusText(2) == L"200 x 150");
    CHECK(StatusText(3) == L"200 x 133   (0, 8)");
    const Rect outline = Outline(200, 150);
    const ImagePlacement place = Placement(200, 150);
    CHECK(PanePixel(0, 0) == PANE_GREY);
    CHECK(PanePixel(place.offsetX - 1, place.offsetY + 20) == PANE_GREY);
    CHECK(PanePixel(outline.x, outline.y) == PANE_RED);
    CHECK(PanePixel(outline.x + outline.width, outline.y + outline.height) == PANE_RED);
    CHECK(PanePixel(outline.x + 5, outline.y + 5) == PANE_BLUE);
    // The selection's right line lies on the picture's last column.
    CHECK(outline.x + outline.width == place.offsetX + place.fit.width - 1);
    CHECK(PanePixel(place.offsetX + place.fit.width, outline.y + 5) == PANE_GREY);

    Settings().options.ViewOnlyImages = true;
    SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
    CHECK(PanePixel(outline.x, outline.y) == PANE_BLUE);
    CHECK(PanePixel(outline.x + outline.width, outline.y + 5) == PANE_BLUE);
    Settings().options.ViewOnlyImages = false;

    Settings().options.EditorSystemColor = true;
    SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
    CHECK(PanePixel(0, 0) == (GetSysColor(COLOR_WINDOW) & 0xFFFFFF));
    LoadEditorImage(nullptr);
    SendMessageW(EditorPane(), WM_EDITOR_REPAINT, 0, 0);
    CHECK(PanePixel(outline.x + 5, outline.y + 5) == (GetSysColor(COLOR_WINDOW) & 0xFFFFFF));
  }

  TEST_CASE("the enhanced outline: dashes of three every six that move one pixel a step") {
    EditorScene scene(L"TrimletEditorAnts");
    Settings().options.EnhancedSelection = true;
    const std::wstring picture = scene.Picture(L"blue.bmp", 200, 150);
    Load(picture);
    const Rect outline = Outline(200, 150);
    const auto topEdge = [&outline]() {
      std::vector<bool> black;
      for (int x = outline.x + 6; x <= outline.x + outline.width - 6; ++x) {
        const COLORREF colour = PanePixel(x, outline.y);
        CHECK((colour == PANE_BLACK || colour == PANE_WHITE));
        black.push_back(colour == PANE_BLACK);
      }
      return black;
    };
    const std::vector<bool> before = topEdge();
    for (std::size_t i = 0; i + 6 < before.size(); ++i) CHECK(before[i] == before[i + 6]);
    int blackInSix = 0;
    for (std::size_t i = 0; i < 6; ++i) blackInSix += before[i] ? 1 : 0;
    CHECK(blackInSix == 3);

    SendMessageW(EditorPane(), WM_TIMER, 65301, 0);
    const std::vector<bool> after = topEdge();
    for (std::size_t i = 1; i < after.size(); ++i) CHECK(after[i] == before[i - 1]);
    Settings().options.EnhancedSelection = false;
  }

  TEST_CASE("mouse drags and keys change the selection in picture pixels") {
    EditorScene scene(L"TrimletEditorDrag");
    Settings().options.ResizeRatioMode = 2;
    const std::wstring picture = scene.Picture(L"blue.bmp", 300, 200);
    Load(picture);
    REQUIRE(CropRect() == Rect{0, 0, 300, 200});
    UpdateSelection(100, SelectionField::Width, SET_VALUE);
    UpdateSelection(80, SelectionField::Height, SET_VALUE);
    UpdateSelection(50, SelectionField::X, SET_VALUE);
    UpdateSelection(40, SelectionField::Y, SET_VALUE);
    REQUIRE(CropRect() == Rect{50, 40, 100, 80});

    Rect outline = Outline(300, 200);
    Drag(outline.x + 50, outline.y + 40, 20, 10, true);
    CHECK(CropRect() == Rect{70, 50, 100, 80});

    outline = Outline(300, 200);
    Drag(outline.x + outline.width, outline.y + 40, 15, 0, true);
    CHECK(CropRect() == Rect{70, 50, 115, 80});

    // Escape, through the main window, puts a drag back where it began.
    outline = Outline(300, 200);
    Drag(outline.x + 50, outline.y + 40, -30, 25, false);
    CHECK(CropRect() == Rect{40, 75, 115, 80});
    MSG escape = {};
    escape.hwnd = EditorPane();
    escape.message = WM_KEYDOWN;
    escape.wParam = VK_ESCAPE;
    TranslateMainWindowMessage(escape);
    CHECK(CropRect() == Rect{70, 50, 115, 80});
    SendMessageW(EditorPane(), WM_LBUTTONUP, 0, 0);

    Key(VK_RIGHT);
    CHECK(CropRect() == Rect{71, 50, 115, 80});
    Key(VK_SHIFT);
    Key(VK_LEFT);
    SendMessageW(EditorPane(), WM_KEYUP, VK_SHIFT, 0);
    CHECK(CropRect() == Rect{71, 50, 114, 80});
    Key(VK_NEXT);
    CHECK(CropRect() == Rect{71, 60, 114, 80});

    // View-only mode: no hit, no drag, no key.
    Settings().options.ViewOnlyImages = true;
    Key(VK_RIGHT);
    Drag(outline.x + 50, outline.y + 40, 20, 10, true);
    CHECK(CropRect() == Rect{71, 60, 114, 80});
    CHECK(GetCursor() == LoadCursorW(nullptr, IDC_ARROW));
    Settings().options.ViewOnlyImages = false;
  }

  TEST_CASE("a right click on the pane shows the Image menu") {
    MainWindowFixture fixture;
    const HMENU image = GetSubMenu(GetMenu(MainWindow()), 3);
    MessageCounter opened(MainWindow(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(image));
    SetTimer(nullptr, 0, 200, CloseMenu);
    SendMessageW(EditorPane(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    CHECK(opened.count == 1);
    CHECK(GetFocus() == EditorPane());
  }
}
