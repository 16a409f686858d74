#include "exact/fee_schedule.h"

#include <gtest/gtest.h>

#include <string>

#include "exact/trade_fees.h"
#include "text/expect_error.h"

namespace qilo {
namespace {

std::string Describe(const TransferRule& rule) {
  using Basis = TransferRule::Basis;
  switch (rule.basis) {
    case Basis::kNotTraded:
      return "-";
    case Basis::kNone:
      return "0";
    case Basis::kPerThousandShares:
      return rule.rate.Text() + "/1000 shares >=" + rule.minimum.Text();
    case Basis::kPerMilleOfAmount:
      break;
  }
  return rule.rate.Text() + "/mille" +
         (rule.trades_from == Date{} ? "" : " " + DateText(rule.trades_from));
}

TEST(FeeScheduleTest, Rows) {
  const struct {
    const char* from;
    const char* stamp_tax;
    bool on_buy;
    const char *sh, *sz, *bj;
  } kRows[] = {
      {"2008-04-24", "1", true, "1/1000 shares >=1", "0", "-"},
      {"2008-09-19", "1", false, "1/1000 shares >=1", "0", "-"},
      {"2015-08-01", "1", false, "0.02/mille", "0.02/mille",
       "0.025/mille 2021-11-15"},
      {"2022-04-29", "1", false, "0.01/mille", "0.01/mille", "0.01/mille"},
      {"2023-08-28", "0.5", false, "0.01/mille", "0.01/mille", "0.01/mille"},
  };
  ASSERT_EQ(FeeSchedule().size(), std::size(kRows));
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const FeeRow& row = FeeSchedule()[i];
    SCOPED_TRACE(kRows[i].from);
    EXPECT_EQ(DateText(row.from), kRows[i].from);
    EXPECT_EQ(row.stamp_tax_per_mille.Text(), kRows[i].stamp_tax);
    EXPECT_EQ(row.stamp_tax_on_buy, kRows[i].on_buy);
    EXPECT_EQ(Describe(row.TransferOn(Exchange::kShanghai)), kRows[i].sh);
    EXPECT_EQ(Describe(row.TransferOn(Exchange::kShenzhen)), kRows[i].sz);
    EXPECT_EQ(Describe(row.TransferOn(Exchange::kBeijing)), kRows[i].bj);
  }
}

// The day before and the day of each change, as charged on a stock trade of
// 10 yuan × COUNT without a commission.
TEST(FeeScheduleTest, DayBeforeAndDayOfEachChange) {
  const struct {
    const char* date;
    const char* market;
    int count;
    const char* row;  // or the error
    const char *buy_stamp_tax, *sell_stamp_tax, *transfer_fee;
  } kCases[] = {
      {"2008-04-23", "sh", 1000, "no fee rules for 2008-04-23", nullptr,
       nullptr, nullptr},
      {"2008-04-24", "sh", 1000, "2008-04-24", "10.00", "10.00", "1.00"},
      {"2008-04-24", "sh", 100, "2008-04-24", "1.00", "1.00", "1.00"},
      {"2008-04-24", "sz", 1000, "2008-04-24", "10.00", "10.00", "0.00"},
      {"2008-04-24", "bj", 1000, "no fee rules for 2008-04-24", nullptr,
       nullptr, nullptr},
      {"2008-09-18", "sh", 1500, "2008-04-24", "15.00", "15.00", "1.50"},
      {"2008-09-19", "sh", 1500, "2008-09-19", "0.00", "15.00", "1.50"},
      {"2015-07-31", "sz", 1000, "2008-09-19", "0.00", "10.00", "0.00"},
      {"2015-08-01", "sz", 1000, "2015-08-01", "0.00", "10.00", "0.20"},
      {"2015-08-01", "sh", 1000, "2015-08-01", "0.00", "10.00", "0.20"},
      {"2021-11-14", "bj", 1000, "no fee rules for 2021-11-14", nullptr,
       nullptr, nullptr},
      {"2021-11-14", "sh", 1000, "2015-08-01", "0.00", "10.00", "0.20"},
      {"2021-11-15", "bj", 1000, "2015-08-01", "0.00", "10.00", "0.25"},
      {"2022-04-28", "bj", 1000, "2015-08-01", "0.00", "10.00", "0.25"},
      {"2022-04-29", "bj", 1000, "2022-04-29", "0.00", "10.00", "0.10"},
      {"2022-04-29", "sz", 1000, "2022-04-29", "0.00", "10.00", "0.10"},
      {"2023-08-27", "sh", 1000, "2022-04-29", "0.00", "10.00", "0.10"},
      {"2023-08-28", "sh", 1000, "2023-08-28", "0.00", "5.00", "0.10"},
      {"2099-12-31", "bj", 1000, "2023-08-28", "0.00", "5.00", "0.10"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.date) + " " + c.market);
    FeeTerms terms;
    terms.date = *ParseDate(c.date);
    terms.exchange = *ExchangeFromCode(c.market);
    terms.commission_per_mille = Decimal(0, 0);
    terms.min_commission = Decimal(0, 0);
    if (c.buy_stamp_tax == nullptr) {
      EXPECT_ERROR(FeeRowOn(terms.date, terms.exchange), EFeeInputError, c.row);
      continue;
    }
    const FeeRow& row = FeeRowOn(terms.date, terms.exchange);
    EXPECT_EQ(DateText(row.from), c.row);
    const Decimal price(10, 0), count(c.count, 0);
    const SideFees buy = FeesOfSide(row, terms, Side::kBuy, price, count);
    const SideFees sell = FeesOfSide(row, terms, Side::kSell, price, count);
    EXPECT_EQ(buy.stamp_tax.Text(2), c.buy_stamp_tax);
    EXPECT_EQ(sell.stamp_tax.Text(2), c.sell_stamp_tax);
    EXPECT_EQ(buy.transfer_fee.Text(2), c.transfer_fee);
    EXPECT_EQ(sell.transfer_fee.Text(2), c.transfer_fee);
  }
}

TEST(FeeScheduleTest, ParseDate) {
  const struct {
    const char* text;
    bool valid;
  } kCases[] = {
      {"2024-02-29", true},  {"2000-02-29", true},   {"2023-12-31", true},
      {"2023-02-29", false}, {"1900-02-29", false},  {"2023-04-31", false},
      {"2023-13-01", false}, {"2023-00-10", false},  {"2023-01-00", false},
      {"0000-01-01", false}, {"2023-1-01", false},   {"2023/01/01", false},
      {"20230101", false},   {"2023-01-01 ", false}, {"2023-+1-01", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    const std::optional<Date> date = ParseDate(c.text);
    ASSERT_EQ(date.has_value(), c.valid);
    if (date) {
      EXPECT_EQ(DateText(*date), c.text);
    }
  }
}

}  // namespace
}  // namespace qilo
