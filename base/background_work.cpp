#include "base/background_work.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

struct Running {
  std::mutex lock;
  std::condition_variable gone;
  int count = 0;
};

Running g_running;
Running g_foreground;

}  // namespace

bool StartBackgroundWork(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> hold(g_running.lock);
    ++g_running.count;
  }
  try {
    std::thread([work = std::move(work)]() mutable {
      work();
      // What the work holds (a decoded picture it could not hand over) goes
      // before it counts as done: GDI+ may be shut down right after.
      work = nullptr;
      std::lock_guard<std::mutex> hold(g_running.lock);
      --g_running.count;
      g_running.gone.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> hold(g_running.lock);
    --g_running.count;
    return false;
  }
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
