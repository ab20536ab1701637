#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "app/app.h"
#include "app/bars.h"
#include "app/layout.h"
#include "app/main_window.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "ui/labels.h"
#include "ui/language.h"

namespace {

constexpr const wchar_t* LAYOUT = L"Software\\Bluecrane\\Trimlet\\Layout";

LPARAM ClientPoint(int x, int y) { return MAKELPARAM(x, y); }

// Drags the splitter from where it is to client x `to`.
void DragSplitter(int to, bool release) {
  const HWND main = MainWindow();
  const RECT list = ChildRect(FileList());
  const int y = (list.top + list.bottom) / 2;
  SendMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(list.right + 1, y));
  SendMessageW(main, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(to + 1, y));
  if (release) SendMessageW(main, WM_LBUTTONUP, 0, ClientPoint(to + 1, y));
}

int Width(const RECT& rect) { return rect.right - rect.left; }

std::wstring MenuText(HMENU menu, UINT item, UINT flag) {
  wchar_t text[128] = L"";
  GetMenuStringW(menu, item, text, 128, flag);
  return text;
}

std::wstring StatusText(int part) {
  wchar_t text[256] = L"";
  SendMessageW(StatusBar(), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
  return text;
}

MSG KeyMessage(HWND window, WPARAM key) {
  MSG message = {};
  message.hwnd = window;
  message.message = WM_KEYDOWN;
  message.wParam = key;
  message.lParam = 1;
  return message;
}

// Closes whatever menu is open as soon as its loop runs a timer.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

void HideEverything() { WriteNumberValue(HKEY_CURRENT_USER, LAYOUT, L"MainHiddenControls", 7); }

void StoreMaximized() { WriteNumberValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowMaximized", 1); }

}  // namespace

TEST_SUITE("main_window") {
  TEST_CASE("the children are made with their IDs, captions and default texts") {
    MainWindowFixture fixture;
    REQUIRE(fixture.created);
    const HWND main = MainWindow();
    for (int id : {IDC_TOOLBAR, IDC_REBAR, IDC_STATUSBAR, IDC_FILE_LIST, IDC_EDITOR_PANE}) {
      CAPTURE(id);
      CHECK(GetDlgItem(id == IDC_TOOLBAR ? Rebar() : main, id) != nullptr);
    }
    CHECK(SendMessageW(Toolbar(), TB_BUTTONCOUNT, 0, 0) == 22);
    CHECK(MenuText(GetMenu(main), 0, MF_BYPOSITION) == L"File");
    CHECK(MenuText(GetMenu(main), IDM_IMAGE_SAVE_NEXT, MF_BYCOMMAND) ==
          L"Save and go to the next image");
    const HMENU image = GetSubMenu(GetMenu(main), 3);
    CHECK(MenuText(image, 13, MF_BYPOSITION) == L"System commands");
    CHECK_FALSE(IsCommandEnabled(IDM_FOLDER_REFRESH));
    CHECK(IsCommandEnabled(IDM_FOLDER_OPEN));
    CHECK(StatusText(0) == L"No image selected");
    CHECK(StatusText(3) == L"N/A");
    MINMAXINFO limits = {};
    SendMessageW(main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    CHECK(limits.ptMinTrackSize.x == 580);
    CHECK(limits.ptMinTrackSize.y == 420);
  }

  TEST_CASE("the splitter stops at 30 pixels and at a 300-pixel editor pane") {
    MainWindowFixture fixture;
    RECT client;
    GetClientRect(MainWindow(), &client);
    DragSplitter(client.right, true);
    CHECK(Width(ChildRect(EditorPane())) == 300);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainSplitterPosition").Number() ==
          static_cast<DWORD>(client.right - 303));
    DragSplitter(-200, true);
    CHECK(Width(ChildRect(FileList())) == 30);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainSplitterPosition").Number() == 30);
    // The splitter is three pixels wide, between the two panes.
    CHECK(ChildRect(EditorPane()).left == ChildRect(FileList()).right + 3);
  }

  TEST_CASE("Escape during a splitter drag puts it back and saves nothing") {
    MainWindowFixture fixture;
    const int before = Width(ChildRect(FileList()));
    DragSplitter(before + 100, false);
    CHECK(IsDraggingSplitter());
    CHECK(Width(ChildRect(FileList())) == before + 100);
    MSG escape = KeyMessage(EditorPane(), VK_ESCAPE);
    CHECK(TranslateMainWindowMessage(escape));
    CHECK_FALSE(IsDraggingSplitter());
    CHECK(Width(ChildRect(FileList())) == before);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainSplitterPosition").Number() == 150);
  }

  TEST_CASE("Escape without a drag reaches the editor pane") {
    MainWindowFixture fixture;
    MessageCounter cancels(EditorPane(), WM_COMMAND, IDCANCEL);
    MSG escape = KeyMessage(EditorPane(), VK_ESCAPE);
    CHECK(TranslateMainWindowMessage(escape));
    CHECK(cancels.count == 1);
  }

  TEST_CASE("with every part hidden the editor pane fills the client area") {
    MainWindowFixture fixture(HideEverything);
    RECT client;
    GetClientRect(MainWindow(), &client);
    const RECT editor = ChildRect(EditorPane());
    CHECK(editor.left == 0);
    CHECK(editor.top == 0);
    CHECK(editor.right == client.right);
    CHECK(editor.bottom == client.bottom);
    CHECK_FALSE(IsWindowVisible(FileList()));
    CHECK_FALSE(IsWindowVisible(Rebar()));
    CHECK((GetMenuState(GetMenu(MainWindow()), IDM_VIEW_FILES, MF_BYCOMMAND) & MF_CHECKED) == 0);
  }

  TEST_CASE("each View toggle saves its bit at once") {
    MainWindowFixture fixture;
    struct Toggle {
      int command;
      HWND control;
      DWORD bit;
    };
    for (const Toggle& toggle :
         {Toggle{IDM_VIEW_TOOLBAR, Rebar(), 1}, Toggle{IDM_VIEW_STATUSBAR, StatusBar(), 2},
          Toggle{IDM_VIEW_FILES, FileList(), 4}}) {
      CAPTURE(toggle.command);
      SendMessageW(MainWindow(), WM_COMMAND, toggle.command, 0);
      CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainHiddenControls").Number() == toggle.bit);
      CHECK_FALSE(IsWindowVisible(toggle.control));
      CHECK((GetMenuState(GetMenu(MainWindow()), toggle.command, MF_BYCOMMAND) & MF_CHECKED) == 0);
      SendMessageW(MainWindow(), WM_COMMAND, toggle.command, 0);
      CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainHiddenControls").Number() == 0);
      CHECK(IsWindowVisible(toggle.control));
    }
  }

  TEST_CASE("hiding the toolbar of a maximised window keeps it stored as maximised") {
    MainWindowFixture fixture(StoreMaximized);
    CHECK(IsZoomed(MainWindow()));
    SendMessageW(MainWindow(), WM_COMMAND, IDM_VIEW_TOOLBAR, 0);
    PumpMessages();
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowMaximized").Number() == 1);
    ShowWindow(MainWindow(), SW_RESTORE);
    PumpMessages();
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowMaximized").Number() == 0);
  }

  TEST_CASE("a new language recaptions the menus and the default status texts") {
    MainWindowFixture fixture;
    PathBuffer folder;
    GetLanguageFolder(folder);
    CreateDirectoryW(folder, nullptr);
    const std::wstring file = std::wstring(folder) + L"\\test.ini";
    WritePrivateProfileStringW(L"LABELS", L"0019", L"Fichier", file.c_str());
    WritePrivateProfileStringW(L"LABELS", L"0036", L"Enregistrer et suivante", file.c_str());
    WritePrivateProfileStringW(L"LABELS", L"0077", L"Aucune image", file.c_str());
    SetStatusText(L"kept", 1);

    SetCurrentLanguageFile(file.c_str());
    ReloadLabels();
    SetMenuCaptions();
    const HMENU menu = GetMenu(MainWindow());
    CHECK(MenuText(menu, 0, MF_BYPOSITION) == L"Fichier");
    CHECK(MenuText(menu, IDM_IMAGE_SAVE_NEXT, MF_BYCOMMAND) == L"Enregistrer et suivante");
    CHECK(MenuText(menu, 1, MF_BYPOSITION) == L"View");
    CHECK(StatusText(0) == L"Aucune image");
    CHECK(StatusText(1) == L"kept");

    // And back: the captions are found again although the keys are gone.
    SetCurrentLanguageFile(DEFAULT_LANGUAGE);
    ReloadLabels();
    SetMenuCaptions();
    CHECK(MenuText(menu, 0, MF_BYPOSITION) == L"File");
    CHECK(StatusText(0) == L"No image selected");
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder);
  }

  TEST_CASE("tooltips come from the labels") {
    MainWindowFixture fixture;
    NMTTDISPINFOW info = {};
    info.hdr.code = TTN_GETDISPINFOW;
    info.hdr.idFrom = IDC_TB_SAVE_NEXT;
    SendMessageW(MainWindow(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    CHECK_TEXT(info.lpszText, L"Saves changes and goes to the next image (CTRL + Right Arrow)");
    info.hdr.idFrom = IDC_FILE_LIST;
    SendMessageW(MainWindow(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    CHECK_TEXT(info.lpszText, L"");
  }

  TEST_CASE("accelerators do nothing while their command is greyed or the window disabled") {
    MainWindowFixture fixture;
    // An empty folder: refreshing it lists nothing and asks nothing.
    ScratchFolder folder(L"TrimletEmptySource");
    CopyText(SourceFolder(), folder.path.c_str());
    // Refresh source asks the file list for its selected item first.
    MessageCounter asks(FileList(), LVM_GETSELECTIONMARK, 0);
    MSG f5 = KeyMessage(EditorPane(), VK_F5);
    TranslateMainWindowMessage(f5);
    CHECK(asks.count == 0);
    EnableCommand(true, IDM_FOLDER_REFRESH, IDC_TB_REFRESH_SOURCE);
    TranslateMainWindowMessage(f5);
    CHECK(asks.count == 1);
    EnableWindow(MainWindow(), FALSE);
    TranslateMainWindowMessage(f5);
    CHECK(asks.count == 1);
    EnableWindow(MainWindow(), TRUE);
  }

  TEST_CASE("a click on the file list's empty space keeps the selection") {
    MainWindowFixture fixture;
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"a.jpg");
    SendMessageW(FileList(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    ListView_SetItemState(FileList(), 0, LVIS_SELECTED, LVIS_SELECTED);
    RECT list;
    GetClientRect(FileList(), &list);
    SendMessageW(FileList(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(list.right - 5, list.bottom - 5));
    SendMessageW(FileList(), WM_LBUTTONUP, 0, MAKELPARAM(list.right - 5, list.bottom - 5));
    CHECK(ListView_GetItemState(FileList(), 0, LVIS_SELECTED) == LVIS_SELECTED);
    CHECK(GetFocus() == FileList());
  }

  TEST_CASE("a right click on the file list shows the Folder menu") {
    MainWindowFixture fixture;
    MessageCounter opened(MainWindow(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(FolderMenu()));
    SetTimer(nullptr, 0, 200, CloseMenu);
    SendMessageW(FileList(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    CHECK(opened.count == 1);
  }

  TEST_CASE("the end of a move stores the window's place") {
    MainWindowFixture fixture;
    MoveWindow(MainWindow(), 40, 50, 700, 500, TRUE);
    SendMessageW(MainWindow(), WM_EXITSIZEMOVE, 0, 0);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowLeft").Number() == 40);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowTop").Number() == 50);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowWidth").Number() == 700);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowHeight").Number() == 500);
  }

  TEST_CASE("a dropped file opens its folder; only the first item counts") {
    MainWindowFixture fixture;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"TrimletDrop";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring files = folder + L"\\picture.jpg" + L'\0' + L"C:\\windows" + L'\0' + L'\0';
    const SIZE_T size = sizeof(DROPFILES) + files.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), files.data(),
                files.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(MainWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    CHECK(std::wstring(SourceFolder()) == folder);
    RemoveDirectoryW(folder.c_str());
  }
}
