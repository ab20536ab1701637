// One operation at a time.
//
// An operation is anything the user started that may run a modal loop: a
// command (with its dialogs and questions), a picture being shown, a folder
// load, the reload after a change of the source, a dropped folder. Every
// modal loop (the busy dialog, a message box, a picker) dispatches every
// message of the thread, so whatever arrives meanwhile would otherwise run
// a second operation inside the first. While one runs:
// - a command (menu, key, button, or a WM_COMMAND from another program) and
//   a dropped folder are dropped, as a click on a greyed button would be;
//   the user sees the operation's dialog and repeats the command after it;
// - a change of the source waits: its flag stays set and the warning comes
//   when the operation ends;
// - closing the window or ending the session waits too: a folder load is
//   cancelled, a save is finished, and the program then exits normally.
//
// Who owns what: the window thread owns the windows, the file list and its
// image lists, the editor and its decode ahead. A busy worker (app/busy_dialog)
// gets its input as a value when it starts, computes, and hands back a value
// (a decoded picture, a folder's tiles, a save's result) that the window
// thread puts in place once the worker has ended; it never touches a window.
#pragma once

// Marks an operation for as long as it lives; operations started inside one
// (a reload after the Options dialog) belong to it.
class OperationScope {
 public:
  OperationScope();
  ~OperationScope();
  OperationScope(const OperationScope&) = delete;
  OperationScope& operator=(const OperationScope&) = delete;
};

// Whether an operation runs, or a picture's show has been asked for and not
// yet begun (until then the editor still shows the picture before it).
bool OperationRunning();

// A picture's show was posted; it counts as running until it is handled.
void SetShowPending(bool pending);

// The user or the system asked to end the program: at once when nothing
// runs, otherwise once the operation ends (a folder load is cancelled now).
void RequestExitWhenIdle();
