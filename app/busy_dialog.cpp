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

HANDLE StartThread(LPTHREAD_START_ROUTINE routine) {
  return CreateThread(nullptr, 0, routine, nullptr, 0, nullptr);
}

struct BusyState {
  BusyTask* task = nullptr;
  int message = -1;
  std::atomic<bool>* cancel = nullptr;
  HWND dialog = nullptr;
  bool workerPending = false;
  bool minimized = false;
  HANDLE worker = nullptr;
  WorkerStarter startWorker = StartThread;
};

BusyState g_busy;

DWORD WINAPI RunWorker(void*) {
  g_busy.task->Run();
  EndDialog(g_busy.dialog, 0);
  return 0;
}

void PlayAnimation(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_BUSY_ANIMATION, ACM_PLAY, static_cast<WPARAM>(-1),
                      MAKELPARAM(0, -1));
}

void OnInitDialog(HWND dialog) {
  g_busy.dialog = dialog;
  g_busy.workerPending = true;
  g_busy.minimized = false;
  g_busy.worker = nullptr;
  if (g_busy.cancel == nullptr) DropCancel();
  SetWindowTextW(dialog, LabelText(LBL_WORKING));
  SetDlgItemTextW(dialog, IDOK, LabelText(LBL_MINIMIZE));
  SetDlgItemTextW(dialog, IDCANCEL, LabelText(LBL_CANCEL));
  SetDlgItemTextW(dialog, IDC_BUSY_MESSAGE, LabelText(g_busy.message));
  SendDlgItemMessageW(dialog, IDC_BUSY_ANIMATION, ACM_OPENW,
                      reinterpret_cast<WPARAM>(AppInstance()),
                      reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDA_BUSY_ANIMATION)));
  PlayAnimation(dialog);
  CentreOnParent(dialog);
  SetFocus(GetDlgItem(dialog, IDOK));
}

// The worker starts once the dialog has been painted, so that the user sees
// it even when the task is quick.
void StartWorkerOnFirstPaint(HWND dialog) {
  if (!g_busy.workerPending) return;
  g_busy.workerPending = false;
  g_busy.worker = g_busy.startWorker(RunWorker);
  // Without a worker nothing would ever close the dialog.
  if (g_busy.worker == nullptr) EndDialog(dialog, WORKER_NOT_STARTED);
}

void OnMinimize() {
  const HWND main = MainWindow();
  EnableWindow(main, TRUE);
  CloseWindow(main);
  g_busy.minimized = true;
}

void OnCancel(HWND dialog) {
  // Escape still arrives after the button has been pressed once.
  const HWND button = GetDlgItem(dialog, IDCANCEL);
  if (g_busy.cancel == nullptr || !IsWindowEnabled(button)) return;
  EnableWindow(button, FALSE);
  g_busy.cancel->store(true);
  SetBusyMessage(LBL_LOADING_CANCELED);
}

void OnDestroy(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_BUSY_ANIMATION, ACM_STOP, 0, 0);
  SendDlgItemMessageW(dialog, IDC_BUSY_ANIMATION, ACM_OPENW, 0, 0);
  if (g_busy.worker != nullptr) CloseHandle(g_busy.worker);
  g_busy.worker = nullptr;
}

INT_PTR CALLBACK BusyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return FALSE;
    case WM_PAINT:
      StartWorkerOnFirstPaint(dialog);
      return FALSE;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) OnMinimize();
      if (LOWORD(wParam) == IDCANCEL) OnCancel(dialog);
      return TRUE;
    case WM_ACTIVATE:
      if (g_busy.minimized && LOWORD(wParam) != WA_INACTIVE) {
        g_busy.minimized = false;
        PlayAnimation(dialog);
      }
      return FALSE;
    case WM_DESTROY:
      OnDestroy(dialog);
      return FALSE;
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
  g_busy.task = &task;
  g_busy.message = message;
  g_busy.cancel = cancel;
  const HWND main = MainWindow();
  ReduceSystemMenu(main);
  const INT_PTR result =
      DialogBoxParamW(AppInstance(), MAKEINTRESOURCEW(IDD_BUSY), main, BusyDialogProc, 0);
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
}

void SetWorkerStarter(WorkerStarter starter) {
  g_busy.startWorker = starter != nullptr ? starter : StartThread;
}
