#include "calc/number.h"

#include <cmath>
#include <cstring>

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

std::string NumberBits(Number x) {
  const long double v = x.Value();
  unsigned char bytes[10];
  std::memcpy(bytes, &v, sizeof bytes);
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (int i = 9; i >= 0; --i) {
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 15];
  }
  return out;
}

}  // namespace qilo
