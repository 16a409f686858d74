#pragma once

#include <cfloat>
#include <compare>
#include <string>

#include "text/exception.h"

namespace qilo {

QILO_DECLARE_EXCEPTION(EMathError, Exception);
QILO_DECLARE_EXCEPTION(EZeroDivide, EMathError);
QILO_DECLARE_EXCEPTION(EInvalidOp, EMathError);
QILO_DECLARE_EXCEPTION(EOverflow, EMathError);

static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384,
              "Number needs the 80-bit extended long double (x86 GCC)");

// A price, amount, rate or count: an 80-bit extended value whose arithmetic
// raises instead of producing infinities or NaNs. Each operation is one
// extended operation rounded to nearest, ties to even.
class Number {
 public:
  constexpr Number() = default;
  constexpr Number(long double value) : value_(value) {}  // NOLINT: implicit
  constexpr long double Value() const { return value_; }

  // Throw EOverflow when the result leaves the range, EInvalidOp when it has
  // no value (0/0), EZeroDivide on x/0 for x != 0.
  friend Number operator+(Number a, Number b) {
    return Checked(a.value_ + b.value_);
  }
  friend Number operator-(Number a, Number b) {
    return Checked(a.value_ - b.value_);
  }
  friend Number operator*(Number a, Number b) {
    return Checked(a.value_ * b.value_);
  }
  friend Number operator/(Number a, Number b);
  friend Number operator-(Number a) { return Number(-a.value_); }

  friend bool operator==(Number a, Number b) { return a.value_ == b.value_; }
  friend std::partial_ordering operator<=>(Number a, Number b) {
    return a.value_ <=> b.value_;
  }

 private:
  static Number Checked(long double result);
  long double value_ = 0;
};

// |x|
Number Abs(Number x);

// The 80 bits of x as 20 upper-case hex digits, sign and exponent first, then
// the 64-bit significand: "4002A000000000000000" for 10.
std::string NumberBits(Number x);

}  // namespace qilo
