#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

#include "text/exception.h"

namespace qilo {

// A result the 128-bit integer of a Decimal cannot hold, or a division by
// zero. Inputs within the bounds of exact/fee_inputs.h never raise it.
QILO_DECLARE_EXCEPTION(EDecimalError, Exception);

// An exact decimal number: a signed 128-bit count of units of 10^-scale.
// Sums, differences and products are exact (a product's scale is the sum of
// the scales); rounding happens only where asked for, half away from zero (a
// loss of 0.005 rounds to -0.01, as a broker rounds it). Every operation whose
// result does not fit in 128 bits (about 1.7e38 units) or needs more than
// kMaxScale decimals throws EDecimalError instead of wrapping. No binary
// floating point is involved anywhere.
class Decimal {
 public:
  __extension__ typedef __int128 Units;
  static constexpr int kMaxScale = 24;

  constexpr Decimal() = default;
  // units × 10^-scale, 0 <= scale <= kMaxScale: Decimal(25, 2) is 0.25.
  constexpr Decimal(long long units, int scale)
      : units_(units), scale_(scale) {}
  static Decimal FromUnits(Units units, int scale);

  // "[-]digits[.digits]" (".5" and "5." too), nothing around it; nothing
  // when the text is no such number. Throws EDecimalError for a number with
  // more than 36 significant digits or more than kMaxScale decimals (zeros at
  // either end do not count).
  static std::optional<Decimal> Parse(std::string_view text);

  Units units() const { return units_; }
  int scale() const { return scale_; }
  int Sign() const { return units_ < 0 ? -1 : units_ > 0 ? 1 : 0; }
  // The fewest decimals that write the value exactly (0 for 2.50e1).
  int Decimals() const;

  friend Decimal operator+(const Decimal& a, const Decimal& b);
  friend Decimal operator-(const Decimal& a, const Decimal& b);
  friend Decimal operator*(const Decimal& a, const Decimal& b);
  friend Decimal operator-(const Decimal& a);
  // Compares values: 0.50 == 0.5.
  friend bool operator==(const Decimal& a, const Decimal& b);
  friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

  // The value × 10^-places, exactly (per mille: MovePointLeft(3)).
  Decimal MovePointLeft(int places) const;
  // Rounded half away from zero to `decimals` places; the result has that
  // scale.
  Decimal Round(int decimals) const;
  // a / b rounded half away from zero to `decimals` places.
  static Decimal Quotient(const Decimal& a, const Decimal& b, int decimals);
  // True when the value is a whole multiple of `step` (which is not zero).
  bool IsMultipleOf(const Decimal& step) const;

  // Rounded to `decimals` places and written with exactly that many, "." as
  // the point, "-" only before a value that is not zero once rounded.
  std::string Text(int decimals) const;
  // Written with the fewest decimals that keep it exact ("0.025", "1").
  std::string Text() const { return Text(Decimals()); }

 private:
  Units units_ = 0;
  int scale_ = 0;
};

}  // namespace qilo
