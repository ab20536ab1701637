#include "app/busy_dialog.h"

#include <commctrl.h>

#include <cassert>

#include "app/app.h"
#include "app/main_window.h"
#include "resources/resource.h"
#include "ui/dialog_helpers.h"
#include "ui/labels.h"

namespace {

constexpr DialogLabel kLabels[] = {
    {DIALOG_TITLE, LBL_WORKING},
    {IDOK, LBL_MINIMIZE},
    {IDCANCEL, LBL_CANCEL},
};

HANDLE StartThread(LPTHREAD_START_ROUTINE routine, void* argument) {
  return CreateThread(nullptr, 0, routine, argument, 0, nullptr);
}

// One run of the dialog. It lives on RunBusy's stack, which does not return
// before the worker has ended.
class BusyRun final : public BusyReport {
 public:
  BusyRun(BusyTask& task, int label, bool canCancel)
      : message(label), cancellable(canCancel), task_(task) {}

  void Open(HWND dialog) { dialog_ = dialog; }
  HWND dialog() const { return dialog_; }
  void Cancel() { cancel_.store(true); }
  // The step the worker asked for, once; -1 when none is new.
  int TakeStep() { return step_.exchange(-1); }
  int done() const { return done_.load(); }
  int total() const { return total_.load(); }

  void RunTask() {
    task_.Run(*this);
    finished.store(true);
  }

  const int message;
  const bool cancellable;
  bool workerPending = true;
  bool minimized = false;
  HANDLE worker = nullptr;
  std::atomic<bool> finished{false};

 private:
  BusyTask& task_;
};

// The open run, which other modules ask about, and how workers start.
struct BusyState {
  BusyRun* run = nullptr;
  WorkerStarter startWorker = StartThread;
};

BusyState g_busy;

DWORD WINAPI RunWorker(void* argument) {
  auto* run = static_cast<BusyRun*>(argument);
  run->RunTask();
  // The dialog ends itself: ended from this thread, its loop could drop a
  // message it had just taken from the queue, one posted to the main window
  // among them. Should the post fail, RunBusy's wait still ends.
  PostMessageW(run->dialog(), WM_BUSY_DONE, 0, 0);
  return 0;
}

void PlayAnimation(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_BUSY_ANIMATION, ACM_PLAY, static_cast<WPARAM>(-1),
                      MAKELPARAM(0, -1));
}

void SetMessage(HWND dialog, int label) {
  SetDlgItemTextW(dialog, IDC_BUSY_MESSAGE, LabelText(label));
  // A new step starts without the progress of the one before.
  ShowWindow(GetDlgItem(dialog, IDC_BUSY_PROGRESS), SW_HIDE);
}

// Hides Cancel and centres Minimize, for a step that cannot be cancelled.
void DropCancel(HWND dialog) {
  const HWND cancel = GetDlgItem(dialog, IDCANCEL);
  const HWND minimize = GetDlgItem(dialog, IDOK);
  ShowWindow(cancel, SW_HIDE);
  EnableWindow(cancel, FALSE);
  RECT client;
  RECT button;
  GetClientRect(dialog, &client);
  GetWindowRect(minimize, &button);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&button), 2);
  const int width = button.right - button.left;
  SetWindowPos(minimize, nullptr, (client.right - width) / 2, button.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnInitDialog(HWND dialog, BusyRun& run) {
  run.Open(dialog);
  SetDialogLabels(dialog, kLabels);
  SetMessage(dialog, run.message);
  if (!run.cancellable) DropCancel(dialog);
  SendDlgItemMessageW(dialog, IDC_BUSY_ANIMATION, ACM_OPENW,
                      reinterpret_cast<WPARAM>(AppInstance()),
                      reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDA_BUSY_ANIMATION)));
  PlayAnimation(dialog);
  CentreOnParent(dialog);
  SetFocus(GetDlgItem(dialog, IDOK));
}

// The worker starts once the dialog has been painted, so that the user sees
// it even when the task is quick.
void StartWorkerOnFirstPaint(BusyRun& run) {
  if (!run.workerPending) return;
  run.workerPending = false;
  run.worker = g_busy.startWorker(RunWorker, &run);
  // Without a worker nothing would ever close the dialog.
  if (run.worker == nullptr) EndDialog(run.dialog(), 0);
}

// The worker said something changed: the dialog shows what its run says,
// whoever sent the message.
void ShowReport(BusyRun& run) {
  const HWND dialog = run.dialog();
  const int step = run.TakeStep();
  if (step != -1) {
    SetMessage(dialog, step);
    DropCancel(dialog);
  }
  const int total = run.total();
  if (total <= 0) return;
  const HWND bar = GetDlgItem(dialog, IDC_BUSY_PROGRESS);
  SendMessageW(bar, PBM_SETRANGE32, 0, total);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(run.done()), 0);
  if (!IsWindowVisible(bar)) ShowWindow(bar, SW_SHOWNA);
}

void OnMinimize(BusyRun& run) {
  const HWND main = MainWindow();
  EnableWindow(main, TRUE);
  CloseWindow(main);
  run.minimized = true;
}

void OnCancel(BusyRun& run) {
  // Escape still arrives after the button has been pressed once.
  const HWND button = GetDlgItem(run.dialog(), IDCANCEL);
  if (!run.cancellable || !IsWindowEnabled(button)) return;
  EnableWindow(button, FALSE);
  run.Cancel();
  SetMessage(run.dialog(), LBL_LOADING_CANCELED);
}

void OnDestroy(const BusyRun& run) {
  SendDlgItemMessageW(run.dialog(), IDC_BUSY_ANIMATION, ACM_STOP, 0, 0);
  SendDlgItemMessageW(run.dialog(), IDC_BUSY_ANIMATION, ACM_OPENW, 0, 0);
}

INT_PTR CALLBACK BusyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInitDialog(dialog, *KeepDialogData<BusyRun>(dialog, lParam));
    return FALSE;
  }
  BusyRun* run = DialogData<BusyRun>(dialog);
  if (run == nullptr) return FALSE;
  switch (message) {
    case WM_PAINT:
      StartWorkerOnFirstPaint(*run);
      return FALSE;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) OnMinimize(*run);
      if (LOWORD(wParam) == IDCANCEL) OnCancel(*run);
      return TRUE;
    case WM_ACTIVATE:
      if (run->minimized && LOWORD(wParam) != WA_INACTIVE) {
        run->minimized = false;
        PlayAnimation(dialog);
      }
      return FALSE;
    case WM_DESTROY:
      OnDestroy(*run);
      return FALSE;
    case WM_BUSY_DONE:
      // Only the end of the task ends the dialog, not the message alone.
      if (run->finished.load()) EndDialog(dialog, 0);
      return TRUE;
    case WM_BUSY_UPDATE:
      ShowReport(*run);
      return TRUE;
  }
  return FALSE;
}

// While the dialog is open the main window offers no system commands but
// its first.
void ReduceSystemMenu(HWND main) {
  const HMENU menu = GetSystemMenu(main, FALSE);
  for (int position = GetMenuItemCount(menu) - 1; position >= 1; --position) {
    RemoveMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
  }
  DrawMenuBar(main);
}

}  // namespace

void BusyReport::Tell() const {
  if (dialog_ != nullptr) PostMessageW(dialog_, WM_BUSY_UPDATE, 0, 0);
}

void BusyReport::Step(int label) {
  total_.store(0);
  step_.store(label);
  Tell();
}

void BusyReport::Progress(int done, int total) {
  done_.store(done);
  total_.store(total);
  Tell();
}

bool RunBusy(BusyTask& task, int message, bool cancellable) {
  // A second run would take the dialog and the worker from the first.
  assert(g_busy.run == nullptr);
  if (g_busy.run != nullptr) return false;
  BusyRun run(task, message, cancellable);
  g_busy.run = &run;
  const HWND main = MainWindow();
  ReduceSystemMenu(main);
  RunDialog(main, IDD_BUSY, BusyDialogProc, run);
  // The dialog's loop also ends on a WM_QUIT from outside: the worker still
  // uses this run, so it is waited for. It never waits for this thread.
  const bool ran = run.worker != nullptr;
  if (ran) {
    WaitForSingleObject(run.worker, INFINITE);
    CloseHandle(run.worker);
  }
  g_busy.run = nullptr;
  GetSystemMenu(main, TRUE);
  DrawMenuBar(main);
  return ran;
}

HWND BusyDialog() { return g_busy.run != nullptr ? g_busy.run->dialog() : nullptr; }

void CancelBusyTask() {
  if (g_busy.run != nullptr && g_busy.run->cancellable) g_busy.run->Cancel();
}

void WaitForBusyWorker() {
  if (g_busy.run != nullptr && g_busy.run->worker != nullptr) {
    WaitForSingleObject(g_busy.run->worker, INFINITE);
  }
}

void SetWorkerStarter(WorkerStarter starter) {
  g_busy.startWorker = starter != nullptr ? starter : StartThread;
}
