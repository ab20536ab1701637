#include "tests/support/window_driver.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "app/main_window.h"
#include "resources/resource.h"

std::wstring ProgramBesideTests(const wchar_t* fileName) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  PathRemoveFileSpecW(path);
  PathAppendW(path, fileName);
  return path;
}

ProgramRun::ProgramRun(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
}

ProgramRun::~ProgramRun() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

long ProgramRun::WaitForExit(DWORD timeoutMs) {
  if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<long>(code);
}

namespace {

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t className[256];
  GetClassNameW(window, className, 256);
  if (search->className == nullptr || lstrcmpW(className, search->className) == 0) {
    search->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className) {
  WindowSearch search = {processId, className, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  do {
    const std::vector<HWND> windows = TopLevelWindows(processId, className);
    if (!windows.empty()) return windows.front();
    Sleep(50);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

long RunToExit(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs) {
  ProgramRun run(program, arguments);
  return run.WaitForExit(timeoutMs);
}

namespace {

struct DialogTextSearch {
  std::wstring statics;
  std::wstring buttons;
};

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<DialogTextSearch*>(param);
  wchar_t className[64] = L"";
  wchar_t text[1024] = L"";
  GetClassNameW(child, className, 64);
  // WM_GETTEXT is carried across processes; GetWindowText is not.
  SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  if (text[0] == L'\0') return TRUE;
  std::wstring& into = lstrcmpiW(className, L"Button") == 0 ? search->buttons : search->statics;
  if (!into.empty()) into += L"\n";
  into += text;
  return TRUE;
}

}  // namespace

std::wstring DialogTexts(HWND dialog) {
  DialogTextSearch search;
  EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&search));
  return search.statics + L"|" + search.buttons;
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = keys.end(); key != keys.begin();) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *--key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

// Memory in another process, for the messages that fill a buffer.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD processId, SIZE_T size)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                             processId)),
        size_(size) {
    if (process_ != nullptr) {
      address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
  }
  ~RemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* Address() const { return address_; }
  bool Read(void* data, SIZE_T size) const {
    return address_ != nullptr && size <= size_ &&
           ReadProcessMemory(process_, address_, data, size, nullptr);
  }

 private:
  HANDLE process_;
  SIZE_T size_;
  void* address_ = nullptr;
};

}  // namespace

Trimlet::Trimlet(const std::wstring& arguments)
    : run_(ProgramBesideTests(L"Trimlet.exe"), arguments) {
  window = WaitForWindow(run_.Id(), MAIN_WINDOW_CLASS, TIMEOUT);
}

Trimlet::~Trimlet() {
  if (window != nullptr && IsWindow(window)) Close();
}

bool Trimlet::Idle() const {
  return IsWindowVisible(window) && IsWindowEnabled(window) &&
         TopLevelWindows(run_.Id(), L"#32770").empty();
}

HWND Trimlet::WaitDialog(const wchar_t* text) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND dialog : TopLevelWindows(run_.Id(), L"#32770")) {
          if (DialogTexts(dialog).find(text) != std::wstring::npos) found = dialog;
        }
        return found != nullptr;
      },
      TIMEOUT);
  return found;
}

// Without a window manager the test bed does not always give the activation
// back to the main window when one of its dialogs closes.
void Trimlet::Press(std::initializer_list<WORD> keys) const {
  const DWORD target = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(GetCurrentThreadId(), target, TRUE);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  AttachThreadInput(GetCurrentThreadId(), target, FALSE);
  Sleep(100);
  PressKeys(keys);
}

void Trimlet::Drag(HWND control, POINT from, POINT to) const {
  Press({});
  ClientToScreen(control, &from);
  ClientToScreen(control, &to);
  SetCursorPos(from.x, from.y);
  Sleep(100);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &input, sizeof(input));
  // In steps, as a hand moves.
  for (int step = 1; step <= 4; ++step) {
    Sleep(50);
    SetCursorPos(from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4);
  }
  Sleep(100);
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof(input));
  Sleep(200);
}

HWND Trimlet::Child(int id) const {
  if (id == IDC_TOOLBAR) return GetDlgItem(GetDlgItem(window, IDC_REBAR), IDC_TOOLBAR);
  return GetDlgItem(window, id);
}

std::wstring Trimlet::Title() const {
  wchar_t title[512] = L"";
  SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(title));
  return title;
}

std::wstring Trimlet::Status(int part) const {
  wchar_t text[512] = L"";
  RemoteBuffer buffer(run_.Id(), sizeof(text));
  SendMessageW(Child(IDC_STATUSBAR), SB_GETTEXTW, part,
               reinterpret_cast<LPARAM>(buffer.Address()));
  buffer.Read(text, sizeof(text) - sizeof(wchar_t));
  return text;
}

// Asked of the toolbar button: menus cannot be read from another process.
bool Trimlet::ButtonEnabled(int id) const {
  return SendMessageW(Child(IDC_TOOLBAR), TB_ISBUTTONENABLED, id, 0) != 0;
}

void Trimlet::Drop(const std::wstring& path) const {
  // DROPFILES, then the path and an empty one, in the program's memory.
  std::vector<BYTE> drop(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t), 0);
  auto* header = reinterpret_cast<DROPFILES*>(drop.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  path.copy(reinterpret_cast<wchar_t*>(drop.data() + sizeof(DROPFILES)), path.size());
  // The program lets go of the drop itself (DragFinish), so it is not freed here.
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, run_.Id());
  void* remote = VirtualAllocEx(process, nullptr, drop.size(), MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(process, remote, drop.data(), drop.size(), nullptr);
  CloseHandle(process);
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

long Trimlet::Close() {
  PostMessageW(window, WM_CLOSE, 0, 0);
  window = nullptr;
  return run_.WaitForExit(TIMEOUT);
}
