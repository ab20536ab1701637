// The "Working..." dialog: runs a long task on a worker thread while the
// user-interface thread keeps answering messages.
#pragma once

#include <windows.h>

#include <atomic>

// What a running task tells its dialog, from the worker. The dialog reads it
// when it is told to look; nothing of the window thread is touched here.
class BusyReport {
 public:
  // Cancel was pressed, or the program is closing.
  bool Cancelled() const { return cancel_.load(); }
  // The same flag, for a job that polls it; it lives until the run ends.
  const std::atomic<bool>& CancelFlag() const { return cancel_; }
  // A new step that cannot be cancelled: the dialog shows `label` and drops
  // its Cancel button.
  void Step(int label);
  // `done` of `total` shown as a bar under the text.
  void Progress(int done, int total);

 protected:
  void Tell() const;

  HWND dialog_ = nullptr;  // set before the worker starts
  std::atomic<bool> cancel_{false};
  std::atomic<int> step_{-1};
  std::atomic<int> done_{0};
  std::atomic<int> total_{0};
};

// A long step. Run executes on the busy dialog's worker with what it was
// given when it was made, and leaves its result in the task for the window
// thread to put in place after RunBusy returns.
class BusyTask {
 public:
  virtual void Run(BusyReport& report) = 0;

 protected:
  ~BusyTask() = default;
};

// Runs `task` on a new thread under the modal busy dialog showing label
// `message`, and returns once the task has returned and the dialog has
// closed, never before. Cancel is offered when `cancellable`. One at a time:
// a call while a busy dialog is open runs nothing. False when the task did
// not run (no worker thread could be started).
bool RunBusy(BusyTask& task, int message, bool cancellable);

// The open busy dialog, or null.
HWND BusyDialog();

// As the Cancel button, for a program that is asked to end.
void CancelBusyTask();

// Returns once the running worker, if any, has ended: the session is ending
// and the process will not outlive this message.
void WaitForBusyWorker();

// How the worker is started; replaceable so that a test can make the start
// fail as the system would.
using WorkerStarter = HANDLE (*)(LPTHREAD_START_ROUTINE routine, void* argument);
void SetWorkerStarter(WorkerStarter starter);
