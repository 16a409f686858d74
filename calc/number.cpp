#include "calc/number.h"

#include <cmath>

namespace qilo {

Number Number::Checked(long double result) {
  // Operands are always finite, so a non-finite result means the operation
  // failed.
  if (std::isnan(result)) throw EInvalidOp("Invalid floating point operation");
  if (std::isinf(result)) throw EOverflow("Floating point overflow");
  return Number(result);
}

Number operator/(Number a, Number b) {
  if (b.value_ == 0) {
    if (a.value_ == 0) throw EInvalidOp("Invalid floating point operation");
    throw EZeroDivide("Floating point division by zero");
  }
  return Number::Checked(a.value_ / b.value_);
}

Number Abs(Number x) { return Number(std::fabs(x.Value())); }

}  // namespace qilo
