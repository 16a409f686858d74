#include "calc/fee_model.h"

#include <gtest/gtest.h>

#include "calc/number_text.h"

namespace qilo {
namespace {

TradeInputs Trade(const char* buy, const char* sell, const char* count,
                  bool shanghai = true, const char* transfer = "1") {
  return TradeInputs{TextToNumber("1.7"),    TextToNumber("1"),
                     TextToNumber(transfer), TextToNumber("4"),
                     TextToNumber(buy),      TextToNumber(sell),
                     TextToNumber(count),    shanghai};
}

std::string F2(Number v) { return FormatFixed(v, 2); }

TEST(FeeModelTest, WorkedExamples) {
  const struct {
    const char *buy, *sell, *count;
    const char *buy_fees, *cost, *sell_fees, *proceeds, *rate, *break_even;
  } kCases[] = {
      {"10", "11", "1000", "22.00", "10022.00", "34.70", "10965.30", "9.41",
       "10.05"},
      {"3", "3.1", "100", "10.00", "310.00", "10.31", "299.69", "-3.33",
       "3.20"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.buy);
    const TradeInputs in = Trade(c.buy, c.sell, c.count);
    const Number f = TransferFee(in);
    const BuySide buy = ComputeBuySide(in, f);
    const SellSide sell = ComputeSellSide(in, f);
    EXPECT_EQ(F2(buy.fees), c.buy_fees);
    EXPECT_EQ(F2(buy.cost), c.cost);
    EXPECT_EQ(F2(sell.fees), c.sell_fees);
    EXPECT_EQ(F2(sell.proceeds), c.proceeds);
    EXPECT_EQ(F2(ProfitRate(buy, sell)), c.rate);
    EXPECT_EQ(F2(BreakEvenPrice(in, buy, f)), c.break_even);
  }
}

TEST(FeeModelTest, TransferFeeMinimumOnlyOnShanghaiBelow1000) {
  const struct {
    const char* count;
    bool shanghai;
    const char* transfer;
    const char* fee;
  } kCases[] = {
      {"999", true, "1", "1.00"},  {"1000", true, "1", "1.00"},
      {"2500", true, "1", "2.50"}, {"100", false, "0", "0.00"},
      {"100", true, "0", "1.00"},  {"500", false, "1", "0.50"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(
        F2(TransferFee(Trade("10", "11", c.count, c.shanghai, c.transfer))),
        c.fee)
        << c.count;
  }
}

TEST(FeeModelTest, CommissionHasAFiveYuanFloor) {
  // 5 exactly stays, 4.99 becomes 5, above stays.
  EXPECT_EQ(F2(Commission(TextToNumber("2.94117647058823529"),
                          Trade("0", "0", "1000"))),
            "5.00");
  EXPECT_EQ(F2(Commission(TextToNumber("2.9353"), Trade("0", "0", "1000"))),
            "5.00");
  EXPECT_EQ(F2(Commission(TextToNumber("4"), Trade("0", "0", "1000"))), "6.80");
  EXPECT_EQ(F2(Commission(TextToNumber("0"), Trade("0", "0", "1000"))), "5.00");
}

TEST(FeeModelTest, ZeroPricesGiveNegativeProceeds) {
  const TradeInputs in = Trade("00.00", "00.00", "1000");
  const Number f = TransferFee(in);
  EXPECT_EQ(F2(ComputeBuySide(in, f).cost), "10.00");
  EXPECT_EQ(F2(ComputeSellSide(in, f).proceeds), "-10.00");
}

TEST(FeeModelTest, ProfitRateUsesTheBuyCostAsBase) {
  const TradeInputs in = Trade("10", "11", "1000");
  const Number f = TransferFee(in);
  const BuySide buy = ComputeBuySide(in, f);
  const SellSide sell = ComputeSellSide(in, f);
  // 943.3 / 10022 rather than 943.3 / 10000.
  EXPECT_EQ(FormatFixed(ProfitRate(buy, sell), 4), "9.4123");
}

TEST(FeeModelTest, BreakEvenWithRatesSummingTo1000Divides0) {
  TradeInputs in = Trade("10", "11", "1000");
  in.commission = TextToNumber("999");
  in.stamp_tax = TextToNumber("1");
  const Number f = TransferFee(in);
  EXPECT_THROW(BreakEvenPrice(in, ComputeBuySide(in, f), f), EZeroDivide);
}

}  // namespace
}  // namespace qilo
