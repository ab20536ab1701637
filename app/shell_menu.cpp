#include "app/shell_menu.h"

#include "app/menu_captions.h"
#include "base/text.h"
#include "resources/resource.h"
#include "ui/labels.h"

namespace {

// One reference to a COM object, released when the holder goes.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  // Takes a reference of its own to an object someone else holds.
  explicit ComRef(Interface* shared) : object_(shared) {
    if (object_ != nullptr) object_->AddRef();
  }
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  void Reset() {
    if (object_ != nullptr) object_->Release();
    object_ = nullptr;
  }
  Interface* Get() const { return object_; }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // For the calls that hand back a new reference.
  void** Out() {
    Reset();
    return reinterpret_cast<void**>(&object_);
  }

 private:
  Interface* object_ = nullptr;
};

struct ShellMenuState {
  HWND owner = nullptr;
  HMENU submenu = nullptr;
  ComRef<IContextMenu> handler;
  // The handler's interfaces that draw its own items: the third when it has
  // one, else the second, else none.
  ComRef<IContextMenu3> handler3;
  ComRef<IContextMenu2> handler2;
  PathBuffer pending = L"";
};

ShellMenuState g_shell;

bool IsShellCommand(UINT id) { return id >= IDM_SHELL_MENU_FIRST && id <= IDM_SHELL_MENU_LAST; }

// The shell's context-menu handler of one file; false when it has none.
bool GetFileHandler(HWND owner, const wchar_t* path, ComRef<IContextMenu>& handler) {
  PathBuffer name;
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
      !CopyText(name, path)) {
    return false;
  }
  ComRef<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(desktop.Out())))) return false;
  PIDLIST_RELATIVE item = nullptr;
  ComRef<IShellFolder> parent;
  // The child is a part of the item's list, not a list of its own.
  PCUITEMID_CHILD child = nullptr;
  const bool found =
      SUCCEEDED(desktop->ParseDisplayName(owner, nullptr, name, nullptr, &item, nullptr)) &&
      SUCCEEDED(SHBindToParent(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), IID_IShellFolder,
                               parent.Out(), &child)) &&
      SUCCEEDED(parent->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr,
                                      handler.Out())) &&
      handler;
  CoTaskMemFree(item);
  return found;
}

// Runs the shell's command at `offset` from the first ID. The command may
// run a modal loop where the user shows another picture, which resets the
// menu: the handler is held until its command is over.
void Invoke(UINT offset) {
  const ComRef<IContextMenu> handler(g_shell.handler.Get());
  CMINVOKECOMMANDINFO command = {};
  command.cbSize = sizeof(command);
  command.hwnd = g_shell.owner;
  command.lpVerb = MAKEINTRESOURCEA(offset);
  command.nShow = SW_SHOWNORMAL;
  handler->InvokeCommand(&command);
}

// Hands a menu message to the handler's own drawing; true with the
// handler's answer when it took the message.
bool ForwardMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_DRAWITEM || message == WM_MEASUREITEM) {
    // Only the shell's own items; the window may draw items of its own.
    const UINT type = message == WM_DRAWITEM
                          ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlType
                          : reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlType;
    const UINT id = message == WM_DRAWITEM
                        ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->itemID
                        : reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->itemID;
    if (type != ODT_MENU || !IsShellCommand(id)) return false;
  }
  LRESULT answer = 0;
  if (g_shell.handler3) {
    const ComRef<IContextMenu3> handler(g_shell.handler3.Get());
    if (FAILED(handler->HandleMenuMsg2(message, wParam, lParam, &answer))) return false;
  } else if (g_shell.handler2 && message != WM_MENUCHAR) {
    const ComRef<IContextMenu2> handler(g_shell.handler2.Get());
    if (FAILED(handler->HandleMenuMsg(message, wParam, lParam))) return false;
  } else {
    return false;
  }
  switch (message) {
    case WM_MENUCHAR:
      // A key that is none of the handler's own goes the window's way.
      if (HIWORD(answer) == MNC_IGNORE) return false;
      *result = answer;
      return true;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      *result = TRUE;
      return true;
  }
  return false;
}

}  // namespace

void BuildShellMenu(HWND owner, HMENU submenu, const wchar_t* path) {
  ResetShellMenu();
  if (owner == nullptr || submenu == nullptr || path == nullptr || path[0] == L'\0') return;
  if (InSendMessage()) {
    // COM refuses calls out of the process while another thread waits on
    // this one.
    if (CopyText(g_shell.pending, path)) {
      g_shell.owner = owner;
      g_shell.submenu = submenu;
      PostMessageW(owner, WM_BUILD_SHELL_MENU, 0, 0);
    }
    return;
  }
  g_shell.owner = owner;
  g_shell.submenu = submenu;
  if (!GetFileHandler(owner, path, g_shell.handler)) {
    ResetShellMenu();
    return;
  }
  const HRESULT filled = g_shell.handler->QueryContextMenu(submenu, 1, IDM_SHELL_MENU_FIRST,
                                                           IDM_SHELL_MENU_LAST, CMF_NORMAL);
  if (FAILED(filled)) {
    ResetShellMenu();
    return;
  }
  if (FAILED(g_shell.handler->QueryInterface(IID_IContextMenu3, g_shell.handler3.Out()))) {
    g_shell.handler->QueryInterface(IID_IContextMenu2, g_shell.handler2.Out());
  }
  if (GetMenuItemCount(submenu) > 1) {
    DeleteMenu(submenu, IDM_IMAGE_SHELL_MENU_EMPTY, MF_BYCOMMAND);
  }
  DrawMenuBar(owner);
}

void BuildPendingShellMenu() {
  if (g_shell.pending[0] == L'\0') return;
  PathBuffer path;
  CopyText(path, g_shell.pending);
  BuildShellMenu(g_shell.owner, g_shell.submenu, path);
}

void ResetShellMenu() {
  g_shell.pending[0] = L'\0';
  const HMENU submenu = g_shell.submenu;
  if (submenu != nullptr) {
    InsertMenuW(submenu, 0, MF_BYPOSITION | MF_STRING | MF_GRAYED, IDM_IMAGE_SHELL_MENU_EMPTY,
                LabelText(LBL_EMPTY_SUBMENU));
    CaptionMenuItem(submenu, 0, LBL_EMPTY_SUBMENU);
    // Deleting, not removing: the shell's own submenus (Open with, Send
    // to) go with their items.
    while (GetMenuItemCount(submenu) > 1) {
      if (!DeleteMenu(submenu, 1, MF_BYPOSITION)) break;
    }
    DrawMenuBar(g_shell.owner);
  }
  g_shell.submenu = nullptr;
  g_shell.owner = nullptr;
  // The drawing interfaces go before the handler they belong to.
  g_shell.handler3.Reset();
  g_shell.handler2.Reset();
  g_shell.handler.Reset();
}

bool ShellMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!g_shell.handler || g_shell.submenu == nullptr) return false;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && IsShellCommand(LOWORD(wParam))) {
        Invoke(LOWORD(wParam) - IDM_SHELL_MENU_FIRST);
      }
      return false;
    case WM_INITMENUPOPUP:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_MENUCHAR:
      return ForwardMenuMessage(message, wParam, lParam, result);
  }
  return false;
}

void RunShellMenuDefault() {
  if (!g_shell.handler || g_shell.submenu == nullptr) return;
  const UINT id = GetMenuDefaultItem(g_shell.submenu, FALSE, 0);
  if (id != static_cast<UINT>(-1) && IsShellCommand(id)) Invoke(id - IDM_SHELL_MENU_FIRST);
}

IContextMenu* HeldShellHandler() {
  IContextMenu* handler = g_shell.handler.Get();
  if (handler != nullptr) handler->AddRef();
  return handler;
}
