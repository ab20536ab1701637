// The real main window, made inside the test process with the program's
// own resources, labels and settings, on an empty registry.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/registry_sandbox.h"

class MainWindowFixture {
 public:
  // Settings are loaded after `prepare` has written the registry.
  explicit MainWindowFixture(const std::function<void()>& prepare = nullptr);
  ~MainWindowFixture();
  MainWindowFixture(const MainWindowFixture&) = delete;
  MainWindowFixture& operator=(const MainWindowFixture&) = delete;

 private:
  RegistrySandbox sandbox_;
};

// Handles the messages that are waiting, as the program's loop would.
void PumpMessages();

// Hands each dialog this thread brings up (a message box, a picker, one of
// the program's) to `answer` as it comes up, for the test to answer it.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::function<void(HWND)> answer);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam);
  static inline std::function<void(HWND)> answer_;
  HHOOK hook_;
};

// Ends each message box this thread brings up (the busy dialog aside) as it
// comes up, keeping its texts.
class MessageBoxes {
 public:
  MessageBoxes();
  std::vector<std::wstring> seen;

 private:
  DialogAnswerer answerer_;
};
