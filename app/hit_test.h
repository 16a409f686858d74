#pragma once

namespace qilo {

enum class HitArea { kClient, kCaption };

// The window's non-client hit-test: inside the strip over the title band
// (strictly between 30 and 430 pixels right of the window's left edge and
// between 1 and 23 below its top) the platform's answer, with "client" turned
// into "caption" so that the user drags the window there; "client" elsewhere.
// (x, y) and (left, top) are screen positions, or window positions with
// (left, top) = (0, 0) where the platform gives no screen positions.
inline HitArea DragStripHitTest(int x, int y, int left, int top,
                                HitArea platform_answer) {
  if (left + 30 < x && x < left + 430 && top + 1 < y && y < top + 23) {
    return platform_answer == HitArea::kClient ? HitArea::kCaption
                                               : platform_answer;
  }
  return HitArea::kClient;
}

}  // namespace qilo
