// How a surface draws its background, the group frame and its pictures,
// labels and flat buttons. Painting raises nothing of its own: what cannot be
// drawn is left out, and the next paint tries again.
#include <algorithm>

#include "app/caption_ink.h"
#include "app/win32/handles.h"
#include "app/win32/main_window.h"
#include "app/win32/surface.h"

namespace qilo {

RECT DrawRect(const Item& item) {
  const Control& c = *item.control;
  int width = c.width;
  int height = c.height;
  const ControlSpec& layout = *item.layout;
  if (layout.kind == ControlKind::kPicture &&
      layout.picture_mode != PictureMode::kStretch && item.picture.bitmap) {
    width = item.picture.size.cx;
    height = item.picture.size.cy;
  } else if (layout.kind == ControlKind::kLabel) {
    // Auto-size: the caption's size, never less than the layout's.
    width = std::max(width, static_cast<int>(item.extent.cx));
    height = std::max(height, static_cast<int>(item.extent.cy));
  }
  return RECT{c.left, c.top, c.left + width, c.top + height};
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
  if (box_ == nullptr) window_.FirstFramePainted();
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
  const Selection selected(dc, window_.Fonts().Get(font, font.pixel_size));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  RECT frame = {0, metrics.tmHeight / 2, width, height};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::wstring& text = box_->text;
  if (text.empty()) return;
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  RECT caption = {8, 0, 8 + size.cx + 2, metrics.tmHeight};
  FillRect(dc, &caption, window_.Cream());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(box_->control->font_colour));
  TextOutW(dc, 9, 0, text.c_str(), static_cast<int>(text.size()));
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
      // Raised while the pointer is over it, sunken while it is held there.
      RECT r = DrawRect(item);
      if (pressed_ == &item && hovered_ == &item) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      } else if (hovered_ == &item && pressed_ == nullptr) {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
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
  const RECT r = DrawRect(item);
  const SIZE b = picture.size;
  if (item.layout->picture_mode == PictureMode::kStretch) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top,
               source.Get(), 0, 0, b.cx, b.cy, SRCCOPY);
  } else if (item.control->transparent) {
    TransparentBlt(dc, r.left, r.top, b.cx, b.cy, source.Get(), 0, 0, b.cx,
                   b.cy, picture.key_colour);
  } else {
    BitBlt(dc, r.left, r.top, b.cx, b.cy, source.Get(), 0, 0, SRCCOPY);
  }
}

void Surface::PaintLabel(HDC dc, const Item& item) {
  const Control& c = *item.control;
  // An opaque label fills the rectangle the layout gives it, not its
  // caption's: one wider in the substitute face covers no neighbour (the
  // "。" beside each "%").
  const RECT fill = {c.left, c.top, c.left + c.width, c.top + c.height};
  if (!c.transparent) FillRect(dc, &fill, window_.Cream());
  SetDCBrushColor(dc, ToColorRef(c.font_colour));
  if (IsRule(*item.layout)) {
    // The underscores as the layout's face sets them: one line.
    const RuleLine line = RuleLineOf(c);
    const RECT stroke = {line.left, line.top, line.left + line.width,
                         line.top + 1};
    FillRect(dc, &stroke, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return;
  }
  RECT r = DrawRect(item);
  // The full stop's ink where SimSun sets it, clear of the "%" above it.
  if (IsFullStop(*item.layout)) {
    OffsetRect(&r, kFullStopInkLeft - item.ink_left, 0);
  }
  const FontSpec& font = item.layout->font;
  const Selection selected(dc, window_.Fonts().Get(font, font.pixel_size));
  SetTextColor(dc, ToColorRef(c.font_colour));
  DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &r,
            DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
}

}  // namespace qilo
