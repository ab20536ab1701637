#include "app/main_window.h"

#include "app/app.h"
#include "app/startup_rules.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace {

struct MainWindowState {
  HWND window = nullptr;
  HACCEL accelerators = nullptr;
};

MainWindowState g_main;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      RequestExit();
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainWindowClass() {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_BYTEALIGNWINDOW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = AppInstance();
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(AppInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(AppInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = MAIN_WINDOW_CLASS;
  return RegisterClassExW(&windowClass) != 0;
}

void PlaceMainWindow() {
  const WindowLayout& layout = Settings().layout;
  RECT workArea = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  const WindowRect placed =
      PlaceOnWorkArea({layout.MainWindowLeft, layout.MainWindowTop, layout.MainWindowWidth,
                       layout.MainWindowHeight},
                      workArea.right - workArea.left, workArea.bottom - workArea.top);
  MoveWindow(g_main.window, placed.left, placed.top, placed.width, placed.height, FALSE);
}

}  // namespace

bool CreateMainWindow(const wchar_t* folder) {
  if (g_main.window != nullptr) return false;
  CopyText(SourceFolder(), folder);
  if (!RegisterMainWindowClass()) return false;
  g_main.window =
      CreateWindowExW(WS_EX_CONTROLPARENT, MAIN_WINDOW_CLASS, L"Trimlet",
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, CW_USEDEFAULT,
                      CW_USEDEFAULT, 0, 0, nullptr, nullptr, AppInstance(), nullptr);
  if (g_main.window == nullptr) {
    UnregisterClassW(MAIN_WINDOW_CLASS, AppInstance());
    return false;
  }
  PlaceMainWindow();
  return true;
}

void ShowMainWindow() {
  ShowWindow(g_main.window, Settings().layout.MainWindowMaximized ? SW_MAXIMIZE : SW_SHOW);
  UpdateWindow(g_main.window);
}

void DestroyMainWindow() {
  if (g_main.window == nullptr) return;
  DestroyWindow(g_main.window);
  UnregisterClassW(MAIN_WINDOW_CLASS, AppInstance());
  g_main.window = nullptr;
}

HWND MainWindow() { return g_main.window; }

HACCEL MainAccelerators() { return g_main.accelerators; }
