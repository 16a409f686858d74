#include "exact/fee_schedule.h"

#include <cstdio>

namespace qilo {
namespace {

using Basis = TransferRule::Basis;

constexpr TransferRule kNotTraded{Basis::kNotTraded, {}, {}, {}};
constexpr TransferRule kNoTransferFee{Basis::kNone, {}, {}, {}};
constexpr TransferRule kOneYuanPerThousandShares{
    Basis::kPerThousandShares, Decimal(1, 0), Decimal(1, 0), {}};
constexpr TransferRule PerMille(long long units, int scale,
                                Date trades_from = {}) {
  return {Basis::kPerMilleOfAmount, Decimal(units, scale), {}, trades_from};
}

// The exchange fees by trade date. Columns: first day, stamp tax per mille,
// stamp tax on the buy side too, transfer fee on Shanghai, Shenzhen, Beijing.
constexpr FeeRow kSchedule[] = {
    {{2008, 4, 24},
     Decimal(1, 0),
     true,
     {kOneYuanPerThousandShares, kNoTransferFee, kNotTraded}},
    {{2008, 9, 19},
     Decimal(1, 0),
     false,
     {kOneYuanPerThousandShares, kNoTransferFee, kNotTraded}},
    {{2015, 8, 1},
     Decimal(1, 0),
     false,
     {PerMille(2, 2), PerMille(2, 2), PerMille(25, 3, {2021, 11, 15})}},
    {{2022, 4, 29},
     Decimal(1, 0),
     false,
     {PerMille(1, 2), PerMille(1, 2), PerMille(1, 2)}},
    {{2023, 8, 28},
     Decimal(5, 1),
     false,
     {PerMille(1, 2), PerMille(1, 2), PerMille(1, 2)}},
};

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

[[noreturn]] void NoRules(Date date) {
  throw EFeeInputError("no fee rules for " + DateText(date));
}

}  // namespace

std::optional<Date> ParseDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
    return std::nullopt;
  }
  auto number = [&text](size_t from, size_t length) {
    int value = 0;
    for (size_t i = from; i < from + length; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  const Date date{number(0, 4), number(5, 2), number(8, 2)};
  if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
      date.day > DaysInMonth(date.year, date.month)) {
    return std::nullopt;
  }
  return date;
}

std::string DateText(Date date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month,
                date.day);
  return text;
}

const char* ExchangeCode(Exchange exchange) {
  switch (exchange) {
    case Exchange::kShanghai:
      return "sh";
    case Exchange::kShenzhen:
      return "sz";
    case Exchange::kBeijing:
      return "bj";
  }
  return "";
}

std::optional<Exchange> ExchangeFromCode(std::string_view code) {
  for (Exchange e :
       {Exchange::kShanghai, Exchange::kShenzhen, Exchange::kBeijing}) {
    if (code == ExchangeCode(e)) return e;
  }
  return std::nullopt;
}

const char* SecurityKindCode(SecurityKind kind) {
  return kind == SecurityKind::kFund ? "fund" : "stock";
}

std::optional<SecurityKind> SecurityKindFromCode(std::string_view code) {
  if (code == "stock") return SecurityKind::kStock;
  if (code == "fund") return SecurityKind::kFund;
  return std::nullopt;
}

Decimal Tick(SecurityKind kind) {
  return kind == SecurityKind::kFund ? Decimal(1, 3) : Decimal(1, 2);
}

std::span<const FeeRow> FeeSchedule() { return kSchedule; }

const FeeRow& FeeRowOn(Date date) {
  const FeeRow* found = nullptr;
  for (const FeeRow& row : kSchedule) {
    if (row.from <= date) found = &row;
  }
  if (found == nullptr) NoRules(date);
  return *found;
}

const FeeRow& FeeRowOn(Date date, Exchange exchange) {
  const FeeRow& row = FeeRowOn(date);
  const TransferRule& transfer = row.TransferOn(exchange);
  if (transfer.basis == Basis::kNotTraded || date < transfer.trades_from) {
    NoRules(date);
  }
  return row;
}

}  // namespace qilo
