// The current picture: showing it, stepping between pictures, saving, and
// view-only mode.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "base/text.h"
#include "editor/picture_decode.h"

// Runs one of the seven picture commands (first, previous, next, last, and
// the three save commands).
void Navigate(int command);

// View only: the option flips, and the commands and the editor follow.
void ToggleViewOnly();
// Keep frame on or off: the next picture gets the selection of this one.
void ToggleKeepFrame();

// WM_SHOW_IMAGE: shows the file list's item `index` in the editor, when it
// is the selected one, under the busy dialog.
void OnShowImage(int index);

// Decodes item `index`'s picture under the busy dialog and shows it.
void LoadListedPicture(int index);

// Item `index`'s picture, decoded by a worker, becomes the one shown: the
// status bar, its shell menu, the editor, and the next one decoded ahead.
// Null empties the editor.
void InstallPicture(int index, std::unique_ptr<DecodedPicture> picture);

// The full path of an item's file; false when it has none.
bool ListItemPath(int index, PathBuffer& path);

// The file list reported a change of an item's state.
void OnFileSelectionChanged(const NMLISTVIEW& change);

// The file name of an item of the file list; false when it has none.
bool ListItemText(int index, PathBuffer& name);

// Selects an item of the file list; the list reports it, which shows it.
void SelectListItem(int index);

// Greys the commands that need a current picture.
void GreyImageCommands();

// The picture's size and the selection in the status bar, or the parts'
// default texts.
void ShowEditorStatus();

// The common end of every picture step: the editor is ready, the error
// report is shown (and emptied), and with `disableWhenEmpty` the commands
// that need a picture are greyed when none is loaded.
void FinishOperation(bool disableWhenEmpty);
