#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "calc/number.h"
#include "text/exception.h"

namespace qilo {

QILO_DECLARE_EXCEPTION(EConvertError, Exception);

// The one-byte decimal separator both conversions use; "." until the program
// entry sets the user's own.
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// x × 10^p through the power-of-ten tables: one rounded multiplication (p > 0)
// or division (p < 0) per table factor. |p| ≥ 5120 gives ±infinity or zero;
// an infinity or NaN comes back unchanged.
long double ScalePow10(long double x, int64_t p);

// Reads a number: blanks, sign, digits, separator, digits, exponent, blanks.
// Throws EConvertError "'<text>' is not a valid floating point value" for
// anything else, or when the value overflows. A zero byte ends the text.
Number TextToNumber(std::string_view text);

// The intermediate decimal form: value = 0.d1d2… × 10^exponent.
struct DecimalForm {
  enum Kind { kFinite, kInfinite, kNotANumber };
  Kind kind = kFinite;
  char digits[18] = {};
  int length = 0;  // count of digits; 0 for zero
  int exponent = 0;
  bool negative = false;
};

// v rounded half away from zero on its 18-digit decimal form to `decimals`
// (0 to 18) places.
DecimalForm ToDecimalForm(Number v, int decimals);

// v with exactly `decimals` (0 to 18) fraction digits, "-" only when the
// rounded value is not zero, the current separator; values of 10^18 and more in
// the long form ("1.5E020").
std::string FormatFixed(Number v, int decimals);

// FormatFixed with the count of decimals of a "%.<n>f" pattern ("%.2f").
std::string FormatPattern(Number v, std::string_view pattern);

// The text without its leading and trailing bytes of value 32 or less.
std::string TrimBlanks(std::string_view text);

// Plain decimal digits, "-" for negatives.
std::string IntegerToText(int32_t value);

}  // namespace qilo
