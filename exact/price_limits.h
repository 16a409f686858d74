#pragma once

#include <optional>
#include <string>

#include "exact/decimal.h"
#include "exact/fee_schedule.h"
#include "exact/security_code.h"

namespace qilo {

// A day's price limits of one security.
struct PriceLimits {
  Board board = Board::kMain;
  bool st = false;
  Decimal percent;     // the limit, percent of the previous close
  Decimal tick;        // 0.01 for stocks, 0.001 for funds
  Decimal limit_up;    // the highest price of the day
  Decimal limit_down;  // the lowest price of the day, at least one tick
};

// The limit in percent on `date` for the board (an ST stock's when `st`):
// main boards 10, ST 5 (10 from 2026-07-06); ChiNext 10 from 2009-10-30, 20
// from 2020-08-24 (ST too, 5 before); STAR 20 from 2019-07-22; Beijing 30
// from 2021-11-15; funds 10. Limits began on 1996-12-16. Throws
// EFeeInputError for a date before the limits or the board began, and for an
// ST fund.
Decimal LimitPercent(Board board, bool st, Date date);

// previous_close × (1 ± percent / 100), each rounded half up to the board's
// tick (a lower limit that would round to zero is one tick); `percent`, when
// given, replaces LimitPercent (for the funds that follow STAR or ChiNext
// indices). Throws EFeeInputError as LimitPercent does and for a previous
// close CheckPrice refuses on the board's tick.
PriceLimits ComputePriceLimits(Board board, bool st, Date date,
                               const Decimal& previous_close,
                               const std::optional<Decimal>& percent = {});

// "NAME=VALUE" lines, each ended by "\n": board, st (0 or 1), percent, tick,
// limit_up, limit_down.
std::string LimitFieldLines(const PriceLimits& limits);

// The same in readable Chinese lines (UTF-8).
std::string LimitSummary(const PriceLimits& limits);

}  // namespace qilo
