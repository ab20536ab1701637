// The main window: its children, menus and the routines that the commands
// use to enable, check and caption things.
#pragma once

#include <windows.h>
#include <commctrl.h>

constexpr const wchar_t* MAIN_WINDOW_CLASS = L"Bluecrane.Trimlet.MainWindow";

// Creates the window with its bars, file list and editor pane, placed from
// the stored layout, with `folder` (possibly empty) as the source folder.
// False when any part could not be made; what was made is destroyed again.
bool CreateMainWindow(const wchar_t* folder);

// Shows the window as it was last left, the editor pane taking the focus.
void ShowMainWindow();

// Destroys the window and unregisters its class.
void DestroyMainWindow();

// Offers a message of the loop to the accelerators and to the dialog-key
// handling of the main window; true when it was consumed.
bool TranslateMainWindowMessage(MSG& message);

HWND MainWindow();
// The file list's thumbnails, 96 x 96.
HIMAGELIST Thumbnails();
HWND FileList();
HWND EditorPane();
// The editor in the pane; the main window owns it.
class Editor& PictureEditor();
// Hands the editor the options it follows, after every change of them.
void ApplyEditorOptions();
// The Folder menu, shown as the file list's context menu.
HMENU FolderMenu();
// Image > System commands.
HMENU ImageShellMenu();

// Shows or hides the toolbar, the status bar and the file list as
// MainHiddenControls says, with the View menu's checks.
void ApplyHiddenParts();

// Sets every menu caption from the labels and refreshes the status bar's
// default texts.
void SetMenuCaptions();

// Enables or greys a menu command and its toolbar button; the button is
// shown pressed when it is enabled and the menu item is checked.
void EnableCommand(bool enabled, int menuId, int buttonId);
// Checks or clears a menu command; its toolbar button follows on its next
// EnableCommand.
void CheckCommand(int menuId, bool checked);
bool IsCommandEnabled(int menuId);

// Paints the editor pane's background in the chosen colour.
void SetEditorBackground();
