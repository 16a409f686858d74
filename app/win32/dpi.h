#pragma once

#include <windows.h>

#include <algorithm>

namespace qilo {

// The layout is drawn at 96 pixels per inch; a window at `dpi` shows each
// length times dpi/96.
inline constexpr int kLayoutDpi = 96;

// The device pixel of layout position `v`, rounded half up. Edges are
// scaled, not sizes, so that neighbours that touch in the layout still do.
constexpr int Scaled(int v, int dpi) {
  const long long n = static_cast<long long>(v) * dpi + kLayoutDpi / 2;
  return static_cast<int>(n >= 0 ? n / kLayoutDpi
                                 : -((-n + kLayoutDpi - 1) / kLayoutDpi));
}

// The layout position whose scaled cell holds device pixel `x`: the largest
// v with Scaled(v) <= x, so that x lies in [Scaled(l), Scaled(l + w)) exactly
// when the result lies in [l, l + w).
constexpr int Unscaled(int x, int dpi) {
  const long long n =
      static_cast<long long>(x) * kLayoutDpi + kLayoutDpi / 2 - 1;
  return static_cast<int>(n >= 0 ? n / dpi : -((-n + dpi - 1) / dpi));
}

// The device rectangle of a layout rectangle.
constexpr RECT ScaledRect(int left, int top, int width, int height, int dpi) {
  return RECT{Scaled(left, dpi), Scaled(top, dpi), Scaled(left + width, dpi),
              Scaled(top + height, dpi)};
}

// The dots per inch of the system: the screen's, before a window has its own.
int SystemDpi();

// The dots per inch of the monitor `hwnd` is on, where the system can say;
// else SystemDpi().
int WindowDpi(HWND hwnd);

// The system metric `index` (SM_CXICON, SM_CXCURSOR ...) for a window at
// `dpi`, as the system gives it where it can; else the metric at the
// system's dots per inch scaled to `dpi`.
int MetricForDpi(int index, int dpi);

// How many device pixels wide a one-pixel frame line is drawn at `dpi`: the
// whole pixels of the scale, rounded down, at least 1. The edit bevels and
// the frames of the flat buttons and the group box are drawn alike.
constexpr int FrameLine(int dpi) { return std::max(1, dpi / kLayoutDpi); }

}  // namespace qilo
