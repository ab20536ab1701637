#include "files/folder_monitor.h"

#include <atomic>
#include <memory>

#include "base/win_text.h"
#include "files/change_records.h"

namespace {

constexpr DWORD BUFFER_BYTES = 32768;
constexpr DWORD STOP_TIMEOUT_MS = 5000;
constexpr DWORD CHANGES = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;

// One monitor: everything its thread touches is here, so that a thread never
// reaches the state of a monitor started after it.
struct Monitor {
  HANDLE directory = INVALID_HANDLE_VALUE;
  HANDLE stop = nullptr;
  HANDLE readDone = nullptr;
  std::vector<std::wstring> listed;
  HWND window = nullptr;
  UINT message = 0;
  std::atomic<bool> changed{false};
  alignas(DWORD) uint8_t buffer[BUFFER_BYTES];

  ~Monitor() {
    if (directory != INVALID_HANDLE_VALUE) CloseHandle(directory);
    if (stop != nullptr) CloseHandle(stop);
    if (readDone != nullptr) CloseHandle(readDone);
  }
};

struct MonitorState {
  std::shared_ptr<Monitor> current;
  HANDLE thread = nullptr;
};

MonitorState g_monitor;

void Report(Monitor& monitor) {
  monitor.changed = true;
  const HWND window = monitor.window;
  if (GetForegroundWindow() == window && IsWindowEnabled(window) && !IsIconic(window)) {
    PostMessageW(window, monitor.message, 0, 0);
  }
}

// Reads changes until told to stop or the folder goes; the read is always
// finished (or cancelled and finished) before the thread lets go of it.
DWORD WINAPI Watch(void* argument) {
  const std::unique_ptr<std::shared_ptr<Monitor>> held(
      static_cast<std::shared_ptr<Monitor>*>(argument));
  Monitor& monitor = **held;
  for (;;) {
    OVERLAPPED read = {};
    read.hEvent = monitor.readDone;
    ResetEvent(read.hEvent);
    if (!ReadDirectoryChangesW(monitor.directory, monitor.buffer, BUFFER_BYTES, FALSE, CHANGES,
                               nullptr, &read, nullptr)) {
      return 0;
    }
    const HANDLE events[] = {read.hEvent, monitor.stop};
    DWORD bytes = 0;
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
      CancelIoEx(monitor.directory, &read);
      GetOverlappedResult(monitor.directory, &read, &bytes, TRUE);
      return 0;
    }
    if (!GetOverlappedResult(monitor.directory, &read, &bytes, FALSE)) return 0;
    if (!monitor.changed &&
        ChangesListedFile(monitor.buffer, bytes, monitor.listed, SameTextIgnoreCase)) {
      Report(monitor);
    }
  }
}

}  // namespace

void StartFolderMonitor(const wchar_t* folder, std::vector<std::wstring> listed, HWND window,
                        UINT message) {
  StopFolderMonitor();
  if (folder == nullptr || folder[0] == L'\0') return;
  auto monitor = std::make_shared<Monitor>();
  monitor->directory = CreateFileW(
      folder, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  monitor->stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  monitor->readDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (monitor->directory == INVALID_HANDLE_VALUE || monitor->stop == nullptr ||
      monitor->readDone == nullptr) {
    return;
  }
  monitor->listed = std::move(listed);
  monitor->window = window;
  monitor->message = message;
  auto* handed = new std::shared_ptr<Monitor>(monitor);
  g_monitor.thread = CreateThread(nullptr, 0, Watch, handed, 0, nullptr);
  if (g_monitor.thread == nullptr) {
    delete handed;
    return;
  }
  g_monitor.current = std::move(monitor);
}

void StopFolderMonitor() {
  if (g_monitor.current != nullptr) SetEvent(g_monitor.current->stop);
  // The thread waits on nothing of this thread's and ends at once; one held
  // up by the system anyway keeps its own monitor and frees it itself.
  if (g_monitor.thread != nullptr) {
    WaitForSingleObject(g_monitor.thread, STOP_TIMEOUT_MS);
    CloseHandle(g_monitor.thread);
  }
  g_monitor = MonitorState{};
}

bool SourceChanged() { return g_monitor.current != nullptr && g_monitor.current->changed; }
