#pragma once

#include <exception>
#include <string>
#include <vector>

#include "app/colour.h"

namespace qilo {

// The calculate action's inputs: the GBK texts of the seven input fields, the
// market and the price pattern of the display precision ("%.2f", "%.3f").
struct CalculationInputs {
  std::string commission;  // EdCommision
  std::string stamp_tax;   // EdStamptax
  std::string transfer;    // EdTransfer
  std::string other;       // EdOther
  std::string price_buy;   // EdPriceBuy
  std::string price_sell;  // EdPriceSell
  std::string count;       // EdCnt
  bool shanghai = true;    // RadBtSH checked
  std::string price_format = "%.2f";
};

// The seven inputs in the order they are checked and converted.
enum class CalculationInput {
  kCommission,
  kStampTax,
  kTransfer,
  kOther,
  kPriceBuy,
  kPriceSell,
  kCount,
};

// How far a calculation got. The results are written in this order; a stage
// holds its own results and those of the stages before it.
enum class CalculationStage {
  kNone,        // refused, or stopped before the first result
  kBuy,         // cost_buy, cost_buy_hint
  kSell,        // cost_sell, cost_sell_hint
  kProfit,      // profit_colour, profit
  kProfitHint,  // profit_hint
  kBreakEven,   // break_even: the whole calculation
};

// What one calculation gives: the window's texts (GBK) of each stage reached,
// empty beyond it.
struct Calculation {
  // The inputs found blank (the count also when zero), in input order. Not
  // empty: the calculation was refused and wrote nothing.
  std::vector<CalculationInput> missing;
  CalculationStage reached = CalculationStage::kNone;
  // What stopped it (EConvertError, EMathError …); null when it ran to its end
  // or was refused. The check stops at a count that is not a number, with
  // the inputs found missing before it.
  std::exception_ptr error;
  std::string cost_buy, cost_buy_hint;
  std::string cost_sell, cost_sell_hint;
  Colour profit_colour = kRed;
  std::string profit, profit_hint;
  std::string break_even;
};

// The calculate action without a window: the required-field check, the
// conversion of the seven texts in input order, then each result in turn.
// Never throws: an error ends it and is kept in `error`.
Calculation Calculate(const CalculationInputs& in);

// The info-line message of a refused calculation (GBK).
const std::string& MissingInputMessage();

}  // namespace qilo
