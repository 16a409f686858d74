#include "exact/decimal.h"

#include <algorithm>

namespace qilo {
namespace {

using Units = Decimal::Units;

// 10^38 is the largest power of ten below 2^127.
constexpr int kMaxPow10 = 38;
constexpr int kMaxDigits = 36;

[[noreturn]] void TooLarge() {
  throw EDecimalError("a number too large for the exact arithmetic");
}

Units Pow10(int n) {
  if (n < 0 || n > kMaxPow10) TooLarge();
  Units p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

Units Mul(Units a, Units b) {
  Units r;
  if (__builtin_mul_overflow(a, b, &r)) TooLarge();
  return r;
}

Units Add(Units a, Units b) {
  Units r;
  if (__builtin_add_overflow(a, b, &r)) TooLarge();
  return r;
}

// The units of `d` at the larger scale `scale`.
Units UnitsAt(const Decimal& d, int scale) {
  return Mul(d.units(), Pow10(scale - d.scale()));
}

// n / d rounded half away from zero; d is not zero.
Units DivideRounded(Units n, Units d) {
  Units q = n / d;
  Units r = n % d;
  if (r < 0) r = -r;
  const Units half_check = d < 0 ? -d : d;
  // 2r >= |d| without overflow: r >= |d| - r.
  if (r >= half_check - r) q += ((n < 0) != (d < 0)) ? -1 : 1;
  return q;
}

}  // namespace

Decimal Decimal::FromUnits(Units units, int scale) {
  if (scale < 0 || scale > kMaxScale) TooLarge();
  Decimal d;
  d.units_ = units;
  d.scale_ = scale;
  return d;
}

std::optional<Decimal> Decimal::Parse(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction =
      point == std::string_view::npos ? "" : text.substr(point + 1);
  auto digits_only = [](std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
  };
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if (!digits_only(whole) || !digits_only(fraction)) return std::nullopt;
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  if (fraction.size() > static_cast<size_t>(kMaxScale) ||
      whole.size() + fraction.size() > static_cast<size_t>(kMaxDigits)) {
    TooLarge();
  }
  Units units = 0;
  for (std::string_view part : {whole, fraction}) {
    for (char c : part) units = units * 10 + (c - '0');
  }
  return FromUnits(negative ? -units : units,
                   static_cast<int>(fraction.size()));
}

int Decimal::Decimals() const {
  int decimals = scale_;
  Units units = units_;
  while (decimals > 0 && units % 10 == 0) {
    units /= 10;
    --decimals;
  }
  return decimals;
}

Decimal operator+(const Decimal& a, const Decimal& b) {
  const int scale = std::max(a.scale_, b.scale_);
  return Decimal::FromUnits(Add(UnitsAt(a, scale), UnitsAt(b, scale)), scale);
}

Decimal operator-(const Decimal& a) {
  return Decimal::FromUnits(Mul(a.units_, -1), a.scale_);
}

Decimal operator-(const Decimal& a, const Decimal& b) { return a + (-b); }

Decimal operator*(const Decimal& a, const Decimal& b) {
  return Decimal::FromUnits(Mul(a.units_, b.units_), a.scale_ + b.scale_);
}

bool operator==(const Decimal& a, const Decimal& b) {
  return (a <=> b) == std::strong_ordering::equal;
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
  const int scale = std::max(a.scale_, b.scale_);
  const Units x = UnitsAt(a, scale);
  const Units y = UnitsAt(b, scale);
  return x < y   ? std::strong_ordering::less
         : x > y ? std::strong_ordering::greater
                 : std::strong_ordering::equal;
}

Decimal Decimal::MovePointLeft(int places) const {
  return FromUnits(units_, scale_ + places);
}

Decimal Decimal::Round(int decimals) const {
  if (decimals >= scale_) return FromUnits(UnitsAt(*this, decimals), decimals);
  return FromUnits(DivideRounded(units_, Pow10(scale_ - decimals)), decimals);
}

Decimal Decimal::Quotient(const Decimal& a, const Decimal& b, int decimals) {
  if (b.units_ == 0) throw EDecimalError("division by zero");
  // With both at one scale the quotient of the units is the quotient of the
  // values; 10^decimals more in the dividend gives the places asked for.
  const int scale = std::max(a.scale_, b.scale_);
  const Units n = Mul(UnitsAt(a, scale), Pow10(decimals));
  return FromUnits(DivideRounded(n, UnitsAt(b, scale)), decimals);
}

bool Decimal::IsMultipleOf(const Decimal& step) const {
  const int scale = std::max(scale_, step.scale_);
  return UnitsAt(*this, scale) % UnitsAt(step, scale) == 0;
}

std::string Decimal::Text(int decimals) const {
  const Decimal rounded = Round(decimals);
  Units units = rounded.units_;
  const bool negative = units < 0;
  std::string digits;
  do {
    const int digit = static_cast<int>(units % 10);
    digits.push_back(static_cast<char>('0' + (digit < 0 ? -digit : digit)));
    units /= 10;
  } while (units != 0);
  while (digits.size() <= static_cast<size_t>(decimals)) digits.push_back('0');
  std::reverse(digits.begin(), digits.end());
  if (decimals > 0) digits.insert(digits.size() - decimals, ".");
  return negative ? "-" + digits : digits;
}

}  // namespace qilo
