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

// Memory in another process, for the messages whose buffers must be there.
struct Remote {
  Remote(DWORD processId, SIZE_T size)
      : process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                            processId)),
        at(static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE))) {
  }
  ~Remote() {
    if (freed) VirtualFreeEx(process, at, 0, MEM_RELEASE);
    CloseHandle(process);
  }
  void Put(const void* data, SIZE_T size) const {
    WriteProcessMemory(process, at, data, size, nullptr);
  }
  void Get(SIZE_T offset, void* data, SIZE_T size) const {
    ReadProcessMemory(process, at + offset, data, size, nullptr);
  }
  HANDLE process;
  BYTE* at;
  bool freed = true;
};

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className) {
  struct Search {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
  } search = {processId, className, {}};
  EnumWindows(
      [](HWND window, LPARAM param) {
        auto* wanted = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        wchar_t name[256] = L"";
        GetWindowThreadProcessId(window, &owner);
        GetClassNameW(window, name, 256);
        if (owner == wanted->processId && IsWindowVisible(window) &&
            lstrcmpW(name, wanted->className) == 0) {
          wanted->found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// WM_GETTEXT is carried across processes; GetWindowText is not.
std::wstring WindowText(HWND window) {
  wchar_t text[1024] = L"";
  SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring DialogTexts(HWND dialog) {
  std::wstring texts[2];  // statics, buttons
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM param) {
        wchar_t className[64] = L"";
        GetClassNameW(child, className, 64);
        const std::wstring text = WindowText(child);
        std::wstring& into =
            reinterpret_cast<std::wstring*>(param)[lstrcmpiW(className, L"Button") == 0];
        if (!text.empty()) into += (into.empty() ? L"" : L"\n") + text;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(texts));
  return texts[0] + L"|" + texts[1];
}

void TakeFolderShown(HWND picker, const wchar_t* name) {
  const HWND tree = FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
  // The selected item's text, read through memory of the picker's process.
  DWORD processId = 0;
  GetWindowThreadProcessId(picker, &processId);
  const Remote remote(processId, 4096);
  WaitUntil(
      [&] {
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem =
            reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        item.pszText = reinterpret_cast<wchar_t*>(remote.at + sizeof(item));
        item.cchTextMax = 260;
        wchar_t text[261] = L"";
        remote.Put(&item, sizeof(item));
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.at));
        remote.Get(sizeof(item), text, 260 * sizeof(wchar_t));
        return lstrcmpiW(text, name) == 0;
      },
      Trimlet::TIMEOUT);
  PostMessageW(picker, WM_COMMAND, IDOK, 0);
}

std::vector<BYTE> DropFilesOf(const std::wstring& path) {
  std::vector<BYTE> drop(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t), 0);
  auto* header = reinterpret_cast<DROPFILES*>(drop.data());
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  path.copy(reinterpret_cast<wchar_t*>(drop.data() + sizeof(DROPFILES)), path.size());
  return drop;
}

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

// Without a window manager the test bed does not always give the activation
// back to the main window when one of its dialogs closes.
void PressInto(HWND target, const std::vector<WORD>& keys) {
  const DWORD thread = GetWindowThreadProcessId(target, nullptr);
  AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  SetForegroundWindow(target);
  SetActiveWindow(target);
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  Sleep(100);
  PressKeys(keys);
  // Typed keys come in through the system; what follows must not overtake
  // them.
  Sleep(200);
}

bool IsIdle(HWND window) {
  return IsWindowVisible(window) && IsWindowEnabled(window) && WindowInFront(window) == window;
}

HWND WindowInFront(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const std::vector<HWND> dialogs = TopLevelWindows(processId, L"#32770");
  return dialogs.empty() ? window : dialogs.front();
}

bool ButtonEnabled(HWND window, int id) {
  const HWND toolbar = GetDlgItem(GetDlgItem(window, IDC_REBAR), IDC_TOOLBAR);
  return SendMessageW(toolbar, TB_ISBUTTONENABLED, id, 0) != 0;
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
  if (!withWindow) return;
  std::vector<HWND> windows;
  WaitUntil([&] { return !(windows = TopLevelWindows(id_, MAIN_WINDOW_CLASS)).empty(); }, TIMEOUT);
  if (!windows.empty()) window = windows.front();
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

bool Trimlet::WaitStatus(int part, const std::wstring& text) const {
  return WaitUntil([&] { return Status(part) == text && Idle(); }, TIMEOUT);
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

std::wstring Trimlet::Answer(const wchar_t* text, WPARAM button) const {
  const HWND dialog = WaitDialog(text);
  if (dialog == nullptr) return L"";
  const std::wstring texts = DialogTexts(dialog);
  PostMessageW(dialog, WM_COMMAND, button, 0);
  WaitUntil([&] { return !IsWindow(dialog); }, TIMEOUT);
  return texts;
}

void Trimlet::Drag(HWND control, POINT from, POINT to) const {
  Press({});
  ClientToScreen(control, &from);
  ClientToScreen(control, &to);
  SetCursorPos(from.x, from.y);
  INPUT button = {};
  button.type = INPUT_MOUSE;
  for (DWORD press : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    Sleep(100);
    button.mi.dwFlags = press;
    SendInput(1, &button, sizeof(button));
    if (press == MOUSEEVENTF_LEFTDOWN) SetCursorPos(to.x, to.y);
  }
  Sleep(200);
}

// The status bar fills a buffer, which must be in the program's memory.
std::wstring Trimlet::Status(int part) const {
  wchar_t text[512] = L"";
  const Remote remote(id_, sizeof(text));
  SendMessageW(Child(IDC_STATUSBAR), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(remote.at));
  remote.Get(0, text, sizeof(text) - sizeof(wchar_t));
  return text;
}

HWND Trimlet::OpenPicker(HWND link, const wchar_t* title) const {
  Drag(link, {2, 2}, {2, 2});
  if (Answer(title, IDCANCEL).empty()) return nullptr;
  Drag(link, {2, 2}, {2, 2});
  return WaitDialog(title);
}

RECT Trimlet::TileRect(int index) const {
  RECT rect = {LVIR_ICON, 0, 0, 0};
  const Remote remote(id_, sizeof(rect));
  remote.Put(&rect, sizeof(rect));
  SendMessageW(Child(IDC_FILE_LIST), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.at));
  remote.Get(0, &rect, sizeof(rect));
  return rect;
}

void Trimlet::Drop(const std::wstring& path) const {
  // In the program's memory, which lets go of a drop itself (DragFinish).
  const std::vector<BYTE> drop = DropFilesOf(path);
  Remote remote(id_, drop.size());
  remote.freed = false;
  remote.Put(drop.data(), drop.size());
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote.at), 0);
}

long Trimlet::Close() {
  PostMessageW(window, WM_CLOSE, 0, 0);
  window = nullptr;
  return WaitForExit();
}
