#pragma once

#include "calc/number.h"

namespace qilo {

// One complete trade as the calculator reads it. Rates c and s are per mille of
// the amount, t is yuan per 1000 shares, o is yuan per side.
struct TradeInputs {
  Number commission;  // c
  Number stamp_tax;   // s
  Number transfer;    // t
  Number other;       // o
  Number price_buy;   // B
  Number price_sell;  // S
  Number count;       // N
  bool shanghai = true;
};

// Each function evaluates its formula left to right, exactly as written: the
// order of rounding is part of the result. All throw EMathError subclasses.

// F = t × N / 1000; one yuan when on Shanghai with fewer than 1000 shares.
Number TransferFee(const TradeInputs& in);

// price × N × c / 1000, at least 5.
Number Commission(Number price, const TradeInputs& in);

struct BuySide {
  Number commission;  // Kb
  Number fees;        // Fb = Kb + F + o
  Number cost;        // Cb = B × N + Fb
};
BuySide ComputeBuySide(const TradeInputs& in, Number transfer_fee);

struct SellSide {
  Number commission;  // Ks
  Number fees;        // Fs = S × N × s / 1000 + Ks + F + o
  Number proceeds;    // Ps = S × N − Fs
};
SellSide ComputeSellSide(const TradeInputs& in, Number transfer_fee);

// R = (Ps − Cb) × 100 / Cb.
Number ProfitRate(const BuySide& buy, const SellSide& sell);

// The sell price at which the proceeds cover the buy cost and the flat fees
// once more; the second formula when the commission there is under 5.
Number BreakEvenPrice(const TradeInputs& in, const BuySide& buy,
                      Number transfer_fee);

}  // namespace qilo
