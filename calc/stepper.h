#pragma once

#include <optional>

#include "calc/number.h"
#include "calc/precision.h"

namespace qilo {

// The value stepper of the price fields and the share count.

enum class StepDirection { kUp, kDown };

// A press of a step button steps once, pauses this long, then repeats on the
// step timer until released; an arrow key steps once per key down (the
// keyboard repeats it).
inline constexpr int kStepRepeatPauseMs = 200;

// The pattern the share count is written with.
inline constexpr char kCountFormat[] = "%.0f";

// The signed step of a price field: up 0.5, down 0.01 at two decimals; a
// tenth of those (0.05, 0.001) at three.
Number PriceStep(Precision precision, StepDirection direction);

// The signed step of the share count: 100 shares either way.
Number CountStep(StepDirection direction);

// The value after one step from `current`: current + step, except that a down
// step never goes below one step (prices stop at 0.01 or 0.001, counts at
// 100). Throws EOverflow when the sum leaves the range.
Number NextStepValue(Number current, Number step);

// The direction an arrow key steps in (kVkUp, kVkDown); nothing for any other
// virtual key.
std::optional<StepDirection> StepForKey(int virtual_key);

}  // namespace qilo
