// The editor pane: the current picture, fitted and centred, and the
// selection over it. One object, owned by the main window; it follows the
// options it is handed and is used from the window thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "base/gdiplus_objects.h"
#include "editor/geometry.h"
#include "editor/picture_decode.h"
#include "editor/selection_rules.h"
#include "settings/settings_block.h"

// WM_NOTIFY code the pane sends its parent when the picture or the selection
// changed, so that the sizes shown elsewhere follow.
constexpr UINT EDITOR_CHANGED = 1;

// What the editor follows of the user's options.
struct EditorOptions {
  uint32_t ratioMode = RATIO_MODE_CUSTOM;
  uint32_t ratioWidth = 3;
  uint32_t ratioHeight = 2;
  uint32_t minimumWidth = 0;  // a smaller picture is refused
  uint32_t minimumHeight = 0;
  bool viewOnly = false;      // the picture without a selection
  bool keepFrame = false;     // the next picture gets this one's frame
  bool enhancedSelection = false;
  bool systemColour = false;  // the window colour behind the picture, not grey
  bool copySourceToTemp = false;
  bool upright = false;
  bool lossless = false;      // JPEG crops keep to the picture's block grid
};

struct EditorState;

class Editor {
 public:
  Editor();
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // Takes over the pane's window procedure and starts GDI+; false when GDI+
  // could not start. The pane reports to its parent: WM_NOTIFY with
  // EDITOR_CHANGED or NM_SETFOCUS, and WM_CONTEXTMENU from the mouse and the
  // keyboard. The pane's destruction lets go of everything.
  bool Attach(HWND pane);

  void SetOptions(const EditorOptions& options);
  // How the options have the editor's pictures decoded.
  DecodeRequest Request() const;

  // Puts a decoded picture in place of the one shown, with its selection.
  // A failed picture leaves the editor empty and the error report filled;
  // null only empties it.
  void Show(std::unique_ptr<DecodedPicture> picture);

  // Starts decoding the picture at `path` ahead; null drops what was.
  void DecodeAhead(const wchar_t* path);
  // The decode ahead, handed to the worker that shows the next picture; it
  // takes the picture when it is the one it needs.
  std::shared_ptr<PendingDecode> Ahead() const;

  // The step has ended (successfully or not): the selection may now change.
  void SetReady();

  // The one way the selection changes; true when it changed.
  bool UpdateSelection(int32_t value, SelectionField field, unsigned flags);
  // Runs the selection's rules on the current rectangle again: a picture
  // loaded in view-only mode gets them when that mode ends.
  void RefreshSelection();
  // Turns the selection a quarter: the ratio turns, then width and height,
  // and position, are exchanged.
  void RotateSelection();

  bool HasImage() const;
  Rect Crop() const;
  // The file of the picture shown, when its crop is cut losslessly (the
  // option is on and the engine can cut it); false when it is saved the
  // ordinary way.
  bool LosslessSource(LosslessFile& file) const;
  // The picture's size; 0 x 0 without one.
  Size ImageSize() const;
  // The picture at full resolution; valid while HasImage().
  GdiBitmap& Image();

 private:
  std::unique_ptr<EditorState> state_;
};
