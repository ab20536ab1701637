#include "editor/editor.h"

#include <shlwapi.h>

#include <cwchar>

#include "app/bars.h"
#include "app/error_report.h"
#include "app/main_window.h"
#include "editor/editor_state.h"
#include "editor/source_image.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/label_ids.h"

namespace {

EditorState g_editor;

constexpr int IMAGE_SIZE_PART = 2;
constexpr int SELECTION_PART = 3;

// Copies the file into a new file of the temporary folder. The copy's path
// is in `copy` as soon as the name is reserved, so that a failed copy can be
// deleted.
bool MakeTempCopy(const wchar_t* source, PathBuffer& copy) {
  PathBuffer folder;
  const DWORD length = GetTempPathW(PATH_CAPACITY, folder);
  if (length == 0 || length >= PATH_CAPACITY) return false;
  if (GetTempFileNameW(folder, L"~", 0, copy) == 0) return false;
  return CopyFileExW(source, copy, nullptr, nullptr, nullptr, 0) != FALSE;
}

// A copy that cannot be deleted keeps its attributes and stays on disk.
void DeleteTempCopy() {
  wchar_t* path = g_editor.tempCopyPath;
  if (path[0] == L'\0') return;
  const DWORD attributes = GetFileAttributesW(path);
  SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
  if (!DeleteFileW(path) && attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesW(path, attributes);
  }
  path[0] = L'\0';
}

void ShowImageSize() {
  if (!g_editor.source) {
    SetStatusText(nullptr, IMAGE_SIZE_PART);
    return;
  }
  wchar_t text[64];
  std::swprintf(text, 64, L"%u x %u", g_editor.source.Width(), g_editor.source.Height());
  SetStatusText(text, IMAGE_SIZE_PART);
}

void SetInitialSelection() {
  const Options& options = Settings().options;
  const InitialSelection initial = ComputeInitialSelection(
      static_cast<int32_t>(g_editor.source.Width()), static_cast<int32_t>(g_editor.source.Height()),
      options.ResizeRatioMode, options.ResizeRatioWidth, options.ResizeRatioHeight,
      g_editor.ratioSwapped);
  g_editor.crop = initial.rect;
  g_editor.ratioSwapped = initial.ratioSwapped;
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
  if (!g_editor.ready || !g_editor.source || !g_editor.screenPreview) return;
  const auto width = static_cast<uint32_t>(LOWORD(size));
  const auto height = static_cast<uint32_t>(HIWORD(size));
  if (width > g_editor.screenPreview.Width() && height > g_editor.screenPreview.Height()) {
    const auto screenWidth = static_cast<uint32_t>(GetSystemMetrics(SM_CXSCREEN));
    const auto screenHeight = static_cast<uint32_t>(GetSystemMetrics(SM_CYSCREEN));
    Size target = {static_cast<int32_t>(width), static_cast<int32_t>(height)};
    if (width < screenWidth && height < screenHeight) {
      target = {static_cast<int32_t>(screenWidth), static_cast<int32_t>(screenHeight)};
    }
    FitImage(g_editor.source, target, &g_editor.screenPreview, false);
  }
  RedrawWindow(g_editor.pane, nullptr, nullptr, RDW_INTERNALPAINT);
}

void OnDestroy() {
  KillTimer(g_editor.pane, OUTLINE_TIMER);
  ClearEditor(true);
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
      if (wParam == OUTLINE_TIMER) AnimateOutline();
      return 0;
    case WM_SETFOCUS:
      SetFocusPane(pane);
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
      return 0;
    case WM_RBUTTONDOWN:
      OnEditorRightClick(lParam);
      return 0;
    case WM_KEYDOWN:
      OnEditorKeyDown(wParam);
      return 0;
    case WM_KEYUP:
      OnEditorKeyUp(wParam);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) OnEditorCancel();
      return 0;
  }
  return CallWindowProcW(g_editor.paneProc, pane, message, wParam, lParam);
}

}  // namespace

EditorState& Editor() { return g_editor; }

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
  SetStatusText(nullptr, IMAGE_SIZE_PART);
  ShowSelectionStatus();
  SendMessageW(g_editor.pane, WM_EDITOR_REPAINT, 0, 0);
  if (path == nullptr) return;

  if (!PathFileExistsW(path) || PathIsDirectoryW(path)) {
    ReportError(LBL_FILE_NOT_FOUND, path, MB_ICONWARNING);
    return;
  }
  const wchar_t* decoded = path;
  if (Settings().options.CopySourceToTemp) {
    if (!MakeTempCopy(path, g_editor.tempCopyPath)) {
      FailLoad(path, LBL_TEMP_COPY_ERROR, MB_ICONERROR);
      return;
    }
    decoded = g_editor.tempCopyPath;
  }
  g_editor.source = GdiBitmap::FromFile(decoded);
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
  Size screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  FitImage(g_editor.source, screen, &g_editor.screenPreview, false);
  if (!g_editor.hasRects) {
    g_editor.crop = {};
    g_editor.screen = {};
    g_editor.hasRects = true;
  }
  ShowImageSize();
  SetInitialSelection();
  UpdateSelection(0, SelectionField::X, NO_NOTIFY | BEFORE_READY);
  ShowSelectionStatus();
}

void ClearEditor(bool releaseRectangles) {
  g_editor.ready = false;
  EndEditorDrag();
  g_editor.source.Reset();
  g_editor.screenPreview.Reset();
  g_editor.panePreview.Reset();
  DeleteTempCopy();
  if (releaseRectangles) g_editor.hasRects = false;
}

void ShowSelectionStatus() {
  if (Settings().options.ViewOnlyImages || !g_editor.source) {
    SetStatusText(nullptr, SELECTION_PART);
    return;
  }
  const Rect& crop = g_editor.crop;
  wchar_t text[96];
  std::swprintf(text, 96, L"%d x %d   (%d, %d)", crop.width, crop.height, crop.x, crop.y);
  SetStatusText(text, SELECTION_PART);
}

void SetEditorReady() { g_editor.ready = true; }

void FlipRatioSwapped() { g_editor.ratioSwapped = !g_editor.ratioSwapped; }

GdiBitmap& SourceImage() { return g_editor.source; }

bool HasEditorImage() { return static_cast<bool>(g_editor.source); }

Rect CropRect() { return g_editor.crop; }
