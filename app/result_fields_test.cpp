#include "app/result_fields.h"

#include <gtest/gtest.h>

#include "app/calculation.h"

namespace qilo {
namespace {

TEST(ResultFieldLinesTest, TheWorkedExampleAsTheWindowShowsIt) {
  const Calculation done =
      Calculate({"1.7", "1", "1", "4", "10", "11", "1000", true, "%.2f"});
  EXPECT_EQ(ResultFieldLines(done),
            "EdCostBuy=10022.00\n"
            "EdCostBuy.hint=买入费用: 22.00\n"
            "EdCostSell=10965.30\n"
            "EdCostSell.hint=卖出费用: 34.70\n"
            "EdProfit=943.30\n"
            "EdProfit.colour=red\n"
            "EdProfit.hint=费用合计： 56.70\\r\\n利润率：9.41%\n"
            "LabCostPrice=10.05\n");
}

// The colour comes with the profit it belongs to, never before it.
TEST(ResultFieldLinesTest, OnlyTheStagesReached) {
  Calculation done;
  done.cost_buy = "1.00";
  done.cost_buy_hint = "a";
  done.cost_sell = "2.00";
  done.cost_sell_hint = "b";
  done.profit = "1.00";
  done.profit_colour = kGreen;
  done.reached = CalculationStage::kSell;
  EXPECT_EQ(ResultFieldLines(done),
            "EdCostBuy=1.00\nEdCostBuy.hint=a\nEdCostSell=2.00\n"
            "EdCostSell.hint=b\n");
  done.reached = CalculationStage::kProfit;
  EXPECT_EQ(ResultFieldLines(done).substr(66),
            "EdProfit=1.00\nEdProfit.colour=green\n");
  EXPECT_EQ(ColourName(kMediumGrey), "0x00A4A0A0");
}

}  // namespace
}  // namespace qilo
