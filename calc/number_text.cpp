#include "calc/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace qilo {
namespace {

#include "calc/pow10_table.inc"

char g_separator = '.';

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Floor division, which C++'s "/" is not for negative numerators.
int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

[[noreturn]] void ThrowNotANumber(std::string_view text) {
  std::string message = "'";
  message.append(text);
  message += "' is not a valid floating point value";
  throw EConvertError(message);
}

DecimalForm ZeroForm() { return DecimalForm{}; }

// Rounds 0 <= x < 2^64 to an integer, ties to even: below 2^63 adding and
// taking away 2^63 leaves no fraction bits; above it x has none to begin with.
// Much cheaper than nearbyintl, which saves and restores the FPU environment.
long double RoundToInteger(long double x) {
  constexpr long double kTwo63 = 0x1p63L;
  if (x < kTwo63) {
    const long double shifted = x + kTwo63;
    return shifted - kTwo63;
  }
  return x;
}

}  // namespace

char DecimalSeparator() { return g_separator; }
void SetDecimalSeparator(char separator) { g_separator = separator; }

long double ScalePow10(long double x, int64_t p) {
  // The cut-offs below would turn an infinity into zero: an overflow met while
  // reading digits must stay one, whatever the scale.
  if (p == 0 || !std::isfinite(x)) return x;
  int64_t q = p < 0 ? -p : p;
  if (q >= 5120) {
    if (p < 0) return std::copysign(0.0L, x);
    return x == 0
               ? x
               : std::copysign(std::numeric_limits<long double>::infinity(), x);
  }
  const long double a = kPow10Small[q % 32];
  const long double b = kPow10Medium[(q / 32) % 16];
  const long double c = kPow10Large[q / 512];
  if (p > 0) {
    x *= a;
    if (b != 1) x *= b;
    if (c != 1) x *= c;
  } else {
    x /= a;
    if (b != 1) x /= b;
    if (c != 1) x /= c;
  }
  return x;
}

Number TextToNumber(std::string_view text) {
  if (size_t nul = text.find('\0'); nul != std::string_view::npos) {
    text = text.substr(0, nul);
  }
  const char separator = g_separator;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long double value = 0;
  bool consumed = false;
  while (i < n && IsDigit(text[i])) {
    value = value * 10;
    value = value + (text[i] - '0');
    consumed = true;
    ++i;
  }
  int64_t fraction_digits = 0;
  if (i < n && text[i] == separator) {
    consumed = true;
    ++i;
    while (i < n && IsDigit(text[i])) {
      value = value * 10;
      value = value + (text[i] - '0');
      ++fraction_digits;
      ++i;
    }
  }
  if (!consumed) ThrowNotANumber(text);
  int64_t exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool exponent_negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      exponent_negative = text[i] == '-';
      ++i;
    }
    // Reading stops at the digit that brings the exponent to 500: any digit
    // after it is left over and makes the text invalid.
    while (i < n && IsDigit(text[i]) && exponent < 500) {
      exponent = exponent * 10 + (text[i] - '0');
      ++i;
    }
    if (exponent_negative) exponent = -exponent;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) ThrowNotANumber(text);
  value = ScalePow10(value, exponent - fraction_digits);
  if (negative) value = -value;
  if (std::isinf(value) || std::isnan(value)) ThrowNotANumber(text);
  return Number(value);
}

DecimalForm ToDecimalForm(Number number, int decimals) {
  const long double v = number.Value();
  uint64_t significand;
  uint16_t sign_exponent;
  std::memcpy(&significand, &v, sizeof significand);
  std::memcpy(&sign_exponent, reinterpret_cast<const char*>(&v) + 8,
              sizeof sign_exponent);
  const int stored_exponent = sign_exponent & 0x7FFF;
  const bool sign = (sign_exponent & 0x8000) != 0;
  // Zero and subnormals have an exponent field of zero; they print as zero.
  if (stored_exponent == 0) return ZeroForm();
  if (stored_exponent == 0x7FFF) {
    DecimalForm form;
    if ((significand << 1) == 0) {
      form.kind = DecimalForm::kInfinite;
      form.negative = sign;
    } else {
      form.kind = DecimalForm::kNotANumber;
    }
    return form;
  }
  const int64_t b = stored_exponent - 16383;
  int exponent = static_cast<int>(FloorDiv(b * 19728, 65536) + 1);
  long double m = RoundToInteger(ScalePow10(std::fabs(v), 18 - exponent));
  constexpr long double kTen18 = 1e18L;
  if (m >= kTen18) {
    m = RoundToInteger(m / 10);
    ++exponent;
  }
  uint64_t whole = static_cast<uint64_t>(m);
  char d[18];
  for (int j = 17; j >= 0; --j) {
    d[j] = static_cast<char>('0' + whole % 10);
    whole /= 10;
  }

  DecimalForm form;
  const int cut = exponent + decimals;
  if (cut < 0) return ZeroForm();
  int length;
  if (cut >= 18) {
    length = 18;
  } else if (d[cut] >= '5') {
    length = cut;
    int j = length - 1;
    while (j >= 0 && d[j] == '9') --j;
    if (j < 0) {
      // The carry ran out of the first digit (or there was none to keep).
      d[0] = '1';
      length = 1;
      ++exponent;
    } else {
      ++d[j];
      length = j + 1;
    }
  } else {
    length = cut;
  }
  while (length > 0 && d[length - 1] == '0') --length;
  if (length == 0) return ZeroForm();
  std::memcpy(form.digits, d, length);
  form.length = length;
  form.exponent = exponent;
  form.negative = sign;
  return form;
}

std::string FormatFixed(Number v, int decimals) {
  const DecimalForm form = ToDecimalForm(v, decimals);
  const char separator = g_separator;
  std::string out;
  if (form.kind == DecimalForm::kInfinite)
    return form.negative ? "-INF" : "INF";
  if (form.kind == DecimalForm::kNotANumber) return "NAN";
  if (form.negative) out += '-';
  if (form.exponent > 18) {
    out += form.digits[0];
    if (form.length > 1) {
      out += separator;
      out.append(form.digits + 1, form.length - 1);
    }
    out += 'E';
    std::string power = std::to_string(form.exponent - 1);
    if (decimals <= 4 && static_cast<int>(power.size()) < decimals) {
      out.append(decimals - power.size(), '0');
    }
    out += power;
    return out;
  }
  int next = 0;  // the next digit of the form to write
  auto take_digit = [&]() {
    return next < form.length ? form.digits[next++] : '0';
  };
  if (form.exponent <= 0) {
    out += '0';
  } else {
    for (int j = 0; j < form.exponent; ++j) out += take_digit();
  }
  if (decimals > 0) {
    out += separator;
    int written = 0;
    if (form.exponent < 0) {
      const int zeros = std::min(decimals, -form.exponent);
      out.append(zeros, '0');
      written = zeros;
    }
    for (; written < decimals; ++written) out += take_digit();
  }
  return out;
}

std::string FormatPattern(Number v, std::string_view pattern) {
  int decimals = 0;
  for (char c : pattern) {
    if (IsDigit(c)) decimals = decimals * 10 + (c - '0');
  }
  return FormatFixed(v, decimals > 18 ? 18 : decimals);
}

std::string TrimBlanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string IntegerToText(int32_t value) { return std::to_string(value); }

}  // namespace qilo
