#include "tests/support/window_driver.h"

#include <commctrl.h>
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

namespace {

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  wchar_t className[256] = L"";
  GetWindowThreadProcessId(window, &owner);
  GetClassNameW(window, className, 256);
  if (owner == search->processId && IsWindowVisible(window) &&
      (search->className == nullptr || lstrcmpW(className, search->className) == 0)) {
    search->found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
  auto* texts = reinterpret_cast<std::wstring*>(param);
  wchar_t className[64] = L"";
  wchar_t text[1024] = L"";
  GetClassNameW(child, className, 64);
  // WM_GETTEXT is carried across processes; GetWindowText is not.
  SendMessageW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  if (text[0] == L'\0') return TRUE;
  std::wstring& into = texts[lstrcmpiW(className, L"Button") == 0 ? 1 : 0];
  into += (into.empty() ? L"" : L"\n") + std::wstring(text);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className) {
  WindowSearch search = {processId, className, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
  std::vector<HWND> windows;
  WaitUntil([&] { return !(windows = TopLevelWindows(processId, className)).empty(); }, timeoutMs);
  return windows.empty() ? nullptr : windows.front();
}

std::wstring DialogTexts(HWND dialog) {
  std::wstring texts[2];  // statics, buttons
  EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(texts));
  return texts[0] + L"|" + texts[1];
}

void TakeFolderShown(HWND picker, const wchar_t* name) {
  HWND tree = nullptr;
  EnumChildWindows(
      picker,
      [](HWND child, LPARAM found) {
        wchar_t className[64] = L"";
        GetClassNameW(child, className, 64);
        if (lstrcmpW(className, WC_TREEVIEWW) != 0) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&tree));
  // The selected item's text, read through memory of the picker's process.
  DWORD processId = 0;
  GetWindowThreadProcessId(picker, &processId);
  const HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  auto* remote =
      static_cast<BYTE*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  WaitUntil(
      [&] {
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem =
            reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(item));
        item.cchTextMax = 260;
        wchar_t text[261] = L"";
        WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote + sizeof(item), text, 260 * sizeof(wchar_t), nullptr);
        return lstrcmpiW(text, name) == 0;
      },
      Trimlet::TIMEOUT);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  PostMessageW(picker, WM_COMMAND, IDOK, 0);
}

void PressKeys(std::initializer_list<WORD> keys) { PressKeys(std::vector<WORD>(keys)); }

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (bool up : {false, true}) {
    for (size_t i = 0; i < keys.size(); ++i) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = up ? keys[keys.size() - 1 - i] : keys[i];
      input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

Trimlet::Trimlet(const std::wstring& arguments, bool withWindow, const std::wstring& program) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
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
  if (withWindow) window = WaitForWindow(id_, MAIN_WINDOW_CLASS, TIMEOUT);
}

Trimlet::~Trimlet() {
  if (window != nullptr && IsWindow(window)) Close();
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

long Trimlet::WaitForExit() {
  DWORD code = 0;
  if (process_ == nullptr || WaitForSingleObject(process_, TIMEOUT) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process_, &code)) {
    return -1;
  }
  return static_cast<long>(code);
}

bool Trimlet::Idle() const {
  return IsWindowVisible(window) && IsWindowEnabled(window) &&
         TopLevelWindows(id_, L"#32770").empty();
}

HWND Trimlet::WaitDialog(const wchar_t* text) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND dialog : TopLevelWindows(id_, L"#32770")) {
          if (DialogTexts(dialog).find(text) != std::wstring::npos) found = dialog;
        }
        return found != nullptr;
      },
      TIMEOUT);
  return found;
}

// Without a window manager the test bed does not always give the activation
// back to the main window when one of its dialogs closes.
void Trimlet::Press(std::initializer_list<WORD> keys, HWND target) const {
  if (target == nullptr) target = window;
  const DWORD thread = GetWindowThreadProcessId(target, nullptr);
  AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  SetForegroundWindow(target);
  SetActiveWindow(target);
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  Sleep(100);
  PressKeys(keys);
  // Typed keys come in through the system; what the test does next must
  // not overtake them.
  Sleep(200);
}

void Trimlet::Drag(HWND control, POINT from, POINT to) const { Click(control, from, to, 1); }

void Trimlet::DoubleClick(HWND control, POINT at) const { Click(control, at, at, 2); }

void Trimlet::Click(HWND control, POINT from, POINT to, int clicks) const {
  Press({});
  ClientToScreen(control, &from);
  ClientToScreen(control, &to);
  SetCursorPos(from.x, from.y);
  INPUT button = {};
  button.type = INPUT_MOUSE;
  for (int click = 0; click < clicks; ++click) {
    for (DWORD press : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
      // Quick enough for the clicks to make a double click.
      Sleep(clicks == 1 ? 100 : 20);
      button.mi.dwFlags = press;
      SendInput(1, &button, sizeof(button));
      if (press == MOUSEEVENTF_LEFTDOWN) SetCursorPos(to.x, to.y);
    }
  }
  Sleep(200);
}

HWND Trimlet::Child(int id) const {
  if (id == IDC_TOOLBAR) return GetDlgItem(GetDlgItem(window, IDC_REBAR), IDC_TOOLBAR);
  return GetDlgItem(window, id);
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = L"";
  SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring Trimlet::Title() const { return WindowText(window); }

// The status bar fills a buffer, which must be in the program's memory.
std::wstring Trimlet::Status(int part) const {
  wchar_t text[512] = L"";
  const HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id_);
  void* remote = VirtualAllocEx(process, nullptr, sizeof(text), MEM_COMMIT, PAGE_READWRITE);
  SendMessageW(Child(IDC_STATUSBAR), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, text, sizeof(text) - sizeof(wchar_t), nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return text;
}

// Asked of the toolbar button: menus cannot be read from another process.
bool Trimlet::ButtonEnabled(int id) const {
  return SendMessageW(Child(IDC_TOOLBAR), TB_ISBUTTONENABLED, id, 0) != 0;
}

void Trimlet::Drop(const std::wstring& path) const {
  // DROPFILES, then the path and an empty one, in the program's memory; the
  // program lets go of a drop itself (DragFinish).
  std::vector<BYTE> drop(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t), 0);
  auto* header = reinterpret_cast<DROPFILES*>(drop.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  path.copy(reinterpret_cast<wchar_t*>(drop.data() + sizeof(DROPFILES)), path.size());
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id_);
  void* remote = VirtualAllocEx(process, nullptr, drop.size(), MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(process, remote, drop.data(), drop.size(), nullptr);
  CloseHandle(process);
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

long Trimlet::Close() {
  PostMessageW(window, WM_CLOSE, 0, 0);
  window = nullptr;
  return WaitForExit();
}
