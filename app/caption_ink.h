#pragma once

#include <cstddef>

#include "app/control.h"
#include "app/layout.h"

namespace qilo {

// Where two kinds of caption put their ink in the faces the layout names.
// The substitute faces put it elsewhere, so both front ends draw these two
// from here rather than from the substitute's glyphs.

// True when the layout gives `label` a caption made only of underscores
// (Label16, Label17): a rule drawn with text.
bool IsRule(const ControlSpec& label);

// A one-pixel line, in the label's parent's coordinates.
struct RuleLine {
  int left = 0;
  int top = 0;
  int width = 0;
  friend bool operator==(const RuleLine&, const RuleLine&) = default;
};

// The line a rule label shows: "MS Sans Serif" sets "_" as a one-pixel
// stroke across its whole advance on the bottom row of its cell, so the
// underscores join into one line on the label's bottom row, as wide as the
// label. The parent clips what lies outside it.
RuleLine RuleLineOf(const Control& label);

// True when the layout gives `label` the caption "。" (the ideographic full
// stop after each per-mille "%", Label18, Label19, Label20).
bool IsFullStop(const ControlSpec& label);

// The column of its cell where the full stop's ink begins, as SimSun sets
// it: just right of the opaque "%" label, which overlaps the cell's first
// two columns and lies above it. A front end moves the glyph so that its
// measured ink begins here, whatever the face's own placement.
inline constexpr int kFullStopInkLeft = 2;

// How much of a caption a front end draws: all of it, but an underlined one
// without its trailing blanks, which widen the label (the contact label's
// six) and would draw the underline on past the text.
// `Text` is a view of UTF-16 units (std::wstring_view, QStringView).
template <typename Text>
size_t DrawnLength(const Text& caption, bool underlined) {
  size_t length = static_cast<size_t>(caption.size());
  while (underlined && length > 0 && caption[length - 1] == u' ') --length;
  return length;
}

}  // namespace qilo
