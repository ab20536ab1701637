// Entry point: start-up, the message loop and shutdown.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlwapi.h>

#include <cstdlib>

#include "app/app.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/open_folder.h"
#include "app/startup_rules.h"
#include "base/product.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/explorer_verb.h"
#include "ui/labels.h"
#include "ui/language.h"

namespace {

// Text that does not fit its buffer becomes empty and the program goes on;
// the runtime's checked routines must not end the process instead.
void IgnoreInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t) {}

bool QuerySystemVersion(SystemVersion& version) {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  // Deprecated because it lies to programs without a manifest; ours declares
  // the systems it knows, so the answer is true.
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
  if (!GetVersionExW(&info)) return false;
  version = {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
  return true;
}

// A folder from the command line is kept only when it exists.
void TakeCommandLineFolder(const CommandLine& commandLine, PathBuffer& folder) {
  folder[0] = L'\0';
  if (commandLine.folder[0] != L'\0' && PathIsDirectoryW(commandLine.folder)) {
    CopyText(folder, commandLine.folder);
  }
}

// The folder from the command line, or the folder picker when the user asked
// for it at every start. The last used folder only preselects the picker.
void OpenFirstFolder() {
  if (SourceFolder()[0] != L'\0') {
    LoadSourceFolder(SourceFolder(), L"");
  } else if (Settings().options.StartupAskFolder) {
    SendMessageW(MainWindow(), WM_COMMAND, IDM_FOLDER_BROWSE, 0);
  }
}

void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (TranslateMainWindowMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineText, int) {
  _set_invalid_parameter_handler(IgnoreInvalidParameter);

  SystemVersion version = {};
  if (!QuerySystemVersion(version) || !IsSupportedSystem(version)) return 1;
  InitApp(instance);

  const CommandLine commandLine = ParseCommandLine(commandLineText);
  if (commandLine.form == CommandLineForm::Uninstall) return UninstallCleanup() ? 0 : 1;
  PathBuffer folder;
  TakeCommandLineFolder(commandLine, folder);

  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitialize(nullptr);
  LoadLabels();
  LoadSettings(EXPLORER_VERB);

  if (!CreateMainWindow(folder)) {
    MessageBoxW(nullptr, LabelText(LBL_MAIN_WINDOW_ERROR), PRODUCT_NAME, MB_OK | MB_ICONERROR);
    CoUninitialize();
    return 1;
  }
  ShowMainWindow();
  OpenFirstFolder();
  RunMessageLoop();

  DestroyMainWindow();
  CoUninitialize();
  return 0;
}
