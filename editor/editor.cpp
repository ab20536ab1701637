#include "editor/editor.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <cwchar>

#include "base/background_work.h"
#include "base/error_report.h"
#include "base/picture_file.h"
#include "editor/editor_state.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/label_ids.h"

namespace {

EditorState g_editor;

// Copies the file into a new file of the temporary folder. The copy's path
// is in `copy` as soon as the name is reserved, so that a failed copy can be
// deleted.
}  // namespace

bool MakeTempCopy(const wchar_t* source, PathBuffer& copy) {
  PathBuffer folder;
  const DWORD length = GetTempPathW(PATH_CAPACITY, folder);
  if (length == 0 || length >= PATH_CAPACITY) return false;
  if (GetTempFileNameW(folder, L"~", 0, copy) == 0) return false;
  return CopyFileExW(source, copy, nullptr, nullptr, nullptr, 0) != FALSE;
}

// A copy that cannot be deleted keeps its attributes and stays on disk.
void DeleteTempCopy(PathBuffer& path) {
  if (path[0] == L'\0') return;
  const DWORD attributes = GetFileAttributesW(path);
  SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
  if (!DeleteFileW(path) && attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesW(path, attributes);
  }
  path[0] = L'\0';
}

namespace {

// With Keep frame on, a picture after another one keeps its frame;
// otherwise the selection starts anew.
void SetInitialSelection() {
  const Options& options = Settings().options;
  const Size size = {static_cast<int32_t>(g_editor.source.Width()),
                     static_cast<int32_t>(g_editor.source.Height())};
  if (options.KeepFrame && g_editor.cropImage.width > 0) {
    g_editor.crop = KeepFrame(g_editor.crop, g_editor.cropImage, CurrentSelectionContext());
  } else {
    const InitialSelection initial = ComputeInitialSelection(
        size.width, size.height, options.ResizeRatioMode, options.ResizeRatioWidth,
        options.ResizeRatioHeight, g_editor.ratioSwapped);
    g_editor.crop = initial.rect;
    g_editor.ratioSwapped = initial.ratioSwapped;
  }
  g_editor.cropImage = size;
}

// The load failed: empty the editor and say why.
void FailLoad(const wchar_t* path, int label, UINT icon) {
  LoadEditorImage(nullptr);
  ReportError(label, path, icon);
}

// A pane that grew beyond the screen preview in both directions gets a
// sharper one.
void OnSize(LPARAM size) {
  g_editor.resizePending = true;
  g_editor.panePreview.Reset();
  DropPaneImage();
  if (!g_editor.ready || !g_editor.source || !g_editor.screenPreview) return;
  const auto width = static_cast<uint32_t>(LOWORD(size));
  const auto height = static_cast<uint32_t>(HIWORD(size));
  if (width > g_editor.screenPreview.Width() && height > g_editor.screenPreview.Height()) {
    const Size screen = ScreenSize();
    Size target = {static_cast<int32_t>(width), static_cast<int32_t>(height)};
    if (width < static_cast<uint32_t>(screen.width) &&
        height < static_cast<uint32_t>(screen.height)) {
      target = screen;
    }
    FitImage(g_editor.source, target, &g_editor.screenPreview, false);
  }
  RedrawWindow(g_editor.pane, nullptr, nullptr, RDW_INTERNALPAINT);
}

void OnDestroy() {
  KillTimer(g_editor.pane, IDT_OUTLINE_ANIMATION);
  ClearEditor(true);
  PrefetchEditorImage(nullptr);
  // GDI+ goes now: no decode ahead may still be using it.
  WaitForBackgroundWork();
  if (g_editor.gdiplusToken != 0) Gdiplus::GdiplusShutdown(g_editor.gdiplusToken);
  g_editor.gdiplusToken = 0;
  SetWindowLongPtrW(g_editor.pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editor.paneProc));
}

LRESULT CALLBACK EditorProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      OnSize(lParam);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_PAINT:
      PostMessageW(pane, WM_EDITOR_REPAINT, 0, 0);
      break;
    case WM_EDITOR_REPAINT:
      RepaintEditor(wParam);
      return 0;
    case WM_TIMER:
      if (wParam == IDT_OUTLINE_ANIMATION) AnimateOutline();
      return 0;
    case WM_SETFOCUS:
      NotifyParent(NM_SETFOCUS);
      return 0;
    case WM_SETCURSOR:
      return OnEditorSetCursor();
    case WM_LBUTTONDOWN:
      OnEditorButtonDown(lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnEditorMouseMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      OnEditorButtonUp();
      return 0;
    case WM_LBUTTONDBLCLK:
      SetFocus(pane);
      NotifyParent(NM_DBLCLK);
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
      OnEditorKeyDown(wParam);
      return 0;
    case WM_KEYUP:
      OnEditorKeyUp(wParam);
      // Other keys go on, so that the menu key opens the context menu.
      if (wParam == VK_SHIFT) return 0;
      return DefWindowProcW(pane, message, wParam, lParam);
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Shift+F10 opens the context menu; Alt keys reach the main menu.
      return DefWindowProcW(pane, message, wParam, lParam);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) OnEditorCancel();
      return 0;
  }
  return CallWindowProcW(g_editor.paneProc, pane, message, wParam, lParam);
}

}  // namespace

EditorState& Editor() { return g_editor; }

DecodeOptions CurrentDecodeOptions() {
  const Options& options = Settings().options;
  return {options.CopySourceToTemp, options.TurnImagesUpright};
}

Size ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

void NotifyParent(UINT code) {
  NMHDR header = {};
  header.hwndFrom = g_editor.pane;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(g_editor.pane));
  header.code = code;
  SendMessageW(GetParent(g_editor.pane), WM_NOTIFY, header.idFrom,
               reinterpret_cast<LPARAM>(&header));
}

void FitImage(GdiBitmap& image, Size& size, GdiBitmap* output, bool exact) {
  if (output != nullptr) output->Reset();
  if (!exact) {
    const uint32_t width = image.Width();
    const uint32_t height = image.Height();
    if (width <= static_cast<uint32_t>(size.width) &&
        height <= static_cast<uint32_t>(size.height)) {
      size = {static_cast<int32_t>(width), static_cast<int32_t>(height)};
      if (output != nullptr) *output = image.Clone();
      return;
    }
    size = FitSize(width, height, size);
  }
  if (output == nullptr) return;
  *output = GdiBitmap::Create(size.width, size.height);
  GdiGraphics graphics(*output);
  graphics.DrawImage(image, 0, 0, size.width, size.height);
}

bool AttachEditor(HWND pane) {
  g_editor.pane = pane;
  g_editor.paneProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorProc)));
  Gdiplus::GdiplusStartupInput input;
  return Gdiplus::GdiplusStartup(&g_editor.gdiplusToken, &input, nullptr) == Gdiplus::Ok;
}

void LoadEditorImage(const wchar_t* path) {
  ClearEditor(false);
  NotifyParent(EDITOR_CHANGED);
  SendMessageW(g_editor.pane, WM_EDITOR_REPAINT, 0, 0);
  if (path == nullptr) {
    PrefetchEditorImage(nullptr);
    return;
  }

  if (!PathFileExistsW(path) || PathIsDirectoryW(path)) {
    PrefetchEditorImage(nullptr);
    ReportError(LBL_FILE_NOT_FOUND, path, MB_ICONWARNING);
    return;
  }
  const DecodeOptions decode = CurrentDecodeOptions();
  // A picture decoded ahead is taken as it is; any other is decoded now, and
  // a failure reported as a load's, also when the decode ahead failed.
  const bool decodedAhead = TakePrefetched(path, decode, g_editor);
  if (!decodedAhead) {
    const wchar_t* decoded = path;
    if (decode.copySourceToTemp) {
      if (!MakeTempCopy(path, g_editor.tempCopyPath)) {
        FailLoad(path, LBL_TEMP_COPY_ERROR, MB_ICONERROR);
        return;
      }
      decoded = g_editor.tempCopyPath;
    }
    g_editor.source = DecodeFile(decoded, decode.upright);
  }
  if (!g_editor.source || g_editor.source.status() != Gdiplus::Ok) {
    FailLoad(path, LBL_IMAGE_LOAD_ERROR, MB_ICONERROR);
    return;
  }
  const Options& options = Settings().options;
  if (g_editor.source.Width() < options.MinimumImageWidth ||
      g_editor.source.Height() < options.MinimumImageHeight) {
    FailLoad(path, LBL_IMAGE_TOO_SMALL, MB_ICONWARNING);
    return;
  }
  if (!g_editor.screenPreview) {
    Size screen = ScreenSize();
    FitImage(g_editor.source, screen, &g_editor.screenPreview, false);
  }
  if (!g_editor.hasRects) {
    g_editor.crop = {};
    g_editor.cropImage = {};
    g_editor.screen = {};
    g_editor.hasRects = true;
  }
  SetInitialSelection();
  UpdateSelection(0, SelectionField::X, NO_NOTIFY | BEFORE_READY);
  NotifyParent(EDITOR_CHANGED);
}

void ClearEditor(bool releaseRectangles) {
  g_editor.ready = false;
  EndEditorDrag();
  g_editor.source.Reset();
  g_editor.screenPreview.Reset();
  g_editor.panePreview.Reset();
  DropPaneImage();
  DeleteTempCopy(g_editor.tempCopyPath);
  if (g_editor.sourceStream != nullptr) g_editor.sourceStream->Release();
  g_editor.sourceStream = nullptr;
  if (releaseRectangles) g_editor.hasRects = false;
}

void SetEditorReady() { g_editor.ready = true; }

GdiBitmap& EditorImage() { return g_editor.source; }

bool HasEditorImage() { return static_cast<bool>(g_editor.source); }

Rect CropRect() { return g_editor.crop; }

Size EditorImageSize() {
  if (!g_editor.source) return {0, 0};
  return {static_cast<int32_t>(g_editor.source.Width()),
          static_cast<int32_t>(g_editor.source.Height())};
}
