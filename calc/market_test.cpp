#include "calc/market.h"

#include <gtest/gtest.h>

namespace qilo {
namespace {

TEST(MarketTest, TransferRateTextsAndBack) {
  EXPECT_STREQ(TransferRateText(Market::kShanghai), "1");
  EXPECT_STREQ(TransferRateText(Market::kShenzhen), "0");
  const struct {
    const char* text;
    Market market;
  } kCases[] = {
      {"1", Market::kShanghai},  {"0", Market::kShenzhen},
      {"", Market::kShenzhen},   {"1.0", Market::kShenzhen},
      {" 1", Market::kShenzhen}, {"2", Market::kShenzhen},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(MarketForTransferRate(c.text), c.market) << c.text;
}

}  // namespace
}  // namespace qilo
