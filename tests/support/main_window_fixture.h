// The real main window, made inside the test process with the program's
// own resources, labels and settings, on an empty registry.
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

 private:
  RegistrySandbox sandbox_;
};

// Handles the messages that are waiting, as the program's loop would.
void PumpMessages();
