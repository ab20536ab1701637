// Work left to run on threads of its own, which nobody joins: a decode that
// is no longer wanted finishes and cleans up after itself. Whatever it uses
// (GDI+ above all) must outlast it: WaitForBackgroundWork waits for it.
#pragma once

#include <functional>

// Runs `work` on a new thread; false when no thread could be started (the
// work did not run).
bool StartBackgroundWork(std::function<void()> work);

// Returns once no work started by StartBackgroundWork is running.
void WaitForBackgroundWork();

// Marks, while it lives, work the user waits for (the picture shown, the
// one decoded ahead): work of lesser weight waits for it between its steps.
class ForegroundWork {
 public:
  ForegroundWork();
  ~ForegroundWork();
  ForegroundWork(const ForegroundWork&) = delete;
  ForegroundWork& operator=(const ForegroundWork&) = delete;
};

// Returns once no ForegroundWork is running.
void YieldToForegroundWork();
