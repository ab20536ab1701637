// Drawing the editor pane: the background, the picture from its previews,
// and the selection's outline, plain red or with marching dashes.
#include <windows.h>

#include <vector>

#include "base/colours.h"
#include "editor/editor_state.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace {

constexpr UINT PUSHED_AWAY = 0x7FFFFFFF;
constexpr UINT ANIMATION_PERIOD = 500;
constexpr ARGB RED = 0xFFFF0000;
constexpr ARGB WHITE = 0xFFFFFFFF;
constexpr ARGB BLACK = 0xFF000000;
constexpr WPARAM SELECTION_REPAINT = 1;
constexpr WPARAM OUTLINE_ONLY = 2;

ARGB BackgroundColour() {
  if (!Settings().options.EditorSystemColor) return DIM_GREY_ARGB;
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  return 0xFF000000u | (static_cast<ARGB>(GetRValue(window)) << 16) |
         (static_cast<ARGB>(GetGValue(window)) << 8) | GetBValue(window);
}

// The black dashes of an edge as a strip one pixel thick, clear between
// the dashes. Drawn over the white outline, each strip puts a whole edge's
// dashes on the pane at once; where two edges meet, black wins.
class DashStrip {
 public:
  DashStrip(int32_t from, int32_t to, int phase, bool horizontal)
      : pixels_(static_cast<std::size_t>(to - from + 1), 0) {
    for (const Dash& dash : DashSegments(from, to, phase)) {
      for (int32_t at = dash.first; at <= dash.last; ++at) pixels_[at - from] = BLACK;
    }
    const int length = static_cast<int>(pixels_.size());
    bitmap_ =
        GdiBitmap::OverPixels(horizontal ? length : 1, horizontal ? 1 : length, pixels_.data());
  }
  const GdiBitmap& bitmap() const { return bitmap_; }

 private:
  std::vector<ARGB> pixels_;
  GdiBitmap bitmap_;
};

void DrawSelection(GdiGraphics& graphics, const Rect& outline) {
  if (!Settings().options.EnhancedSelection) {
    const GdiPen red(RED);
    graphics.DrawRectangle(red, outline.x, outline.y, outline.width, outline.height);
    return;
  }
  const GdiPen white(WHITE);
  graphics.DrawRectangle(white, outline.x, outline.y, outline.width, outline.height);
  const int phase = Editor().antsPhase;
  const int32_t right = outline.x + outline.width;
  const int32_t bottom = outline.y + outline.height;
  const DashStrip across(outline.x, right, phase, true);
  const DashStrip down(outline.y, bottom, phase, false);
  graphics.DrawImageAt(across.bitmap(), outline.x, outline.y);
  graphics.DrawImageAt(across.bitmap(), outline.x, bottom);
  graphics.DrawImageAt(down.bitmap(), outline.x, outline.y);
  graphics.DrawImageAt(down.bitmap(), right, outline.y);
}

bool HasOutline(const Rect& outline) { return outline.width > 0 && outline.height > 0; }

// The pane's picture without the outline, kept from the last full repaint,
// so that a moving selection only puts back the strips under its old
// outline: a few small blits instead of GDI+ drawing the picture again.
struct PaneImage {
  HBITMAP bitmap = nullptr;
  int width = 0;
  int height = 0;
  bool current = false;  // drawn for the picture and previews shown now
};

PaneImage g_paneImage;

// A memory DC holding the pane image, for the time of one repaint.
class PaneImageDc {
 public:
  explicit PaneImageDc(HDC pane) : dc_(CreateCompatibleDC(pane)) {
    if (dc_ != nullptr) old_ = SelectObject(dc_, g_paneImage.bitmap);
  }
  ~PaneImageDc() {
    if (dc_ == nullptr) return;
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  PaneImageDc(const PaneImageDc&) = delete;
  PaneImageDc& operator=(const PaneImageDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// Draws the background and the picture into the pane image, made anew when
// the pane's size changed; false when it cannot be had.
bool DrawPaneImage(HDC pane, const RECT& client, const ImagePlacement& place, ARGB background) {
  EditorState& editor = Editor();
  if (g_paneImage.bitmap == nullptr || g_paneImage.width != client.right ||
      g_paneImage.height != client.bottom) {
    DropPaneImage();
    g_paneImage.bitmap = CreateCompatibleBitmap(pane, client.right, client.bottom);
    if (g_paneImage.bitmap == nullptr) return false;
    g_paneImage.width = client.right;
    g_paneImage.height = client.bottom;
  }
  const PaneImageDc image(pane);
  if (image.get() == nullptr) return false;
  GdiGraphics graphics(image.get());
  graphics.ExcludeClip(place.offsetX, place.offsetY, place.fit.width, place.fit.height);
  graphics.Clear(background);
  graphics.ResetClip();
  const GdiBitmap& preview = editor.panePreview ? editor.panePreview : editor.screenPreview;
  graphics.DrawImage(preview, place.offsetX, place.offsetY, place.fit.width, place.fit.height);
  g_paneImage.current = true;
  return true;
}

// Puts the pane image back over the old outline: a strip along each edge,
// a pixel wider on each side than the line.
void EraseOutline(HDC pane, const Rect& old) {
  const PaneImageDc image(pane);
  const RECT strips[] = {
      {old.x - 1, old.y - 1, old.x + old.width + 2, old.y + 2},
      {old.x - 1, old.y + old.height - 1, old.x + old.width + 2, old.y + old.height + 2},
      {old.x - 1, old.y - 1, old.x + 2, old.y + old.height + 2},
      {old.x + old.width - 1, old.y - 1, old.x + old.width + 2, old.y + old.height + 2},
  };
  for (const RECT& strip : strips) {
    BitBlt(pane, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top,
           image.get(), strip.left, strip.top, SRCCOPY);
  }
}

void PaintPicture(HDC pane, WPARAM kind, ARGB background) {
  EditorState& editor = Editor();
  RECT client;
  GetClientRect(editor.pane, &client);
  const ImagePlacement place =
      PlaceImage(client.right, client.bottom, static_cast<int32_t>(editor.source.Width()),
                 static_cast<int32_t>(editor.source.Height()));
  const bool imageKept = g_paneImage.current && g_paneImage.width == client.right &&
                         g_paneImage.height == client.bottom;
  if (!editor.panePreview && !editor.resizePending && place.fit.width > 0) {
    Size exact = place.fit;
    FitImage(editor.screenPreview, exact, &editor.panePreview, true);
  }
  editor.resizePending = false;
  const bool viewOnly = Settings().options.ViewOnlyImages;
  const Rect outline = viewOnly ? Rect{} : ImageToPane(editor.crop, place);

  if (kind == SELECTION_REPAINT && imageKept) {
    EraseOutline(pane, editor.screen);
  } else {
    if (!DrawPaneImage(pane, client, place, background)) return;
    const PaneImageDc image(pane);
    BitBlt(pane, 0, 0, client.right, client.bottom, image.get(), 0, 0, SRCCOPY);
  }
  if (HasOutline(outline)) {
    editor.screen = outline;
    GdiGraphics graphics(pane);
    DrawSelection(graphics, outline);
  }
}

}  // namespace

void DropPaneImage() {
  if (g_paneImage.bitmap != nullptr) DeleteObject(g_paneImage.bitmap);
  g_paneImage = PaneImage{};
}

void RepaintEditor(WPARAM kind) {
  EditorState& editor = Editor();
  if (kind == OUTLINE_ONLY) {
    if (!editor.ready || !editor.source || !HasOutline(editor.screen)) return;
    GdiGraphics graphics(editor.pane);
    DrawSelection(graphics, editor.screen);
    return;
  }
  // No animation step may run in the middle of the repaint.
  SetTimer(editor.pane, IDT_OUTLINE_ANIMATION, PUSHED_AWAY, nullptr);
  const HDC pane = GetDC(editor.pane);
  const ARGB background = BackgroundColour();
  if (!editor.ready || !editor.source) {
    GdiGraphics graphics(pane);
    graphics.Clear(background);
  } else {
    PaintPicture(pane, kind, background);
  }
  ReleaseDC(editor.pane, pane);
  SetTimer(editor.pane, IDT_OUTLINE_ANIMATION, ANIMATION_PERIOD, nullptr);
}

void AnimateOutline() {
  EditorState& editor = Editor();
  const Options& options = Settings().options;
  if (options.ViewOnlyImages || !options.EnhancedSelection || editor.drag.active) return;
  SetTimer(editor.pane, IDT_OUTLINE_ANIMATION, PUSHED_AWAY, nullptr);
  editor.antsPhase = NextAntsPhase(editor.antsPhase);
  SendMessageW(editor.pane, WM_EDITOR_REPAINT, OUTLINE_ONLY, 0);
  SetTimer(editor.pane, IDT_OUTLINE_ANIMATION, ANIMATION_PERIOD, nullptr);
}
