// Waits for Trimlet's main window or closes it, for scripts that run the
// program under Wine:  window_tool wait SECONDS | window_tool close SECONDS
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "app/main_window.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const ULONGLONG deadline = GetTickCount64() + std::strtoul(argv[2], nullptr, 10) * 1000;
  HWND window = nullptr;
  while ((window = FindWindowW(MAIN_WINDOW_CLASS, nullptr)) == nullptr ||
         !IsWindowVisible(window)) {
    if (GetTickCount64() >= deadline) return 1;
    Sleep(100);
  }
  if (std::strcmp(argv[1], "close") == 0) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    while (IsWindow(window)) {
      if (GetTickCount64() >= deadline) return 1;
      Sleep(100);
    }
  }
  return 0;
}
