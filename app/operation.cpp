#include "app/operation.h"

#include <windows.h>

#include "app/app.h"
#include "app/busy_dialog.h"
#include "app/main_window.h"
#include "files/folder_monitor.h"
#include "resources/resource.h"

namespace {

struct OperationState {
  int depth = 0;
  bool showPending = false;
  bool exitPending = false;
};

OperationState g_operation;

// What waited for the operation to end happens now.
void OnOperationEnded() {
  if (g_operation.exitPending) {
    g_operation.exitPending = false;
    RequestExit();
    return;
  }
  // A change of the source that came meanwhile is told while the window is
  // in front; otherwise its next activation tells it.
  const HWND main = MainWindow();
  if (SourceChanged() && main != nullptr && GetForegroundWindow() == main &&
      IsWindowEnabled(main)) {
    PostMessageW(main, WM_SOURCE_CHANGED, 0, 0);
  }
}

}  // namespace

OperationScope::OperationScope() { ++g_operation.depth; }

OperationScope::~OperationScope() {
  if (--g_operation.depth == 0 && !g_operation.showPending) OnOperationEnded();
}

bool OperationRunning() { return g_operation.depth > 0 || g_operation.showPending; }

void SetShowPending(bool pending) { g_operation.showPending = pending; }

void RequestExitWhenIdle() {
  if (!OperationRunning()) {
    RequestExit();
    return;
  }
  g_operation.exitPending = true;
  CancelBusyTask();
}
