#include "app/result_fields.h"

#include <cstdio>

#include "app/calculation.h"
#include "text/gbk.h"

namespace qilo {

std::string OneLine(const std::string& gbk) {
  std::string out;
  for (char c : GbkToUtf8(gbk)) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string ColourName(Colour c) {
  if (c == kRed) return "red";
  if (c == kGreen) return "green";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(c));
  return buffer;
}

std::string ResultFieldLines(const Calculation& done) {
  std::string out;
  auto line = [&out, &done](CalculationStage stage, const char* name,
                            const std::string& utf8) {
    if (done.reached >= stage) out += std::string(name) + "=" + utf8 + "\n";
  };
  using enum CalculationStage;
  line(kBuy, "EdCostBuy", OneLine(done.cost_buy));
  line(kBuy, "EdCostBuy.hint", OneLine(done.cost_buy_hint));
  line(kSell, "EdCostSell", OneLine(done.cost_sell));
  line(kSell, "EdCostSell.hint", OneLine(done.cost_sell_hint));
  line(kProfit, "EdProfit", OneLine(done.profit));
  line(kProfit, "EdProfit.colour", ColourName(done.profit_colour));
  line(kProfitHint, "EdProfit.hint", OneLine(done.profit_hint));
  line(kBreakEven, "LabCostPrice", OneLine(done.break_even));
  return out;
}

}  // namespace qilo
