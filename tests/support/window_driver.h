// Drives the real Trimlet.exe as a user would: start it, press keys, move
// the mouse, read what its windows show, close it.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// A program that lives beside the running test executable.
std::wstring ProgramBesideTests(const wchar_t* fileName);

// The visible top-level windows of a process with the given class (any class
// when null).
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className);

// Waits until the process shows a top-level window of the class.
HWND WaitForWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs);

// A window's text, also of another process's window.
std::wstring WindowText(HWND window);

// The texts of a message box (or any dialog) of another process, joined by
// line feeds: its static texts, and its buttons after a "|".
std::wstring DialogTexts(HWND dialog);

// Waits until the folder picker has gone down to the folder `name` it
// starts at (it opens the tree on the way), then takes it with OK.
void TakeFolderShown(HWND picker, const wchar_t* name);

// Presses the keys in order and releases them in reverse, as the keyboard
// would, into the foreground window.
void PressKeys(std::initializer_list<WORD> keys);
void PressKeys(const std::vector<WORD>& keys);

// Waits until `condition` holds; false on a time-out.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
  return true;
}

// Trimlet.exe (or another `program`) started with `arguments`, its main
// window found (unless it is not to have one); ended by force at the end if
// it is still running.
class Trimlet {
 public:
  static constexpr DWORD TIMEOUT = 30000;

  explicit Trimlet(const std::wstring& arguments, bool withWindow = true,
                   const std::wstring& program = ProgramBesideTests(L"Trimlet.exe"));
  ~Trimlet();
  Trimlet(const Trimlet&) = delete;
  Trimlet& operator=(const Trimlet&) = delete;

  HWND window = nullptr;
  DWORD Id() const { return id_; }
  // The exit code, or -1 when the process did not end in time.
  long WaitForExit();

  // Ready for the next key: shown, enabled, no dialog of its own open.
  bool Idle() const;
  bool WaitIdle() const {
    return WaitUntil([this] { return Idle(); }, TIMEOUT);
  }
  // The first dialog whose texts hold `text`; null after the time-out.
  HWND WaitDialog(const wchar_t* text) const;
  // Brings the window (or one of its dialogs) to the front, as a click on
  // it would, then types.
  void Press(std::initializer_list<WORD> keys, HWND target = nullptr) const;
  // Drags with the left button from one point to another, in the client
  // coordinates of `control`.
  void Drag(HWND control, POINT from, POINT to) const;
  void DoubleClick(HWND control, POINT at) const;

  HWND Child(int id) const;
  std::wstring Title() const;
  std::wstring Status(int part) const;
  bool ButtonEnabled(int id) const;
  // Hands the window a drop of `path`, as the shell does when a folder is
  // dropped on it.
  void Drop(const std::wstring& path) const;
  // Closes the window; the exit code.
  long Close();

 private:
  void Click(HWND control, POINT from, POINT to, int clicks) const;
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};
