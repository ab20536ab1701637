// Drives Trimlet's main window for scripts that run the program under Wine:
//   window_tool wait SECONDS       until the window is there and idle
//   window_tool close SECONDS      close it and wait until it is gone
//   window_tool save-all SECONDS   Save and go on through every picture
//   window_tool command SECONDS ID run a menu command, as a click on it would
//   window_tool keys SECONDS KEY.. press the keys together into the window,
//                                  or into its dialog when one is open; a key
//                                  is a letter, a digit, ctrl, shift, alt,
//                                  tab, escape or enter
#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "resources/resource.h"
#include "tests/support/window_driver.h"

namespace {

HWND IdleMainWindow() {
  const HWND window = FindWindowW(MAIN_WINDOW_CLASS, nullptr);
  return window != nullptr && IsIdle(window) ? window : nullptr;
}

bool SaveAll(DWORD timeoutMs) {
  for (;;) {
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = IdleMainWindow()) != nullptr; }, timeoutMs)) return false;
    const bool more = ButtonEnabled(window, IDC_TB_SAVE_NEXT);
    if (!more && !ButtonEnabled(window, IDC_TB_SAVE_ONLY)) return false;
    PressInto(window, {VK_CONTROL, static_cast<WORD>(more ? VK_RIGHT : 'S')});
    Sleep(100);
    if (!more) return WaitUntil([] { return IdleMainWindow() != nullptr; }, timeoutMs);
  }
}

WORD KeyCode(const std::string& name) {
  const std::pair<const char*, WORD> named[] = {{"ctrl", VK_CONTROL},  {"shift", VK_SHIFT},
                                                {"alt", VK_MENU},      {"tab", VK_TAB},
                                                {"escape", VK_ESCAPE}, {"enter", VK_RETURN}};
  for (const auto& [text, key] : named) {
    if (name == text) return key;
  }
  if (name.size() != 1 || !std::isalnum(static_cast<unsigned char>(name[0]))) return 0;
  return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
}

bool PressChord(HWND main, char** names, int count) {
  std::vector<WORD> keys;
  for (int i = 0; i < count; ++i) {
    keys.push_back(KeyCode(names[i]));
    if (keys.back() == 0) return false;
  }
  PressInto(WindowInFront(main), keys);
  Sleep(300);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const DWORD timeoutMs = std::strtoul(argv[2], nullptr, 10) * 1000;
  HWND window = nullptr;
  // These also reach a window that has a dialog open.
  if (std::strcmp(argv[1], "keys") == 0 || std::strcmp(argv[1], "command") == 0) {
    if (argc < 4 ||
        !WaitUntil([&] { return (window = FindWindowW(MAIN_WINDOW_CLASS, nullptr)) != nullptr; },
                   timeoutMs)) {
      return 1;
    }
    if (argv[1][0] == 'k') return PressChord(window, argv + 3, argc - 3) ? 0 : 1;
    PostMessageW(window, WM_COMMAND, std::strtoul(argv[3], nullptr, 10), 0);
    Sleep(500);
    return 0;
  }
  if (argc != 3) return 2;
  if (!WaitUntil([&] { return (window = IdleMainWindow()) != nullptr; }, timeoutMs)) return 1;
  if (std::strcmp(argv[1], "save-all") == 0) return SaveAll(timeoutMs) ? 0 : 1;
  if (std::strcmp(argv[1], "close") == 0) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs) ? 0 : 1;
  }
  return 0;
}
