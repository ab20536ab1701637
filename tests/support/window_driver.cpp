#include "tests/support/window_driver.h"

#include <shlwapi.h>

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
