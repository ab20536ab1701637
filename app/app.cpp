#include "app/app.h"

namespace {

struct AppState {
  HINSTANCE instance = nullptr;
  DWORD uiThreadId = 0;
  bool olderSystem = false;
  PathBuffer sourceFolder = L"";
};

AppState g_app;

}  // namespace

void InitApp(HINSTANCE instance, bool olderSystem) {
  g_app.instance = instance;
  g_app.uiThreadId = GetCurrentThreadId();
  g_app.olderSystem = olderSystem;
}

HINSTANCE AppInstance() { return g_app.instance; }

bool IsOlderSystemRunning() { return g_app.olderSystem; }

PathBuffer& SourceFolder() { return g_app.sourceFolder; }

void RequestExit() {
  // Without a message loop to stop, end at once: nothing is left unsaved.
  if (!PostThreadMessageW(g_app.uiThreadId, WM_QUIT, 0, 0)) ExitProcess(0);
}
