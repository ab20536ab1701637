#include "app/bars.h"

#include <commctrl.h>

#include <initializer_list>

#include "app/app.h"
#include "app/command_table.h"
#include "app/layout_rules.h"
#include "resources/resource.h"
#include "ui/labels.h"

namespace {

constexpr int TOOLBAR_ICON_SIZE = 22;
constexpr int STATUS_ICON_SIZE = 16;
constexpr DWORD REBAR_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                              RBS_AUTOSIZE | RBS_FIXEDORDER | RBS_VARHEIGHT | CCS_NODIVIDER |
                              CCS_TOP;
constexpr DWORD TOOLBAR_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                                TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN;
constexpr DWORD STATUS_BAR_STYLE =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBARS_TOOLTIPS | SBARS_SIZEGRIP | CCS_BOTTOM;
constexpr int kStatusIcons[STATUS_PART_COUNT] = {IDI_SB_FILE_NAME, IDI_SB_POSITION,
                                                 IDI_SB_IMAGE_SIZE, IDI_SB_SELECTION};
constexpr int kStatusDefaults[STATUS_PART_COUNT] = {LBL_NO_IMAGE_SELECTED, LBL_NOT_AVAILABLE,
                                                    LBL_NOT_AVAILABLE, LBL_NOT_AVAILABLE};

enum ImageList { NORMAL_IMAGES, HOT_IMAGES, DISABLED_IMAGES, IMAGE_LIST_COUNT };

struct BarState {
  HWND rebar = nullptr;
  HWND toolbar = nullptr;
  HWND statusBar = nullptr;
  HIMAGELIST images[IMAGE_LIST_COUNT] = {};
  bool showsDefault[STATUS_PART_COUNT] = {true, true, true, true};
  TextBuffer texts[STATUS_PART_COUNT] = {};  // what the parts that do not show their default show
  TextBuffer progress = {};                  // empty: no progress part
};

BarState g_bars;

bool ProgressShown() { return g_bars.progress[0] != L'\0'; }

// The parts again for the status bar's own width.
void PlaceStatusParts() {
  RECT bar = {};
  GetClientRect(g_bars.statusBar, &bar);
  SetStatusParts(bar.right);
}

HICON LoadIconSized(int id, int size) {
  return static_cast<HICON>(
      LoadImageW(AppInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
}

void LoadToolbarIcons() {
  for (const ToolbarImage& image : kToolbarImages) {
    const int ids[IMAGE_LIST_COUNT] = {image.normal, image.hot, image.disabled};
    for (int list = 0; list < IMAGE_LIST_COUNT; ++list) {
      ImageList_AddIcon(g_bars.images[list], LoadIconSized(ids[list], TOOLBAR_ICON_SIZE));
    }
  }
}

HWND CreateBar(const wchar_t* className, DWORD style, HWND parent) {
  return CreateWindowExW(0, className, nullptr, style, 0, 0, 0, 0, parent, nullptr, AppInstance(),
                         nullptr);
}

void DestroyBars(HWND rebar, HWND toolbar, HWND statusBar) {
  for (HWND window : {toolbar, rebar, statusBar}) {
    if (window != nullptr) DestroyWindow(window);
  }
}

// A button is enabled like its menu command, and pressed when that is
// also checked.
BYTE ButtonState(HMENU menu, int command) {
  const UINT state = GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND);
  if (state == static_cast<UINT>(-1) || (state & MF_GRAYED) != 0) return 0;
  return static_cast<BYTE>(TBSTATE_ENABLED | ((state & MF_CHECKED) != 0 ? TBSTATE_CHECKED : 0));
}

void FillToolbar(HMENU menu) {
  TBBUTTON buttons[TOOLBAR_BUTTON_COUNT] = {};
  for (int i = 0; i < TOOLBAR_BUTTON_COUNT; ++i) {
    const ToolbarButton& button = kToolbarButtons[i];
    TBBUTTON& out = buttons[i];
    out.idCommand = button.id;
    out.iBitmap = button.image < 0 ? I_IMAGENONE : button.image;
    if (button.id == 0) {
      out.fsStyle = BTNS_SEP;
      continue;
    }
    out.fsStyle = static_cast<BYTE>(BTNS_AUTOSIZE | (button.check ? BTNS_CHECK : 0));
    out.fsState = ButtonState(menu, button.command);
    out.iString = -1;
  }
  const HWND toolbar = g_bars.toolbar;
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar, TB_ADDBUTTONSW, TOOLBAR_BUTTON_COUNT, reinterpret_cast<LPARAM>(buttons));
  SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(g_bars.images[NORMAL_IMAGES]));
  SendMessageW(toolbar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(g_bars.images[HOT_IMAGES]));
  SendMessageW(toolbar, TB_SETDISABLEDIMAGELIST, 0,
               reinterpret_cast<LPARAM>(g_bars.images[DISABLED_IMAGES]));
  SendMessageW(toolbar, TB_SETINDENT, 2, 0);
}

void FillRebar() {
  REBARINFO info = {};
  info.cbSize = sizeof(info);
  SendMessageW(g_bars.rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  REBARBANDINFOW band = {};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE;
  band.fStyle = RBBS_FIXEDSIZE | RBBS_CHILDEDGE | RBBS_NOGRIPPER;
  band.hwndChild = g_bars.toolbar;
  band.cxMinChild = 0;
  band.cyMinChild = static_cast<UINT>(ToolbarButtonHeight());
  SendMessageW(g_bars.rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&band));
}

void FillStatusBar() {
  const HWND status = g_bars.statusBar;
  SendMessageW(status, SB_SIMPLE, FALSE, 0);
  int edges[STATUS_PART_COUNT] = {50, 100, 150, -1};
  SendMessageW(status, SB_SETPARTS, STATUS_PART_COUNT, reinterpret_cast<LPARAM>(edges));
  for (int part = 0; part < STATUS_PART_COUNT; ++part) {
    SendMessageW(status, SB_SETICON, part,
                 reinterpret_cast<LPARAM>(LoadIconSized(kStatusIcons[part], STATUS_ICON_SIZE)));
  }
  SetWindowPos(status, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace

bool RebuildBars(HWND mainWindow) {
  const bool rebuilding = g_bars.images[NORMAL_IMAGES] != nullptr;
  if (!rebuilding) {
    // A new window: every part starts with its default text.
    for (bool& showsDefault : g_bars.showsDefault) showsDefault = true;
    for (HIMAGELIST& list : g_bars.images) {
      list = ImageList_Create(TOOLBAR_ICON_SIZE, TOOLBAR_ICON_SIZE, ILC_COLOR32 | ILC_MASK, 12, 0);
    }
  }
  const HWND rebar = CreateBar(REBARCLASSNAMEW, REBAR_STYLE, mainWindow);
  const HWND toolbar = CreateBar(TOOLBARCLASSNAMEW, TOOLBAR_STYLE, rebar);
  const HWND statusBar = CreateBar(STATUSCLASSNAMEW, STATUS_BAR_STYLE, mainWindow);
  if (rebar == nullptr || toolbar == nullptr || statusBar == nullptr) {
    // The old bars, if any, stay as they were.
    DestroyBars(rebar, toolbar, statusBar);
    return false;
  }
  if (rebuilding) DestroyBars(g_bars.rebar, nullptr, g_bars.statusBar);
  g_bars.rebar = rebar;
  g_bars.toolbar = toolbar;
  g_bars.statusBar = statusBar;
  for (HIMAGELIST list : g_bars.images) {
    if (list == nullptr) return false;
  }
  SetWindowLongPtrW(rebar, GWLP_ID, IDC_REBAR);
  SetWindowLongPtrW(toolbar, GWLP_ID, IDC_TOOLBAR);
  SetWindowLongPtrW(statusBar, GWLP_ID, IDC_STATUSBAR);
  if (!rebuilding) LoadToolbarIcons();
  FillToolbar(GetMenu(mainWindow));
  FillRebar();
  FillStatusBar();
  for (int part = 0; part < STATUS_PART_COUNT; ++part) {
    SetStatusText(g_bars.showsDefault[part] ? nullptr : g_bars.texts[part], part);
  }
  PlaceStatusParts();  // with the progress part, when there is progress
  return true;
}

void DestroyBarImageLists() {
  for (HIMAGELIST& list : g_bars.images) {
    if (list != nullptr) ImageList_Destroy(list);
    list = nullptr;
  }
}

HWND Rebar() { return g_bars.rebar; }
HWND Toolbar() { return g_bars.toolbar; }
HWND StatusBar() { return g_bars.statusBar; }

int ToolbarButtonHeight() {
  RECT button = {};
  SendMessageW(g_bars.toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
  return button.bottom - button.top;
}

void SetStatusText(const wchar_t* text, int part) {
  if (part < 0) {
    for (int i = 0; i < STATUS_PART_COUNT; ++i) {
      if (g_bars.showsDefault[i]) SetStatusText(nullptr, i);
    }
    return;
  }
  if (part >= STATUS_PART_COUNT) return;
  g_bars.showsDefault[part] = text == nullptr;
  if (text == nullptr) {
    text = LabelText(kStatusDefaults[part]);
  } else if (text != g_bars.texts[part]) {
    CopyText(g_bars.texts[part], text);
  }
  SendMessageW(g_bars.statusBar, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text));
  SendMessageW(g_bars.statusBar, SB_SETTIPTEXTW, part, reinterpret_cast<LPARAM>(text));
}

void SetStatusParts(int width) {
  int edges[STATUS_PARTS_MOST];
  const int parts = StatusPartEdges(width, ProgressShown(), edges);
  SendMessageW(g_bars.statusBar, SB_SETPARTS, static_cast<WPARAM>(parts),
               reinterpret_cast<LPARAM>(edges));
  if (parts > STATUS_PART_COUNT) {
    SendMessageW(g_bars.statusBar, SB_SETTEXTW, STATUS_PART_COUNT,
                 reinterpret_cast<LPARAM>(g_bars.progress));
  }
}

void ShowStatusProgress(const wchar_t* text) {
  const bool shown = ProgressShown();
  if (text == nullptr || !CopyText(g_bars.progress, text)) g_bars.progress[0] = L'\0';
  // The parts change only when the progress comes or goes.
  if (shown != ProgressShown()) {
    PlaceStatusParts();
  } else if (shown) {
    SendMessageW(g_bars.statusBar, SB_SETTEXTW, STATUS_PART_COUNT,
                 reinterpret_cast<LPARAM>(g_bars.progress));
  }
}
