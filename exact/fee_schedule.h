#pragma once

#include <compare>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "exact/decimal.h"
#include "text/exception.h"

namespace qilo {

// A trade input the fee rules cannot take: a date without rules, a malformed
// number, a price off the tick, a value beyond the arithmetic's bounds. The
// message (UTF-8) names the input and what is wrong with it.
QILO_DECLARE_EXCEPTION(EFeeInputError, Exception);

// A day of the Gregorian calendar.
struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  friend auto operator<=>(const Date&, const Date&) = default;
};

// "YYYY-MM-DD" naming a real day (2024-02-29 is one, 2023-02-29 is not);
// nothing for any other text.
std::optional<Date> ParseDate(std::string_view text);
// "YYYY-MM-DD".
std::string DateText(Date date);

// The three mainland exchanges; their codes are "sh", "sz" and "bj".
enum class Exchange { kShanghai, kShenzhen, kBeijing };
inline constexpr int kExchangeCount = 3;
const char* ExchangeCode(Exchange exchange);
std::optional<Exchange> ExchangeFromCode(std::string_view code);

// Stocks trade on a 0.01 tick and pay stamp tax and transfer fee; funds
// (ETFs, LOFs) trade on a 0.001 tick and pay neither. Codes "stock", "fund".
enum class SecurityKind { kStock, kFund };
const char* SecurityKindCode(SecurityKind kind);
std::optional<SecurityKind> SecurityKindFromCode(std::string_view code);
// 0.01 for a stock, 0.001 for a fund.
Decimal Tick(SecurityKind kind);

// How an exchange charges the transfer fee on each side of a trade.
struct TransferRule {
  enum class Basis {
    kNotTraded,          // the exchange had not opened
    kNone,               // no transfer fee
    kPerThousandShares,  // `rate` yuan per 1000 shares
    kPerMilleOfAmount,   // `rate` per mille of the amount
  };
  Basis basis = Basis::kNotTraded;
  Decimal rate;
  Decimal minimum;  // yuan, applied after rounding
  // The exchange's first trading day when it opened while the row applied;
  // earlier dates have no rules on it. Zero: it traded all along.
  Date trades_from;
};

// One period of the exchange fees, in force from `from` until the next row.
struct FeeRow {
  Date from;
  Decimal stamp_tax_per_mille;
  bool stamp_tax_on_buy = false;  // both sides; otherwise the sell side only
  TransferRule transfer[kExchangeCount];  // indexed by Exchange

  const TransferRule& TransferOn(Exchange exchange) const {
    return transfer[static_cast<int>(exchange)];
  }
};

// Every period, oldest first.
std::span<const FeeRow> FeeSchedule();

// The row in force on `date`: the last one starting on or before it. Throws
// EFeeInputError "no fee rules for YYYY-MM-DD" before the first row.
const FeeRow& FeeRowOn(Date date);

// The row in force on `date` for a trade on `exchange`; also throws that error
// while the exchange did not trade.
const FeeRow& FeeRowOn(Date date, Exchange exchange);

}  // namespace qilo
