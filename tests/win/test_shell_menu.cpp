// Image > System commands: the shell's context menu of the picture shown,
// with the real shell of the system the tests run on. Wine's shell has no
// extensions and draws no items of its own, so the forwarding of the menu
// messages to a handler's drawing is not seen here.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/open_folder.h"
#include "app/shell_menu.h"
#include "editor/editor.h"
#include "resources/resource.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"
#include "ui/labels.h"
#include "ui/language.h"

namespace {

struct MenuItem {
  UINT id;
  std::wstring text;
};

std::vector<MenuItem> Items(HMENU menu) {
  std::vector<MenuItem> items;
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    wchar_t text[128] = L"";
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    items.push_back({GetMenuItemID(menu, position), text});
  }
  return items;
}

bool OnlyEmpty(HMENU menu) {
  const std::vector<MenuItem> items = Items(menu);
  return items.size() == 1 && items[0].id == IDM_IMAGE_SHELL_MENU_EMPTY &&
         (GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED) != 0;
}

}  // namespace

TEST_CASE("System commands: the picture's shell items in range, released on a reset, kept by a "
          "language change; (empty) on every failure") {
  ScratchFolder folder(L"TrimletShellMenu");
  MainWindowFixture fixture;
  const HMENU system = ImageShellMenu();
  CHECK(OnlyEmpty(system));
  REQUIRE(WritePicture(folder.File(L"a.bmp"), 200, 200, 0xFF3070B0, L"image/bmp"));
  // The first picture is shown inside the worker's sent message, where the
  // shell cannot be called: the menu comes with the next messages.
  LoadSourceFolder(folder.path.c_str(), L"");
  PumpMessages();
  const std::vector<MenuItem> shell = Items(system);
  REQUIRE(shell.size() > 1);
  for (const MenuItem& item : shell) {
    CAPTURE(Narrow(item.text));
    CHECK((item.id == 0 || item.id == static_cast<UINT>(-1) ||
           (item.id >= IDM_SHELL_MENU_FIRST && item.id <= IDM_SHELL_MENU_LAST)));
  }
  IContextMenu* handler = HeldShellHandler();
  REQUIRE(handler != nullptr);

  // A double click in the editor pane runs the menu's default item. Wine's
  // shell marks none (Windows' marks Open), so the test marks Properties,
  // whose sheet it can see and close.
  std::wstring sheet;
  DialogAnswerer answerer([&](HWND dialog) {
    sheet = WindowText(dialog);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  for (const MenuItem& item : shell) {
    if (item.text == L"&Properties") SetMenuDefaultItem(system, item.id, FALSE);
  }
  PostMessageW(EditorPane(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
  for (int wait = 0; wait < 50 && sheet.empty(); ++wait) {
    PumpMessages();
    Sleep(100);
  }
  // At its activation the sheet has yet to put the name into its title.
  CHECK(sheet.rfind(L"Properties for ", 0) == 0);

  // A new language captions the program's items, not the shell's.
  wchar_t key[16] = L"";
  LabelKey(LBL_EMPTY_SUBMENU, key);
  WritePrivateProfileStringW(L"LABELS", key, L"(vide)", folder.File(L"fr.ini").c_str());
  SetCurrentLanguageFile(folder.File(L"fr.ini").c_str());
  ReloadLabels();
  SetMenuCaptions();
  const std::vector<MenuItem> after = Items(system);
  REQUIRE(after.size() == shell.size());
  for (size_t i = 0; i < shell.size(); ++i) CHECK(after[i].text == shell[i].text);

  // Each failure leaves the (empty) item, in the language of the moment,
  // and nothing held: the test's reference is the handler's last. A
  // submenu of the shell's (Send to, Open with; Wine's shell adds none, so
  // the test adds one) is destroyed with its item.
  const HMENU sendTo = CreatePopupMenu();
  InsertMenuW(system, 1, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sendTo), L"Send to");
  const std::wstring longPath = folder.File(std::wstring(258 - folder.path.size(), L'x').c_str());
  REQUIRE(longPath.size() == 259);
  for (const std::wstring& path : {folder.File(L"missing.bmp"), longPath, folder.path}) {
    CAPTURE(Narrow(path));
    BuildShellMenu(MainWindow(), system, path.c_str());
    CHECK(OnlyEmpty(system));
    CHECK(Items(system)[0].text == L"(vide)");
    CHECK(HeldShellHandler() == nullptr);
  }
  CHECK_FALSE(IsMenu(sendTo));
  CHECK(handler->Release() == 0);
  SetCurrentLanguageFile(L"");
  ReloadLabels();
}
