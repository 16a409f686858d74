#pragma once

#include <functional>

namespace qilo {

// A read-only field never scrolls a text away: its font shrinks one pixel at
// a time until the whole text fits, and no further than this.
inline constexpr int kFitFontFloorPx = 7;

struct FittedFont {
  int pixel_size;  // the character height to draw the text in
  bool fits;       // false: even at the floor the text is wider than the room
};

// The largest character height from `layout_px` down to `floor_px` at which
// `text_width(px)` (the text's width in pixels at that height) is at most
// `room` pixels. When none is, the floor with `fits` false. A `floor_px`
// above `layout_px` is taken as `layout_px`: the layout font never grows.
FittedFont FitFontSize(int layout_px, int floor_px, int room,
                       const std::function<int(int px)>& text_width);

}  // namespace qilo
