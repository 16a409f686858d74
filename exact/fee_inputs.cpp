#include "exact/fee_inputs.h"

#include <optional>
#include <string>

#include "text/utf16.h"

namespace qilo {
namespace {

// The input as its errors quote it, built only for an error: the fee engine
// checks every price and count it is given, and the tools' searches give it
// thousands.
std::string Shown(std::string_view what, const Decimal& value) {
  return QuotedInput(what, value.Text());
}

void CheckAtMost(const Decimal& value, const Decimal& max,
                 std::string_view what) {
  if (value > max) {
    throw EFeeInputError(Shown(what, value) + " is above " + max.Text() +
                         ", the largest the exact arithmetic takes");
  }
}

// The number the text writes; the errors name the input and its bounds.
Decimal ReadNumber(std::string_view text, std::string_view what,
                   int max_decimals, const Decimal& max) {
  try {
    if (const std::optional<Decimal> value = Decimal::Parse(text)) {
      return *value;
    }
  } catch (const EDecimalError&) {
    throw EFeeInputError(QuotedInput(what, text) +
                         " has more digits than the exact arithmetic takes: "
                         "at most " +
                         max.Text() + " with " + std::to_string(max_decimals) +
                         " decimals");
  }
  throw EFeeInputError(QuotedInput(what, text) + " is not a number");
}

// A number of at most `max_decimals` decimals from `min` to `max`.
Decimal ParseNumber(std::string_view text, std::string_view what,
                    int max_decimals, const Decimal& min, const Decimal& max) {
  const Decimal value = ReadNumber(text, what, max_decimals, max);
  if (value.Decimals() > max_decimals) {
    throw EFeeInputError(Shown(what, value) + " has more than " +
                         std::to_string(max_decimals) + " decimals");
  }
  CheckAtMost(value, max, what);
  if (value < min) {
    throw EFeeInputError(Shown(what, value) +
                         (min.Sign() == 0 ? " is negative"
                                          : " is below " + min.Text() +
                                                ", the lowest the exact "
                                                "arithmetic takes"));
  }
  return value;
}

// A number ParseNumber takes that is also above zero.
Decimal ParsePositive(std::string_view text, std::string_view what,
                      int max_decimals, const Decimal& max) {
  const Decimal value = ParseNumber(text, what, max_decimals, Decimal(), max);
  if (value.Sign() == 0) {
    throw EFeeInputError(Shown(what, value) + " is not above zero");
  }
  return value;
}

}  // namespace

std::string QuotedInput(std::string_view what, std::string_view text) {
  std::string quoted = std::string(what) + (what.empty() ? "'" : " '");
  for (const char c : Utf16ToUtf8(Utf8ToUtf16(text).text).text) {
    const auto byte = static_cast<unsigned char>(c);
    quoted += byte < 0x20 || byte == 0x7F ? "\uFFFD" : std::string(1, c);
  }
  return quoted + "'";
}

Date ParseTradeDate(std::string_view text) {
  const std::optional<Date> date = ParseDate(text);
  if (!date) {
    throw EFeeInputError(QuotedInput("", text) + " is not a date (YYYY-MM-DD)");
  }
  return *date;
}

void CheckPrice(const Decimal& price, SecurityKind kind) {
  if (price.Sign() <= 0) {
    throw EFeeInputError(Shown("price", price) + " is not above zero");
  }
  CheckAtMost(price, Decimal(kMaxPrice, 0), "price");
  if (!price.IsMultipleOf(Tick(kind))) {
    throw EFeeInputError(Shown("price", price) + " is not on the " +
                         Tick(kind).Text() + " tick");
  }
}

void CheckCount(const Decimal& count) {
  if (count.Sign() <= 0 || count.Decimals() > 0) {
    throw EFeeInputError(Shown("count", count) +
                         " is not a whole number above zero");
  }
  CheckAtMost(count, Decimal(kMaxCount, 0), "count");
}

Decimal ParsePrice(std::string_view text, SecurityKind kind) {
  const Decimal price =
      ReadNumber(text, "price", Tick(kind).Decimals(), Decimal(kMaxPrice, 0));
  CheckPrice(price, kind);
  return price;
}

Decimal ParseCount(std::string_view text) {
  const Decimal count = ReadNumber(text, "count", 0, Decimal(kMaxCount, 0));
  CheckCount(count);
  return count;
}

Decimal ParseCommissionRate(std::string_view text) {
  return ParseNumber(text, "commission", 4, Decimal(0, 0),
                     Decimal(kMaxCommissionPerMille, 0));
}

Decimal ParseFeeYuan(std::string_view text, std::string_view what) {
  return ParseNumber(text, what, 2, Decimal(0, 0), Decimal(kMaxFeeYuan, 0));
}

Decimal ParseTargetProfit(std::string_view text) {
  return ParseNumber(text, "target profit", 2, Decimal(-kMaxTargetProfit, 0),
                     Decimal(kMaxTargetProfit, 0));
}

Decimal ParseTargetRate(std::string_view text) {
  return ParseNumber(text, "target rate", 4, Decimal(-kMaxTargetRate, 0),
                     Decimal(kMaxTargetRate, 0));
}

Decimal ParseLimitPercent(std::string_view text) {
  return ParsePositive(text, "percent", 2, Decimal(100, 0));
}

Decimal ParseAveragePrice(std::string_view text) {
  return ParsePositive(text, "average", 3, Decimal(kMaxPrice, 0));
}

Decimal ParseStopLoss(std::string_view text) {
  return ParseNumber(text, "stop loss", 2, Decimal(),
                     Decimal(kMaxTargetProfit, 0));
}

Decimal ParseStopRate(std::string_view text) {
  return ParseNumber(text, "stop rate", 4, Decimal(), Decimal(100, 0));
}

}  // namespace qilo
