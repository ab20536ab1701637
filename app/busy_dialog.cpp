#include "app/busy_dialog.h"

#include <commctrl.h>

#include "app/app.h"
#include "app/main_window.h"
#include "resources/resource.h"
#include "ui/dialog_helpers.h"
#include "ui/labels.h"

namespace {

// The dialog's result when its worker never ran.
constexpr INT_PTR WORKER_NOT_STARTED = 1;

constexpr DialogLabel kLabels[] = {
    {DIALOG_TITLE, LBL_WORKING},
    {IDOK, LBL_MINIMIZE},
    {IDCANCEL, LBL_CANCEL},
};

HANDLE StartThread(LPTHREAD_START_ROUTINE routine, void* argument) {
  return CreateThread(nullptr, 0, routine, argument, 0, nullptr);
}

// One run of the dialog, handed in through DialogBoxParamW.
struct BusyRun {
  BusyTask& task;
  int message;
  std::atomic<bool>* cancel;
  HWND dialog = nullptr;
  bool workerPending = true;
  bool minimized = false;
  HANDLE worker = nullptr;
};

// The open dialog, which other modules ask about, and how workers start.
struct BusyState {
  HWND dialog = nullptr;
  WorkerStarter startWorker = StartThread;
};

BusyState g_busy;

DWORD WINAPI RunWorker(void* argument) {
  auto* run = static_cast<BusyRun*>(argument);
  run->task.Run();
  // The dialog ends itself: ended from this thread, its loop could drop a
  // message it had just taken from the queue, one posted to the main window
  // among them.
  if (!PostMessageW(run->dialog, WM_BUSY_DONE, 0, 0)) EndDialog(run->dialog, 0);
  return 0;
}

void PlayAnimation(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_BUSY_ANIMATION, ACM_PLAY, static_cast<WPARAM>(-1),
                      MAKELPARAM(0, -1));
}

void OnInitDialog(HWND dialog, BusyRun& run) {
  run.dialog = dialog;
  g_busy.dialog = dialog;
  SetDialogLabels(dialog, kLabels);
  SetBusyMessage(run.message);
  if (run.cancel == nullptr) DropCancel();
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
  if (run.worker == nullptr) EndDialog(run.dialog, WORKER_NOT_STARTED);
}

void ShowProgress(HWND dialog, int done, int total) {
  const HWND bar = GetDlgItem(dialog, IDC_BUSY_PROGRESS);
  SendMessageW(bar, PBM_SETRANGE32, 0, total);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(done), 0);
  if (!IsWindowVisible(bar)) ShowWindow(bar, SW_SHOWNA);
}

void OnMinimize(BusyRun& run) {
  const HWND main = MainWindow();
  EnableWindow(main, TRUE);
  CloseWindow(main);
  run.minimized = true;
}

void OnCancel(const BusyRun& run) {
  // Escape still arrives after the button has been pressed once.
  const HWND button = GetDlgItem(run.dialog, IDCANCEL);
  if (run.cancel == nullptr || !IsWindowEnabled(button)) return;
  EnableWindow(button, FALSE);
  run.cancel->store(true);
  SetBusyMessage(LBL_LOADING_CANCELED);
}

void OnDestroy(BusyRun& run) {
  SendDlgItemMessageW(run.dialog, IDC_BUSY_ANIMATION, ACM_STOP, 0, 0);
  SendDlgItemMessageW(run.dialog, IDC_BUSY_ANIMATION, ACM_OPENW, 0, 0);
  if (run.worker != nullptr) CloseHandle(run.worker);
  run.worker = nullptr;
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
      EndDialog(dialog, 0);
      return TRUE;
    case WM_BUSY_PROGRESS:
      ShowProgress(dialog, static_cast<int>(wParam), static_cast<int>(lParam));
      return TRUE;
    case WM_BUSY_STEP:
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
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

bool RunBusy(BusyTask& task, int message, std::atomic<bool>* cancel) {
  BusyRun run = {task, message, cancel};
  const HWND main = MainWindow();
  ReduceSystemMenu(main);
  const INT_PTR result = RunDialog(main, IDD_BUSY, BusyDialogProc, run);
  g_busy.dialog = nullptr;
  GetSystemMenu(main, TRUE);
  DrawMenuBar(main);
  return result == 0;
}

HWND BusyDialog() { return g_busy.dialog; }

void RunOnUiThread(const std::function<void()>& step) {
  if (g_busy.dialog == nullptr) {
    step();
    return;
  }
  SendMessageW(g_busy.dialog, WM_BUSY_STEP, 0, reinterpret_cast<LPARAM>(&step));
}

void DropCancel() {
  const HWND dialog = g_busy.dialog;
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

void SetBusyMessage(int label) {
  SetDlgItemTextW(g_busy.dialog, IDC_BUSY_MESSAGE, LabelText(label));
  // A new step starts without the progress of the one before.
  ShowWindow(GetDlgItem(g_busy.dialog, IDC_BUSY_PROGRESS), SW_HIDE);
}

void SetBusyProgress(int done, int total) {
  // Sent, not posted: it must not overtake the steps the worker sends.
  SendMessageW(g_busy.dialog, WM_BUSY_PROGRESS, static_cast<WPARAM>(done), total);
}

void SetWorkerStarter(WorkerStarter starter) {
  g_busy.startWorker = starter != nullptr ? starter : StartThread;
}
