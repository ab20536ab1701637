// The current picture: showing it, stepping between pictures, saving, and
// view-only mode.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "base/text.h"

// Runs one of the seven picture commands (first, previous, next, last, and
// the three save commands).
void Navigate(int command);

// View only: the option flips, and the commands and the editor follow.
void ToggleViewOnly();
// Keep frame on or off: the next picture gets the selection of this one.
void ToggleKeepFrame();

// Shows the file list's item `index` in the editor.
void ShowImage(int index);

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
