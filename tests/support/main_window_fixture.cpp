#include "tests/support/main_window_fixture.h"

#include "app/app.h"
#include "app/main_window.h"
#include "settings/settings.h"
#include "ui/explorer_verb.h"
#include "ui/language.h"

MainWindowFixture::MainWindowFixture(void (*prepare)()) {
  InitApp(GetModuleHandleW(nullptr), false);
  if (prepare != nullptr) prepare();
  LoadLabels();
  LoadSettings(EXPLORER_VERB);
  created = CreateMainWindow(L"");
  if (created) ShowMainWindow();
  PumpMessages();
}

MainWindowFixture::~MainWindowFixture() {
  DestroyMainWindow();
  PumpMessages();
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    if (TranslateMainWindowMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

namespace {
MessageCounter* g_counter = nullptr;
}

MessageCounter::MessageCounter(HWND window, UINT message, WPARAM wParam)
    : window_(window), message_(message), wParam_(wParam) {
  g_counter = this;
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
}

MessageCounter::~MessageCounter() {
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  g_counter = nullptr;
}

LRESULT CALLBACK MessageCounter::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageCounter* counter = g_counter;
  if (message == counter->message_ && wParam == counter->wParam_) ++counter->count;
  return CallWindowProcW(counter->previous_, window, message, wParam, lParam);
}
