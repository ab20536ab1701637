// Drives the real Trimlet.exe as a user would: start it, press keys, move
// the mouse, read what its windows show, close it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A program that lives beside the running test executable.
std::wstring ProgramBesideTests(const wchar_t* fileName);

// The visible top-level windows of a process with the given class.
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className);

// A window's text, also of another process's window.
std::wstring WindowText(HWND window);

// The texts of a message box (or any dialog) of another process, joined by
// line feeds: its static texts, and its buttons after a "|".
std::wstring DialogTexts(HWND dialog);

// Waits until the folder picker has gone down to the folder `name` it
// starts at (it opens the tree on the way), then takes it with OK.
void TakeFolderShown(HWND picker, const wchar_t* name);

// What the shell hands a window for a drop of `path`: DROPFILES, then the
// path and an empty one.
std::vector<BYTE> DropFilesOf(const std::wstring& path);

// Presses the keys in order and releases them in reverse, as the keyboard
// would, into the foreground window.
void PressKeys(const std::vector<WORD>& keys);

// Brings `target` to the front, as a click on it would, then types.
void PressInto(HWND target, const std::vector<WORD>& keys);

// The main window of another process: shown, enabled, no dialog of its own
// open, so ready for the next key.
bool IsIdle(HWND window);

// Its open dialog, or the window itself: what has the keyboard.
HWND WindowInFront(HWND window);

// Asked of the toolbar button: menus cannot be read from another process.
bool ButtonEnabled(HWND window, int id);

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

  bool Idle() const { return IsIdle(window); }
  bool WaitIdle() const {
    return WaitUntil([this] { return Idle(); }, TIMEOUT);
  }
  // Waits until the status bar's part shows `text` and the window is idle.
  bool WaitStatus(int part, const std::wstring& text) const;
  // The first dialog whose texts hold `text`; null after the time-out.
  HWND WaitDialog(const wchar_t* text) const;
  // Waits for that dialog, answers it with `button` and waits until it has
  // gone; its texts, empty when none came.
  std::wstring Answer(const wchar_t* text, WPARAM button) const;
  // Into the window, or one of its dialogs.
  void Press(const std::vector<WORD>& keys, HWND target = nullptr) const {
    PressInto(target != nullptr ? target : window, keys);
  }
  // The picker that a click on `link` opens, titled `title`. Wine's picker
  // starts at the folder it is given only from its second opening in a
  // process, so the first is cancelled. Null after the time-out.
  HWND OpenPicker(HWND link, const wchar_t* title) const;
  // Drags with the left button from one point to another, in the client
  // coordinates of `control`; a click where they are the same.
  void Drag(HWND control, POINT from, POINT to) const;

  HWND Child(int id) const { return GetDlgItem(window, id); }
  std::wstring Title() const { return WindowText(window); }
  std::wstring Status(int part) const;
  // The tile of file-list item `index`, in the list's client coordinates.
  RECT TileRect(int index) const;
  // Hands the window a drop of `path`, as the shell does when a folder is
  // dropped on it.
  void Drop(const std::wstring& path) const;
  // Closes the window; the exit code.
  long Close();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};
