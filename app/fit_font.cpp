#include "app/fit_font.h"

#include <algorithm>

namespace qilo {

FittedFont FitFontSize(int layout_px, int floor_px, int room,
                       const std::function<int(int px)>& text_width) {
  const int floor = std::min(floor_px, layout_px);
  for (int px = layout_px; px >= floor; --px) {
    if (text_width(px) <= room) return {px, true};
  }
  return {floor, false};
}

}  // namespace qilo
