// Drawing the editor pane: the background, the picture from its previews,
// and the selection's outline, plain red or with marching dashes.
#include <windows.h>

#include <vector>

#include "base/colours.h"
#include "editor/editor_state.h"
#include "resources/resource.h"

namespace {

constexpr UINT PUSHED_AWAY = 0x7FFFFFFF;
constexpr UINT ANIMATION_PERIOD = 500;
constexpr ARGB RED = 0xFFFF0000;
constexpr ARGB WHITE = 0xFFFFFFFF;
constexpr ARGB BLACK = 0xFF000000;
constexpr WPARAM SELECTION_REPAINT = 1;
constexpr WPARAM OUTLINE_ONLY = 2;

ARGB BackgroundColour(const EditorState& editor) {
  if (!editor.options.systemColour) return DIM_GREY_ARGB;
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

void DrawSelection(const EditorState& editor, GdiGraphics& graphics, const Rect& outline) {
  if (!editor.options.enhancedSelection) {
    const GdiPen red(RED);
    graphics.DrawRectangle(red, outline.x, outline.y, outline.width, outline.height);
    return;
  }
  const GdiPen white(WHITE);
  graphics.DrawRectangle(white, outline.x, outline.y, outline.width, outline.height);
  const int phase = editor.antsPhase;
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

// A memory DC holding the pane image, for the time of one repaint.
class PaneImageDc {
 public:
  PaneImageDc(HDC pane, const PaneImage& image) : dc_(CreateCompatibleDC(pane)) {
    if (dc_ != nullptr) old_ = SelectObject(dc_, image.bitmap);
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
bool DrawPaneImage(EditorState& editor, HDC pane, const RECT& client, const ImagePlacement& place,
                   ARGB background) {
  PaneImage& paneImage = editor.paneImage;
  if (paneImage.bitmap == nullptr || paneImage.width != client.right ||
      paneImage.height != client.bottom) {
    DropPaneImage(editor);
    paneImage.bitmap = CreateCompatibleBitmap(pane, client.right, client.bottom);
    if (paneImage.bitmap == nullptr) return false;
    paneImage.width = client.right;
    paneImage.height = client.bottom;
  }
  const PaneImageDc image(pane, paneImage);
  if (image.get() == nullptr) return false;
  GdiGraphics graphics(image.get());
  const GdiBitmap& preview =
      editor.panePreview ? editor.panePreview : editor.picture->screenPreview;
  // An opaque picture covers its place; one with an alpha channel shows the
  // background through it.
  if (!preview.HasAlpha()) {
    graphics.ExcludeClip(place.offsetX, place.offsetY, place.fit.width, place.fit.height);
  }
  graphics.Clear(background);
  graphics.ResetClip();
  graphics.DrawImage(preview, place.offsetX, place.offsetY, place.fit.width, place.fit.height);
  // Drawn from the screen preview while a resize goes on, it is redrawn from
  // the pane's own at the next paint, so that a moved selection never puts
  // back pixels that a full repaint would not draw.
  paneImage.current = static_cast<bool>(editor.panePreview);
  return true;
}

// Puts the pane image back over the old outline: a strip along each edge,
// a pixel wider on each side than the line.
void EraseOutline(const EditorState& editor, HDC pane, const Rect& old) {
  const PaneImageDc image(pane, editor.paneImage);
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

void PaintPicture(EditorState& editor, HDC pane, WPARAM kind, ARGB background) {
  GdiBitmap& source = editor.Source();
  const PaneImage& paneImage = editor.paneImage;
  RECT client;
  GetClientRect(editor.pane, &client);
  const ImagePlacement place =
      PlaceImage(client.right, client.bottom, static_cast<int32_t>(source.Width()),
                 static_cast<int32_t>(source.Height()));
  const bool imageKept = paneImage.current && paneImage.width == client.right &&
                         paneImage.height == client.bottom;
  if (!editor.panePreview && !editor.resizePending && place.fit.width > 0) {
    Size exact = place.fit;
    FitImage(editor.picture->screenPreview, exact, &editor.panePreview, true);
  }
  editor.resizePending = false;
  const bool viewOnly = editor.options.viewOnly;
  const Rect outline = viewOnly ? Rect{} : ImageToPane(editor.crop, place);

  if (kind == SELECTION_REPAINT && imageKept) {
    EraseOutline(editor, pane, editor.screen);
  } else {
    if (!DrawPaneImage(editor, pane, client, place, background)) return;
    const PaneImageDc image(pane, paneImage);
    BitBlt(pane, 0, 0, client.right, client.bottom, image.get(), 0, 0, SRCCOPY);
  }
  if (HasOutline(outline)) {
    editor.screen = outline;
    GdiGraphics graphics(pane);
    DrawSelection(editor, graphics, outline);
  }
}

}  // namespace

void DropPaneImage(EditorState& editor) {
  if (editor.paneImage.bitmap != nullptr) DeleteObject(editor.paneImage.bitmap);
  editor.paneImage = PaneImage{};
}

void RepaintEditor(EditorState& editor, WPARAM kind) {
  if (kind == OUTLINE_ONLY) {
    if (!editor.ready || !editor.HasPicture() || !HasOutline(editor.screen)) return;
    GdiGraphics graphics(editor.pane);
    DrawSelection(editor, graphics, editor.screen);
    return;
  }
  // No animation step may run in the middle of the repaint.
  SetTimer(editor.pane, IDT_OUTLINE_ANIMATION, PUSHED_AWAY, nullptr);
  const HDC pane = GetDC(editor.pane);
  const ARGB background = BackgroundColour(editor);
  if (!editor.ready || !editor.HasPicture()) {
    GdiGraphics graphics(pane);
    graphics.Clear(background);
  } else {
    PaintPicture(editor, pane, kind, background);
  }
  ReleaseDC(editor.pane, pane);
  SetTimer(editor.pane, IDT_OUTLINE_ANIMATION, ANIMATION_PERIOD, nullptr);
}

void AnimateOutline(EditorState& editor) {
  const EditorOptions& options = editor.options;
  if (options.viewOnly || !options.enhancedSelection || editor.drag.active) return;
  SetTimer(editor.pane, IDT_OUTLINE_ANIMATION, PUSHED_AWAY, nullptr);
  editor.antsPhase = NextAntsPhase(editor.antsPhase);
  SendMessageW(editor.pane, WM_EDITOR_REPAINT, OUTLINE_ONLY, 0);
  SetTimer(editor.pane, IDT_OUTLINE_ANIMATION, ANIMATION_PERIOD, nullptr);
}
