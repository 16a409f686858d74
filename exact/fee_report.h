#pragma once

#include <string>

#include "exact/decimal.h"
#include "exact/fee_schedule.h"
#include "exact/trade_fees.h"

namespace qilo {

// How fees read as text. Money has 2 decimals, a price its tick's decimals,
// both rounded half up (exact fees too, only here); "." is the point, so the
// lines read the same in any locale.

// A price with its tick's decimals: "10.02" for a stock, "1.234" for a fund.
std::string PriceText(const Decimal& price, SecurityKind kind);

// "NAME=VALUE" lines, each ended by "\n", in this order: rules, buy.amount,
// buy.commission, buy.stamp_tax, buy.transfer_fee, buy.other_fee, buy.fees,
// the same six for sell, cost, proceeds, profit, profit_rate, break_even,
// target and stop when there are ones.
std::string FeeFieldLines(const TradeResult& result, SecurityKind kind);

// The trade in readable Chinese lines (UTF-8), each ended by "\n": the rules
// applied, each side with its fees, cost, proceeds, profit with its rate, the
// break-even price, the target and the stop.
std::string FeeSummary(const FeeTerms& terms, const Decimal& buy_price,
                       const Decimal& sell_price, const Decimal& count,
                       const TradeResult& result);

// One side as the columns a statement adds:
// "amount,commission,stamp_tax,transfer_fee,other_fee,fees,net", where net is
// the amount plus the fees on a buy, minus them on a sell.
std::string SideColumns(const SideFees& fees, Side side);

// A row of the schedule on one line: its first day, the stamp tax and the
// transfer fee on each exchange.
std::string FeeRowText(const FeeRow& row);

}  // namespace qilo
