#include "editor/editor.h"

#include <commctrl.h>

#include "base/background_work.h"
#include "base/error_report.h"
#include "editor/editor_state.h"
#include "resources/resource.h"
#include "ui/label_ids.h"

namespace {

// The pane finds its editor through this property.
constexpr const wchar_t* EDITOR_PROPERTY = L"Trimlet.Editor";

EditorState* StateOf(HWND pane) {
  return static_cast<EditorState*>(GetPropW(pane, EDITOR_PROPERTY));
}

// With Keep frame on, a picture after another one keeps its frame;
// otherwise the selection starts anew.
void SetInitialSelection(EditorState& editor) {
  const EditorOptions& options = editor.options;
  const Size size = {static_cast<int32_t>(editor.Source().Width()),
                     static_cast<int32_t>(editor.Source().Height())};
  if (options.keepFrame && editor.cropImage.width > 0) {
    editor.crop = KeepFrame(editor.crop, editor.cropImage, CurrentSelectionContext(editor));
  } else {
    const InitialSelection initial =
        ComputeInitialSelection(size.width, size.height, options.ratioMode, options.ratioWidth,
                                options.ratioHeight, editor.ratioSwapped);
    editor.crop = initial.rect;
    editor.ratioSwapped = initial.ratioSwapped;
  }
  editor.cropImage = size;
}

// Lets go of the picture, its previews and its temporary copy.
void ClearPicture(EditorState& editor) {
  editor.ready = false;
  EndEditorDrag(editor);
  editor.picture.reset();
  editor.panePreview.Reset();
  DropPaneImage(editor);
}

// A pane that grew beyond the screen preview in both directions gets a
// sharper one.
void OnSize(EditorState& editor, LPARAM size) {
  editor.resizePending = true;
  editor.panePreview.Reset();
  DropPaneImage(editor);
  if (!editor.ready || !editor.HasPicture()) return;
  GdiBitmap& preview = editor.picture->screenPreview;
  const auto width = static_cast<uint32_t>(LOWORD(size));
  const auto height = static_cast<uint32_t>(HIWORD(size));
  if (width > preview.Width() && height > preview.Height()) {
    const Size screen = ScreenSize();
    Size target = {static_cast<int32_t>(width), static_cast<int32_t>(height)};
    if (width < static_cast<uint32_t>(screen.width) &&
        height < static_cast<uint32_t>(screen.height)) {
      target = screen;
    }
    FitImage(editor.Source(), target, &preview, false);
  }
  RedrawWindow(editor.pane, nullptr, nullptr, RDW_INTERNALPAINT);
}

void OnDestroy(EditorState& editor) {
  KillTimer(editor.pane, IDT_OUTLINE_ANIMATION);
  ClearPicture(editor);
  editor.hasRects = false;
  editor.ahead.reset();
  // GDI+ goes now: no decode ahead may still be using it.
  WaitForBackgroundWork();
  if (editor.gdiplusToken != 0) Gdiplus::GdiplusShutdown(editor.gdiplusToken);
  editor.gdiplusToken = 0;
  SetWindowLongPtrW(editor.pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editor.paneProc));
  RemovePropW(editor.pane, EDITOR_PROPERTY);
}

LRESULT CALLBACK EditorProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  EditorState* state = StateOf(pane);
  if (state == nullptr) return DefWindowProcW(pane, message, wParam, lParam);
  EditorState& editor = *state;
  switch (message) {
    case WM_SIZE:
      OnSize(editor, lParam);
      return 0;
    case WM_DESTROY: {
      const WNDPROC previous = editor.paneProc;
      OnDestroy(editor);
      return CallWindowProcW(previous, pane, message, wParam, lParam);
    }
    case WM_PAINT:
      PostMessageW(pane, WM_EDITOR_REPAINT, 0, 0);
      break;
    case WM_EDITOR_REPAINT:
      RepaintEditor(editor, wParam);
      return 0;
    case WM_TIMER:
      if (wParam == IDT_OUTLINE_ANIMATION) AnimateOutline(editor);
      return 0;
    case WM_SETFOCUS:
      NotifyParent(editor, NM_SETFOCUS);
      return 0;
    case WM_SETCURSOR:
      return OnEditorSetCursor(editor);
    case WM_LBUTTONDOWN:
      OnEditorButtonDown(editor, lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnEditorMouseMove(editor, lParam);
      return 0;
    case WM_LBUTTONUP:
      OnEditorButtonUp(editor);
      return 0;
    case WM_LBUTTONDBLCLK:
      SetFocus(pane);
      NotifyParent(editor, NM_DBLCLK);
      return 0;
    case WM_RBUTTONDOWN:
      SetFocus(pane);
      return 0;
    case WM_RBUTTONUP:
      // The system turns the release into WM_CONTEXTMENU.
      return DefWindowProcW(pane, message, wParam, lParam);
    case WM_CONTEXTMENU:
      // The main window shows the Image menu, from the mouse and the keyboard alike.
      return SendMessageW(GetParent(pane), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pane), lParam);
    case WM_KEYDOWN:
      OnEditorKeyDown(editor, wParam);
      return 0;
    case WM_KEYUP:
      OnEditorKeyUp(editor, wParam);
      // Other keys go on, so that the menu key opens the context menu.
      if (wParam == VK_SHIFT) return 0;
      return DefWindowProcW(pane, message, wParam, lParam);
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Shift+F10 opens the context menu; Alt keys reach the main menu.
      return DefWindowProcW(pane, message, wParam, lParam);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) OnEditorCancel(editor);
      return 0;
  }
  return CallWindowProcW(editor.paneProc, pane, message, wParam, lParam);
}

}  // namespace

Size ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

void NotifyParent(const EditorState& editor, UINT code) {
  NMHDR header = {};
  header.hwndFrom = editor.pane;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(editor.pane));
  header.code = code;
  SendMessageW(GetParent(editor.pane), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

Editor::Editor() : state_(std::make_unique<EditorState>()) {}

Editor::~Editor() = default;

bool Editor::Attach(HWND pane) {
  EditorState& editor = *state_;
  editor.pane = pane;
  if (!SetPropW(pane, EDITOR_PROPERTY, &editor)) return false;
  editor.paneProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorProc)));
  Gdiplus::GdiplusStartupInput input;
  return Gdiplus::GdiplusStartup(&editor.gdiplusToken, &input, nullptr) == Gdiplus::Ok;
}

void Editor::SetOptions(const EditorOptions& options) { state_->options = options; }

DecodeRequest Editor::Request() const {
  const EditorOptions& options = state_->options;
  return {options.copySourceToTemp, options.upright, ScreenSize()};
}

void Editor::Show(std::unique_ptr<DecodedPicture> picture) {
  EditorState& editor = *state_;
  ClearPicture(editor);
  const bool failed = picture == nullptr || picture->failure != -1;
  if (picture != nullptr && failed) {
    ReportError(picture->failure, picture->path, picture->failureIcon);
  } else if (!failed && (picture->source.Width() < editor.options.minimumWidth ||
                         picture->source.Height() < editor.options.minimumHeight)) {
    ReportError(LBL_IMAGE_TOO_SMALL, picture->path, MB_ICONWARNING);
  } else if (!failed) {
    editor.picture = std::move(picture);
    if (!editor.hasRects) {
      editor.crop = {};
      editor.cropImage = {};
      editor.screen = {};
      editor.hasRects = true;
    }
    SetInitialSelection(editor);
    RefreshSelection();
  }
  NotifyParent(editor, EDITOR_CHANGED);
  SendMessageW(editor.pane, WM_EDITOR_REPAINT, 0, 0);
}

void Editor::DecodeAhead(const wchar_t* path) {
  state_->ahead.reset();
  if (path != nullptr && path[0] != L'\0') state_->ahead = PendingDecode::Start(path, Request());
}

std::shared_ptr<PendingDecode> Editor::Ahead() const { return state_->ahead; }

void Editor::SetReady() { state_->ready = true; }

bool Editor::UpdateSelection(int32_t value, SelectionField field, unsigned flags) {
  return ::UpdateSelection(*state_, value, field, flags);
}

void Editor::RefreshSelection() {
  ::UpdateSelection(*state_, 0, SelectionField::X, NO_NOTIFY | BEFORE_READY);
}

void Editor::RotateSelection() {
  // The ratio turns with the rectangle; otherwise the transposed rectangle
  // would be cut back to the old ratio.
  EditorState& editor = *state_;
  if (editor.options.viewOnly || !editor.ready || !editor.HasPicture()) return;
  editor.ratioSwapped = !editor.ratioSwapped;
  ::UpdateSelection(editor, 0, SelectionField::None, 0);
}

bool Editor::HasImage() const { return state_->HasPicture(); }

Rect Editor::Crop() const { return state_->crop; }

bool Editor::LosslessSource(LosslessFile& file) const {
  const EditorState& editor = *state_;
  if (!CutsLosslessly(editor) || !CopyText(file.path, editor.picture->path)) return false;
  file.stamp = editor.picture->stamp;
  file.turn = editor.picture->turn;
  return true;
}

Size Editor::ImageSize() const {
  if (!state_->HasPicture()) return {0, 0};
  return {static_cast<int32_t>(state_->picture->source.Width()),
          static_cast<int32_t>(state_->picture->source.Height())};
}

GdiBitmap& Editor::Image() { return state_->Source(); }
