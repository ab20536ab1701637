#include "base/background_work.h"

#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>

namespace {

struct Running {
  std::mutex lock;
  std::condition_variable gone;
  int count = 0;
};

Running g_running;
Running g_foreground;

// The thread of one piece of work, which it owns.
DWORD WINAPI RunWork(void* argument) {
  std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(argument));
  (*work)();
  // What the work holds (a decoded picture it could not hand over) goes
  // before it counts as done: GDI+ may be shut down right after.
  work.reset();
  std::lock_guard<std::mutex> hold(g_running.lock);
  --g_running.count;
  g_running.gone.notify_all();
  return 0;
}

}  // namespace

// A thread of the system's own: its start either hands the work over or
// fails with nothing started, so that the work is never run on memory that
// the failure freed.
bool StartBackgroundWork(std::function<void()> work) {
  auto* owned = new (std::nothrow) std::function<void()>(std::move(work));
  if (owned == nullptr) return false;
  {
    std::lock_guard<std::mutex> hold(g_running.lock);
    ++g_running.count;
  }
  const HANDLE thread = CreateThread(nullptr, 0, RunWork, owned, 0, nullptr);
  if (thread == nullptr) {
    delete owned;
    std::lock_guard<std::mutex> hold(g_running.lock);
    --g_running.count;
    return false;
  }
  CloseHandle(thread);
  return true;
}

void WaitForBackgroundWork() {
  std::unique_lock<std::mutex> hold(g_running.lock);
  g_running.gone.wait(hold, [] { return g_running.count == 0; });
}

ForegroundWork::ForegroundWork() {
  std::lock_guard<std::mutex> hold(g_foreground.lock);
  ++g_foreground.count;
}

ForegroundWork::~ForegroundWork() {
  std::lock_guard<std::mutex> hold(g_foreground.lock);
  --g_foreground.count;
  g_foreground.gone.notify_all();
}

void YieldToForegroundWork() {
  std::unique_lock<std::mutex> hold(g_foreground.lock);
  g_foreground.gone.wait(hold, [] { return g_foreground.count == 0; });
}
