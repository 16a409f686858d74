// How a surface draws its background, the group frame and its pictures,
// labels and flat buttons. Painting raises nothing of its own: what cannot be
// drawn is left out, and the next paint tries again.
#include <algorithm>
#include <string_view>

#include "app/caption_ink.h"
#include "app/win32/dpi.h"
#include "app/win32/handles.h"
#include "app/win32/main_window.h"
#include "app/win32/surface.h"

namespace qilo {

RECT DrawRect(const Item& item, int dpi) {
  const Control& c = *item.control;
  int width = c.width;
  int height = c.height;
  const ControlSpec& layout = *item.layout;
  const Picture& picture = item.picture;
  if (layout.kind == ControlKind::kPicture &&
      layout.picture_mode != PictureMode::kStretch && picture.bitmap) {
    // Drawn for this very scale: shown pixel for pixel.
    if (picture.percent * kLayoutDpi == dpi * 100) {
      const int left = Scaled(c.left, dpi);
      const int top = Scaled(c.top, dpi);
      return RECT{left, top, left + picture.size.cx, top + picture.size.cy};
    }
    width = picture.layout_size.cx;
    height = picture.layout_size.cy;
  }
  RECT r = ScaledRect(c.left, c.top, width, height, dpi);
  if (layout.kind == ControlKind::kLabel) {
    // Auto-size: the caption's size, never less than the layout's.
    r.right = std::max(r.right, r.left + static_cast<int>(item.extent.cx));
    r.bottom = std::max(r.bottom, r.top + static_cast<int>(item.extent.cy));
  }
  return r;
}

// Double-buffered: drawn into a memory bitmap and copied in one go, or
// straight onto the screen when there is no memory for a bitmap.
void Surface::Paint() {
  const PaintDc paint(hwnd_);
  RECT client;
  GetClientRect(hwnd_, &client);
  const OwnedDc memory(CreateCompatibleDC(paint.Get()));
  const OwnedBitmap bitmap(
      memory ? CreateCompatibleBitmap(paint.Get(), client.right, client.bottom)
             : nullptr);
  if (bitmap) {
    const Selection selected(memory.Get(), bitmap.Get());
    PaintContent(memory.Get(), client);
    BitBlt(paint.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0,
           SRCCOPY);
  } else {
    PaintContent(paint.Get(), client);
  }
  if (box_ == nullptr) window_.MainPainted();
}

void Surface::PaintContent(HDC dc, const RECT& client) {
  FillRect(dc, &client, window_.Cream());
  if (box_ != nullptr && box_->layout->kind == ControlKind::kGroupBox) {
    PaintGroupFrame(dc, client.right, client.bottom);
  }
  SetBkMode(dc, TRANSPARENT);
  for (const Item* item : graphic_) {
    if (item->control->visible) PaintItem(dc, *item);
  }
}

void Surface::PaintGroupFrame(HDC dc, int width, int height) {
  const FontSpec& font = box_->layout->font;
  const Selection selected(dc, window_.FontOf(font));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  // The etched frame's two lines, each as wide as the edit bevels'.
  RECT frame = {0, metrics.tmHeight / 2, width, height};
  const int line = FrameLine(window_.Dpi());
  for (const UINT edge : {BDR_SUNKENOUTER, BDR_RAISEDINNER}) {
    for (int i = 0; i < line; ++i) {
      DrawEdge(dc, &frame, edge, BF_RECT);
      InflateRect(&frame, -1, -1);
    }
  }
  const std::wstring& text = box_->text;
  if (text.empty()) return;
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  const int left = window_.Px(8);
  RECT caption = {left, 0, left + size.cx + window_.Px(2), metrics.tmHeight};
  FillRect(dc, &caption, window_.Cream());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(box_->control->font_colour));
  TextOutW(dc, window_.Px(9), 0, text.c_str(), static_cast<int>(text.size()));
}

void Surface::PaintItem(HDC dc, const Item& item) {
  switch (item.layout->kind) {
    case ControlKind::kPicture:
      PaintPicture(dc, item);
      return;
    case ControlKind::kLabel:
      PaintLabel(dc, item);
      return;
    case ControlKind::kFlatButton: {
      // Raised while the pointer is over it, sunken while it is held there;
      // the frame as many whole pixels wide as the scale.
      RECT r = DrawRect(item, window_.Dpi());
      UINT edge = 0;
      if (pressed_ == &item && hovered_ == &item) {
        edge = BDR_SUNKENOUTER;
      } else if (hovered_ == &item && pressed_ == nullptr) {
        edge = BDR_RAISEDINNER;
      }
      if (edge == 0) return;
      for (int i = FrameLine(window_.Dpi()); i > 0; --i) {
        DrawEdge(dc, &r, edge, BF_RECT);
        InflateRect(&r, -1, -1);
      }
      return;
    }
    default:
      return;
  }
}

void Surface::PaintPicture(HDC dc, const Item& item) {
  const Picture& picture = item.picture;
  const OwnedDc source(CreateCompatibleDC(dc));
  if (!picture.bitmap || !source) return;
  const Selection selected(source.Get(), picture.bitmap.Get());
  const RECT r = DrawRect(item, window_.Dpi());
  const SIZE b = picture.size;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (item.control->transparent) {
    // gdi32's own export of msimg32's TransparentBlt: one library fewer to
    // load at start.
    GdiTransparentBlt(dc, r.left, r.top, width, height, source.Get(), 0, 0,
                      b.cx, b.cy, picture.key_colour);
  } else if (width == b.cx && height == b.cy) {
    BitBlt(dc, r.left, r.top, b.cx, b.cy, source.Get(), 0, 0, SRCCOPY);
  } else {
    // A stretched strip repeats its rows or columns; a bitmap drawn for a
    // larger scale is averaged down.
    SetStretchBltMode(dc, item.layout->picture_mode == PictureMode::kStretch
                              ? COLORONCOLOR
                              : HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, r.left, r.top, width, height, source.Get(), 0, 0, b.cx, b.cy,
               SRCCOPY);
  }
}

void Surface::PaintLabel(HDC dc, const Item& item) {
  const Control& c = *item.control;
  // An opaque label fills the rectangle the layout gives it, not its
  // caption's: one wider in the substitute face covers no neighbour (the
  // "。" beside each "%").
  const int dpi = window_.Dpi();
  const RECT fill = ScaledRect(c.left, c.top, c.width, c.height, dpi);
  if (!c.transparent) FillRect(dc, &fill, window_.Cream());
  SetDCBrushColor(dc, ToColorRef(c.font_colour));
  if (IsRule(*item.layout)) {
    // The underscores as the layout's face sets them: one line.
    const RuleLine line = RuleLineOf(c);
    const RECT stroke = ScaledRect(line.left, line.top, line.width, 1, dpi);
    FillRect(dc, &stroke, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return;
  }
  RECT r = DrawRect(item, dpi);
  // The full stop's ink where SimSun sets it, clear of the "%" above it.
  if (IsFullStop(*item.layout)) {
    OffsetRect(
        &r, Scaled(c.left + kFullStopInkLeft, dpi) - r.left - item.ink_left, 0);
  }
  const Selection selected(dc, window_.FontOf(item.layout->font));
  SetTextColor(dc, ToColorRef(c.font_colour));
  const size_t drawn =
      DrawnLength(std::wstring_view(item.text), item.layout->font.underline);
  DrawTextW(dc, item.text.c_str(), static_cast<int>(drawn), &r,
            DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
}

}  // namespace qilo
