#include "calc/stepper.h"

#include "calc/key_codes.h"

namespace qilo {

Number PriceStep(Precision precision, StepDirection direction) {
  const Number step = direction == StepDirection::kUp ? 0.5L : -0.01L;
  // Divided, not written as 0.05 and 0.001: the division's rounding is the
  // step the window has always taken.
  return precision == Precision::kThree ? step / 10 : step;
}

Number CountStep(StepDirection direction) {
  return direction == StepDirection::kUp ? 100 : -100;
}

Number NextStepValue(Number current, Number step) {
  if (current > 2 * Abs(step) || step >= 0) return step + current;
  return Abs(step);
}

std::optional<StepDirection> StepForKey(int virtual_key) {
  if (virtual_key == kVkUp) return StepDirection::kUp;
  if (virtual_key == kVkDown) return StepDirection::kDown;
  return std::nullopt;
}

}  // namespace qilo
