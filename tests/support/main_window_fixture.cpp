#include "tests/support/main_window_fixture.h"

#include <utility>

#include "app/app.h"
#include "app/busy_dialog.h"
#include "app/main_window.h"
#include "base/error_report.h"
#include "settings/settings.h"
#include "tests/support/window_driver.h"
#include "ui/explorer_verb.h"
#include "ui/language.h"

MainWindowFixture::MainWindowFixture(const std::function<void()>& prepare) {
  InitApp(GetModuleHandleW(nullptr));
  // As in a new process: no failure left to report from an earlier test.
  ClearError();
  CoInitialize(nullptr);
  if (prepare) prepare();
  LoadLabels();
  LoadSettings(EXPLORER_VERB);
  if (CreateMainWindow(L"")) ShowMainWindow();
  PumpMessages();
}

MainWindowFixture::~MainWindowFixture() {
  DestroyMainWindow();
  PumpMessages();
  CoUninitialize();
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT || TranslateMainWindowMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

DialogAnswerer::DialogAnswerer(std::function<void(HWND)> answer)
    : hook_(SetWindowsHookExW(WH_CBT, Proc, nullptr, GetCurrentThreadId())) {
  answer_ = std::move(answer);
}

DialogAnswerer::~DialogAnswerer() { UnhookWindowsHookEx(hook_); }

LRESULT CALLBACK DialogAnswerer::Proc(int code, WPARAM wParam, LPARAM lParam) {
  const HWND window = reinterpret_cast<HWND>(wParam);
  wchar_t className[16] = L"";
  if (code == HCBT_ACTIVATE && GetClassNameW(window, className, 16) &&
      lstrcmpW(className, L"#32770") == 0) {
    answer_(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

MessageBoxes::MessageBoxes()
    : answerer_([this](HWND box) {
        if (box == BusyDialog()) return;
        seen.push_back(DialogTexts(box));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }) {}
