#pragma once

#include <span>
#include <vector>

#include "app/control.h"
#include "app/layout.h"

namespace qilo {

// The edit fields and radio buttons of `layout` in tab order: by the tab
// order of the window's windowed child that holds each one, then by its own
// order there; equal orders keep the table's order. Hidden fields and
// buttons that are no tab stop stay in the chain: front ends skip them when
// they move the focus.
std::vector<const ControlSpec*> TabChain(std::span<const ControlSpec> layout);

// The controls with widgets directly under `parent` (nullptr: the window),
// bottom first: pictures, labels and flat buttons beneath panels, group
// boxes, edit fields and radio buttons; a later entry above an earlier one
// within each group. Timers have no place in it.
std::vector<const ControlSpec*> StackingOrder(
    std::span<const ControlSpec> layout, const char* parent);

// The radio button an arrow key moves to from `from`: the next (direction
// +1) or previous (-1) visible radio button of the same parent in the
// layout's order, wrapping round; nullptr when there is no other.
Control* NextRadio(TFrmMain& form, const Control& from, int direction);

// The topmost visible control of `bottom_first` whose rectangle (left, top,
// width, height in the parent's coordinates) holds the point (x, y), or
// nullptr. The left and top edges belong to a control, the right and bottom
// ones do not.
Control* ControlAt(std::span<Control* const> bottom_first, int x, int y);

}  // namespace qilo
