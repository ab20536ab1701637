// Drives Trimlet's main window for scripts that run the program under Wine:
//   window_tool wait SECONDS       until the window is there and idle
//   window_tool close SECONDS      close it and wait until it is gone
//   window_tool save-all SECONDS   Save and go on through every picture
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "app/main_window.h"
#include "resources/resource.h"
#include "tests/support/window_driver.h"

namespace {

// The window, shown and with no dialog of its program open.
HWND IdleMainWindow() {
  const HWND window = FindWindowW(MAIN_WINDOW_CLASS, nullptr);
  if (window == nullptr || !IsWindowVisible(window) || !IsWindowEnabled(window)) return nullptr;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return TopLevelWindows(process, L"#32770").empty() ? window : nullptr;
}

// Asked of the toolbar button: menus cannot be read from another process.
bool IsEnabled(HWND window, int button) {
  const HWND toolbar = GetDlgItem(GetDlgItem(window, IDC_REBAR), IDC_TOOLBAR);
  return SendMessageW(toolbar, TB_ISBUTTONENABLED, button, 0) != 0;
}

bool SaveAll(DWORD timeoutMs) {
  for (;;) {
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = IdleMainWindow()) != nullptr; }, timeoutMs)) return false;
    const bool more = IsEnabled(window, IDC_TB_SAVE_NEXT);
    if (!more && !IsEnabled(window, IDC_TB_SAVE_ONLY)) return false;
    SetForegroundWindow(window);
    Sleep(100);
    PressKeys({VK_CONTROL, static_cast<WORD>(more ? VK_RIGHT : 'S')});
    Sleep(300);
    if (!more) return WaitUntil([] { return IdleMainWindow() != nullptr; }, timeoutMs);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const DWORD timeoutMs = std::strtoul(argv[2], nullptr, 10) * 1000;
  HWND window = nullptr;
  if (!WaitUntil([&] { return (window = IdleMainWindow()) != nullptr; }, timeoutMs)) return 1;
  if (std::strcmp(argv[1], "save-all") == 0) return SaveAll(timeoutMs) ? 0 : 1;
  if (std::strcmp(argv[1], "close") == 0) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs) ? 0 : 1;
  }
  return 0;
}
