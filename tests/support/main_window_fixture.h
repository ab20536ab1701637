// The real main window, made inside the test process with the program's
// own resources, labels and settings.
#pragma once

#include <windows.h>

#include "tests/support/registry_sandbox.h"

class MainWindowFixture {
 public:
  // Settings are loaded after `prepare` has written the registry.
  explicit MainWindowFixture(void (*prepare)() = nullptr);
  ~MainWindowFixture();
  MainWindowFixture(const MainWindowFixture&) = delete;
  MainWindowFixture& operator=(const MainWindowFixture&) = delete;

  bool created = false;

 private:
  RegistrySandbox sandbox_;
};

// Handles the messages that are waiting, as the program's loop would.
void PumpMessages();

// The client rectangle of a child in its parent's client coordinates.
RECT ChildRect(HWND child);

// Replaces a window's procedure to count the messages it receives.
class MessageCounter {
 public:
  MessageCounter(HWND window, UINT message, WPARAM wParam);
  ~MessageCounter();
  MessageCounter(const MessageCounter&) = delete;
  MessageCounter& operator=(const MessageCounter&) = delete;
  int count = 0;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_;
  UINT message_;
  WPARAM wParam_;
  WNDPROC previous_;
};
