#include "app/taskbar_progress.h"

#include <shobjidl.h>

namespace {

// Made at the first progress and kept, as the shell asks.
ITaskbarList3* g_taskbar = nullptr;
bool g_tried = false;

ITaskbarList3* Taskbar() {
  if (g_tried) return g_taskbar;
  g_tried = true;
  ITaskbarList3* taskbar = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_ITaskbarList3, reinterpret_cast<void**>(&taskbar)))) {
    if (SUCCEEDED(taskbar->HrInit())) {
      g_taskbar = taskbar;
    } else {
      taskbar->Release();
    }
  }
  return g_taskbar;
}

}  // namespace

void ShowTaskbarProgress(HWND window, std::size_t done, std::size_t total) {
  ITaskbarList3* taskbar = Taskbar();
  if (taskbar == nullptr) return;
  if (total == 0) {
    taskbar->SetProgressState(window, TBPF_NOPROGRESS);
    return;
  }
  taskbar->SetProgressState(window, TBPF_NORMAL);
  taskbar->SetProgressValue(window, done, total);
}

void ReleaseTaskbarProgress() {
  if (g_taskbar != nullptr) g_taskbar->Release();
  g_taskbar = nullptr;
  g_tried = false;
}
