// The "Working..." dialog: runs a long task on a worker thread while the
// user-interface thread keeps answering messages.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

// A long step. Run executes on the busy dialog's worker; it reaches windows
// only through RunOnUiThread and SendMessageW, which the user-interface
// thread carries out in the dialog's modal loop while the worker waits.
class BusyTask {
 public:
  virtual void Run() = 0;

 protected:
  ~BusyTask() = default;
};

// Runs `task` on a new thread under the modal busy dialog showing label
// `message`, and returns once the task has returned and the dialog has
// closed. With a cancel flag, Cancel sets it; the task polls it. False when
// the worker thread could not be started: the task did not run.
bool RunBusy(BusyTask& task, int message, std::atomic<bool>* cancel);

// From the worker: runs `step` on the user-interface thread and returns when
// it is done. Without a busy dialog the caller is that thread: it runs at
// once.
void RunOnUiThread(const std::function<void()>& step);

// The open busy dialog, or null.
HWND BusyDialog();

// Hides Cancel and centres Minimize, for a step that cannot be cancelled.
void DropCancel();

// Changes the dialog's text to a label.
void SetBusyMessage(int label);

// From the worker: shows a progress bar under the text, `done` of `total`.
void SetBusyProgress(int done, int total);

// How the worker is started; replaceable so that a test can make the start
// fail as the system would.
using WorkerStarter = HANDLE (*)(LPTHREAD_START_ROUTINE routine, void* argument);
void SetWorkerStarter(WorkerStarter starter);
