#include "app/app.h"

namespace {

struct AppState {
  HINSTANCE instance = nullptr;
  DWORD uiThreadId = 0;
  PathBuffer sourceFolder = L"";
};

AppState g_app;

}  // namespace

void InitApp(HINSTANCE instance) {
  g_app.instance = instance;
  g_app.uiThreadId = GetCurrentThreadId();
}

HINSTANCE AppInstance() { return g_app.instance; }

PathBuffer& SourceFolder() { return g_app.sourceFolder; }

void RequestExit() {
  // Without a message loop to stop, end at once: nothing is left unsaved.
  if (!PostThreadMessageW(g_app.uiThreadId, WM_QUIT, 0, 0)) ExitProcess(0);
}
