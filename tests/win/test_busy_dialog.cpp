#include <windows.h>

#include <atomic>
#include <string>

#include "app/busy_dialog.h"
#include "app/main_window.h"
#include "resources/resource.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/wide_text.h"
#include "ui/labels.h"

namespace {

// What a task saw of the dialog while it ran on the worker.
struct Seen {
  DWORD thread = 0;
  bool dialogVisible = false;
  bool mainEnabled = true;
  int systemMenuItems = -1;
  std::wstring title;
  std::wstring message;
  bool cancelVisible = true;
  bool cancelEnabled = true;
  RECT minimize = {};
  RECT client = {};
  std::atomic<bool>* cancel = nullptr;
  bool cancelSeen = false;
};

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[256] = L"";
  // Sent to the user-interface thread, which runs the dialog's loop.
  SendDlgItemMessageW(dialog, id, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

void Look(void* argument) {
  Seen& seen = *static_cast<Seen*>(argument);
  const HWND dialog = BusyDialog();
  seen.thread = GetCurrentThreadId();
  seen.dialogVisible = IsWindowVisible(dialog) != FALSE;
  seen.mainEnabled = IsWindowEnabled(MainWindow()) != FALSE;
  seen.systemMenuItems = GetMenuItemCount(GetSystemMenu(MainWindow(), FALSE));
  wchar_t title[64] = L"";
  SendMessageW(dialog, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(title));
  seen.title = title;
  seen.message = ItemText(dialog, IDC_BUSY_MESSAGE);
  const HWND cancel = GetDlgItem(dialog, IDCANCEL);
  seen.cancelVisible = IsWindowVisible(cancel) != FALSE;
  seen.cancelEnabled = IsWindowEnabled(cancel) != FALSE;
  GetWindowRect(GetDlgItem(dialog, IDOK), &seen.minimize);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&seen.minimize), 2);
  GetClientRect(dialog, &seen.client);
}

void PressCancelTwice(void* argument) {
  Seen& seen = *static_cast<Seen*>(argument);
  const HWND dialog = BusyDialog();
  SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  seen.cancelSeen = seen.cancel->load();
  seen.cancelEnabled = IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)) != FALSE;
  seen.message = ItemText(dialog, IDC_BUSY_MESSAGE);
  // A second press (Escape still arrives) changes nothing.
  seen.cancel->store(false);
  SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

struct AfterMinimize {
  bool minimized = false;
  bool enabledWhileMinimized = false;
  bool enabledAfterRestore = true;
};

void MinimizeAndRestore(void* argument) {
  AfterMinimize& seen = *static_cast<AfterMinimize*>(argument);
  SendMessageW(BusyDialog(), WM_COMMAND, IDOK, 0);
  seen.minimized = IsIconic(MainWindow()) != FALSE;
  seen.enabledWhileMinimized = IsWindowEnabled(MainWindow()) != FALSE;
  ShowWindow(MainWindow(), SW_RESTORE);
  seen.enabledAfterRestore = IsWindowEnabled(MainWindow()) != FALSE;
}

void NeverRuns(void* argument) { *static_cast<bool*>(argument) = true; }

HANDLE NoThread(LPTHREAD_START_ROUTINE) { return nullptr; }

}  // namespace

TEST_SUITE("busy_dialog") {
  TEST_CASE("the task runs on another thread once the dialog is shown") {
    MainWindowFixture fixture;
    const int fullMenu = GetMenuItemCount(GetSystemMenu(MainWindow(), FALSE));
    Seen seen;
    CHECK(RunBusy(Look, LBL_LOADING_FOLDER, &seen, nullptr));
    CHECK(seen.thread != 0);
    CHECK(seen.thread != GetCurrentThreadId());
    CHECK(seen.dialogVisible);
    CHECK_FALSE(seen.mainEnabled);
    CHECK(seen.title == L"Working...");
    CHECK(seen.message == L"Loading folder's images...");
    // The system menu keeps its first item only while the dialog is open.
    CHECK(seen.systemMenuItems == 1);
    CHECK(fullMenu > 1);
    CHECK(GetMenuItemCount(GetSystemMenu(MainWindow(), FALSE)) == fullMenu);
    CHECK(BusyDialog() == nullptr);
    CHECK(IsWindowEnabled(MainWindow()));
  }

  TEST_CASE("without a cancel flag Cancel is gone and Minimize is centred") {
    MainWindowFixture fixture;
    Seen seen;
    CHECK(RunBusy(Look, LBL_GENERATING_PREVIEW, &seen, nullptr));
    CHECK_FALSE(seen.cancelVisible);
    CHECK_FALSE(seen.cancelEnabled);
    const int width = seen.minimize.right - seen.minimize.left;
    CHECK(seen.minimize.left == (seen.client.right - width) / 2);
  }

  TEST_CASE("Cancel raises the flag once and disables itself") {
    MainWindowFixture fixture;
    std::atomic<bool> cancel = false;
    Seen seen;
    seen.cancel = &cancel;
    CHECK(RunBusy(PressCancelTwice, LBL_LOADING_FOLDER, &seen, &cancel));
    CHECK(seen.cancelSeen);
    CHECK_FALSE(seen.cancelEnabled);
    CHECK(seen.message == L"Loading folder's images canceled...");
    CHECK_FALSE(cancel.load());
  }

  TEST_CASE("Minimize hides the program; restoring keeps the main window disabled") {
    MainWindowFixture fixture;
    AfterMinimize seen;
    CHECK(RunBusy(MinimizeAndRestore, LBL_SAVING_IMAGE, &seen, nullptr));
    CHECK(seen.minimized);
    CHECK(seen.enabledWhileMinimized);
    CHECK_FALSE(seen.enabledAfterRestore);
    CHECK(IsWindowEnabled(MainWindow()));
  }

  TEST_CASE("a worker that cannot start closes the dialog and fails the task") {
    MainWindowFixture fixture;
    SetWorkerStarter(NoThread);
    bool ran = false;
    CHECK_FALSE(RunBusy(NeverRuns, LBL_SAVING_IMAGE, &ran, nullptr));
    SetWorkerStarter(nullptr);
    CHECK_FALSE(ran);
    CHECK(BusyDialog() == nullptr);
    CHECK(IsWindowEnabled(MainWindow()));
  }
}
