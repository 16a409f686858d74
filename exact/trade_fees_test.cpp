#include "exact/trade_fees.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "exact/fee_inputs.h"
#include "exact/fee_report.h"
#include "text/expect_error.h"

namespace qilo {
namespace {

Decimal D(const char* text) { return *Decimal::Parse(text); }

// A trade as the command line takes it: "--name value" pairs for the terms.
struct Trade {
  const char* terms;
  const char *buy, *sell, *count;
};

FeeTerms TermsOf(const char* options) {
  FeeTerms t;
  std::istringstream in(options);
  std::string name, value;
  while (in >> name >> value) {
    if (name == "date") t.date = ParseTradeDate(value);
    if (name == "market") t.exchange = *ExchangeFromCode(value);
    if (name == "kind") t.kind = *SecurityKindFromCode(value);
    if (name == "commission") t.commission_per_mille = D(value.c_str());
    if (name == "min") t.min_commission = D(value.c_str());
    if (name == "other") t.other_fee = D(value.c_str());
    if (name == "rounding") t.rounding = Rounding::kNone;
  }
  return t;
}

TEST(TradeFeesTest, Trades) {
  const struct {
    Trade trade;
    std::optional<TradeTarget> target;
    const char* lines;  // each must be among the field lines
  } kCases[] = {
      // The 2026 confirmation: fees 5.10 + 10.61 = 15.71.
      {{"date 2026-12-09", "10", "11", "1000"},
       TradeTarget{TradeTarget::Kind::kRate, D("10")},
       "rules=2023-08-28\nbuy.commission=5.00\nbuy.transfer_fee=0.10\n"
       "buy.fees=5.10\nsell.stamp_tax=5.50\nsell.transfer_fee=0.11\n"
       "sell.fees=10.61\ncost=10005.10\nproceeds=10989.39\nprofit=984.29\n"
       "profit_rate=9.84\nbreak_even=10.02\ntarget=11.02\n"},
      // The window's era: stamp tax on the sell side, 1 yuan per 1000 shares.
      {{"date 2010-01-04 commission 1.7", "10", "11", "1000"},
       TradeTarget{TradeTarget::Kind::kProfit, D("-100")},
       "buy.commission=17.00\nbuy.transfer_fee=1.00\nbuy.fees=18.00\n"
       "sell.commission=18.70\nsell.stamp_tax=11.00\nsell.fees=30.70\n"
       "profit=951.30\nbreak_even=10.05\ntarget=9.95\n"},
      // Each fee rounded first: 0.26 + 0.52 + 0.01 = 0.79, where the exact
      // fees 0.2575 + 0.515 + 0.0103 add up to 0.78.
      {{"date 2024-01-02 min 0", "10.30", "10.30", "100"},
       {},
       "sell.commission=0.26\nsell.stamp_tax=0.52\nsell.transfer_fee=0.01\n"
       "sell.fees=0.79\n"},
      {{"date 2024-01-02 min 0 rounding none", "10.30", "10.30", "100"},
       {},
       "sell.commission=0.26\nsell.stamp_tax=0.52\nsell.transfer_fee=0.01\n"
       "sell.fees=0.78\n"},
      // The minimum applies to the rounded commission: 4.995 rounds to 5.00.
      {{"date 2024-01-02 commission 0.333 min 5", "1.50", "1.50", "10000"},
       {},
       "buy.commission=5.00\nsell.commission=5.00\n"},
      {{"date 2024-01-02 commission 0.3337 min 5", "1.50", "1.50", "10000"},
       {},
       "buy.commission=5.01\n"},
      // A half fen's worth sold for less than its fees: the net is the
      // amount as printed less the fees, 4.63 - 5.00.
      {{"date 2024-04-22 kind fund", "4.625", "4.625", "1"},
       {},
       "sell.amount=4.63\nsell.fees=5.00\ncost=9.63\nproceeds=-0.37\n"
       "profit=-10.00\n"},
      // A fund: no stamp tax, no transfer fee, the 0.001 tick; a loss.
      {{"date 2024-01-02 kind fund other 0.5", "1.234", "1.2", "1000"},
       {},
       "buy.stamp_tax=0.00\nbuy.transfer_fee=0.00\nbuy.fees=5.50\n"
       "sell.fees=5.50\nprofit=-45.00\nprofit_rate=-3.63\n"
       "break_even=1.245\n"},
      // One tick more can net less: selling at 0.050 pays a fen of
      // commission that 0.049 does not, so 0.049 breaks even, not 0.059.
      {{"date 2024-01-02 kind fund commission 100 min 0", "0.049", "0.05", "1"},
       {},
       "buy.fees=0.00\nsell.fees=0.01\nprofit=-0.01\nbreak_even=0.049\n"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.trade.terms) + " " + c.trade.buy);
    const FeeTerms terms = TermsOf(c.trade.terms);
    const std::string lines =
        FeeFieldLines(ComputeTrade(terms, D(c.trade.buy), D(c.trade.sell),
                                   D(c.trade.count), c.target),
                      terms.kind);
    std::istringstream expected(c.lines);
    for (std::string line; std::getline(expected, line);) {
      EXPECT_NE(("\n" + lines).find("\n" + line + "\n"), std::string::npos)
          << line << " not in\n"
          << lines;
    }
  }
}

TEST(TradeFeesTest, StopPrices) {
  using Kind = TradeTarget::Kind;
  const struct {
    const char* terms;
    const char *buy, *count;
    TradeTarget stop;
    const char* stop_price;
  } kCases[] = {
      // Cost 10005.10. At 9.51 selling nets 9510 - 9.86 = 9500.14, a loss of
      // 504.96; at 9.52 9510.14, a loss of 494.96.
      {"date 2026-12-09", "10", "1000", {Kind::kProfit, D("500")}, "9.51"},
      // 5% of the cost is 500.255.
      {"date 2026-12-09", "10", "1000", {Kind::kRate, D("5")}, "9.51"},
      // No loss at all: the tick below break-even, 10.01 (10010 - 10.11).
      {"date 2026-12-09", "10", "1000", {Kind::kProfit, D("0")}, "10.01"},
      // Cost 0.049 on one share at 100 per mille: 0.054 nets 0.044 (a fen of
      // commission), while 0.049 below it nets 0.049.
      {"date 2024-01-02 kind fund commission 100 min 0",
       "0.049",
       "1",
       {Kind::kProfit, D("0.005")},
       "0.054"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.terms) + " " + c.stop.value.Text());
    const TradeResult r = ComputeTrade(TermsOf(c.terms), D(c.buy), D(c.buy),
                                       D(c.count), {}, c.stop);
    EXPECT_EQ(r.stop->Text(), c.stop_price);
  }
  EXPECT_ERROR(ComputeTrade(TermsOf("date 2026-12-09"), D("10"), D("10"),
                            D("1000"), {}, TradeTarget{Kind::kRate, D("101")}),
               EFeeInputError,
               "no price on the tick loses 10105.15 of the cost 10005.10");
}

TEST(TradeFeesTest, RefusedInputs) {
  const FeeTerms terms = TermsOf("date 2024-01-02");
  EXPECT_ERROR(ComputeTrade(terms, D("10.001"), D("11"), D("100")),
               EFeeInputError, "price '10.001' is not on the 0.01 tick");
  EXPECT_ERROR(ComputeTrade(terms, D("10"), D("0"), D("100")), EFeeInputError,
               "price '0' is not above zero");
  EXPECT_ERROR(ComputeTrade(terms, D("10"), D("11"), D("0.5")), EFeeInputError,
               "count '0.5' is not a whole number above zero");
  EXPECT_ERROR(ParseCommissionRate("\xB8"), EFeeInputError,
               "commission '\uFFFD' is not a number");
  EXPECT_ERROR(ComputeTrade(TermsOf("date 2021-11-12 market bj"), D("10"),
                            D("11"), D("100")),
               EFeeInputError, "no fee rules for 2021-11-12");
}

// Everything at the largest bounds still computes, the searched prices too.
TEST(TradeFeesTest, BoundsHold) {
  FeeTerms terms = TermsOf("date 2024-01-02 kind fund");
  terms.commission_per_mille = Decimal(kMaxCommissionPerMille, 0);
  terms.min_commission = terms.other_fee = Decimal(kMaxFeeYuan, 0);
  for (const Decimal count : {Decimal(1, 0), Decimal(kMaxCount, 0)}) {
    for (const TradeTarget& target :
         {TradeTarget{TradeTarget::Kind::kProfit, Decimal(kMaxTargetProfit, 0)},
          TradeTarget{TradeTarget::Kind::kRate, Decimal(kMaxTargetRate, 0)}}) {
      const TradeResult r = ComputeTrade(terms, Decimal(kMaxPrice, 0),
                                         Decimal(1, 3), count, target);
      EXPECT_GT(*r.target, r.break_even);
      EXPECT_GT(r.break_even, Decimal(kMaxPrice, 0));
    }
  }
}

// An independent reference: integer arithmetic in units of 10^-10 yuan, the
// rules written as a chain of dates, the lowest prices found by a plain walk
// up the ticks.
using I128 = Decimal::Units;
constexpr int64_t kUnitsPerFen = 100'000'000;

struct RefTrade {
  int date;    // yyyymmdd
  int market;  // 0 sh, 1 sz, 2 bj
  bool fund;
  int64_t commission_e4;  // per mille × 10^4
  int64_t min_fen, other_fen;
  bool round_fen;
  int64_t buy_ticks, sell_ticks, count;
  std::optional<int64_t> target_fen;
};

I128 HalfUpToFen(I128 units) {
  const I128 half = kUnitsPerFen / 2;
  return units >= 0 ? (units + half) / kUnitsPerFen * kUnitsPerFen
                    : -((-units + half) / kUnitsPerFen * kUnitsPerFen);
}

// Fees of one side in units; `ticks` of 0.01 (stock) or 0.001 (fund) yuan.
struct RefSide {
  I128 amount, commission, stamp, transfer, other, fees;
};

RefSide RefFees(const RefTrade& t, bool sell, int64_t ticks) {
  auto fee = [&t](I128 units) {
    return t.round_fen ? HalfUpToFen(units) : units;
  };
  RefSide s{};
  // 1 tick × 1 share in units: 10^8 (stock) or 10^7 (fund).
  s.amount = I128(ticks) * t.count * (t.fund ? 10'000'000 : 100'000'000);
  // rate_e4 / 10^4 per mille = rate_e4 / 10^7 of the amount.
  auto per_mille_e4 = [&](int64_t rate_e4) {
    return fee(s.amount / 10'000'000 * rate_e4);
  };
  s.commission = per_mille_e4(t.commission_e4);
  if (s.commission < I128(t.min_fen) * kUnitsPerFen) {
    s.commission = I128(t.min_fen) * kUnitsPerFen;
  }
  if (!t.fund) {
    const bool stamp_both = t.date < 20080919;
    if (sell || stamp_both) {
      s.stamp = per_mille_e4(t.date >= 20230828 ? 5'000 : 10'000);
    }
    if (t.date < 20150801) {
      if (t.market == 0) {
        // 1 yuan (10^10 units) per 1000 shares, at least 1 yuan.
        s.transfer = fee(I128(t.count) * 10'000'000);
        if (s.transfer < 10'000'000'000) s.transfer = 10'000'000'000;
      }
    } else if (t.date < 20220429) {
      s.transfer = per_mille_e4(t.market == 2 ? 250 : 200);
    } else {
      s.transfer = per_mille_e4(100);
    }
  }
  s.other = I128(t.other_fen) * kUnitsPerFen;
  s.fees = s.commission + s.stamp + s.transfer + s.other;
  return s;
}

std::string RefMoney(I128 units) {
  const I128 fen = HalfUpToFen(units) / kUnitsPerFen;
  const I128 abs = fen < 0 ? -fen : fen;
  char text[64];
  std::snprintf(text, sizeof text, "%s%lld.%02lld", fen < 0 ? "-" : "",
                static_cast<long long>(abs / 100),
                static_cast<long long>(abs % 100));
  return text;
}

std::string RefPrice(const RefTrade& t, int64_t ticks) {
  char text[32];
  std::snprintf(text, sizeof text, t.fund ? "%lld.%03lld" : "%lld.%02lld",
                static_cast<long long>(ticks / (t.fund ? 1000 : 100)),
                static_cast<long long>(ticks % (t.fund ? 1000 : 100)));
  return text;
}

// The lowest tick at which selling makes `goal` units or more. Below
// `cost + goal` in amount it cannot, fees being never negative.
int64_t RefLowestTicks(const RefTrade& t, I128 cost, I128 goal) {
  const I128 per_tick = I128(t.count) * (t.fund ? 10'000'000 : 100'000'000);
  int64_t ticks = static_cast<int64_t>((cost + goal) / per_tick);
  if (ticks < 1) ticks = 1;
  for (;; ++ticks) {
    const RefSide s = RefFees(t, true, ticks);
    if (s.amount - s.fees - cost >= goal) return ticks;
  }
}

std::string RefFieldLines(const RefTrade& t) {
  const RefSide buy = RefFees(t, false, t.buy_ticks);
  const RefSide sell = RefFees(t, true, t.sell_ticks);
  const int from = t.date >= 20230828   ? 20230828
                   : t.date >= 20220429 ? 20220429
                   : t.date >= 20150801 ? 20150801
                   : t.date >= 20080919 ? 20080919
                                        : 20080424;
  char rules[16];
  std::snprintf(rules, sizeof rules, "%04d-%02d-%02d", from / 10000,
                from / 100 % 100, from % 100);
  std::string out = std::string("rules=") + rules + "\n";
  for (const auto& [name, s] :
       {std::pair{"buy.", buy}, std::pair{"sell.", sell}}) {
    const std::string n = name;
    out += n + "amount=" + RefMoney(s.amount) + "\n" + n +
           "commission=" + RefMoney(s.commission) + "\n" + n +
           "stamp_tax=" + RefMoney(s.stamp) + "\n" + n +
           "transfer_fee=" + RefMoney(s.transfer) + "\n" + n +
           "other_fee=" + RefMoney(s.other) + "\n" + n +
           "fees=" + RefMoney(s.fees) + "\n";
  }
  const I128 cost = buy.amount + buy.fees;
  const I128 profit = sell.amount - sell.fees - cost;
  // The rate in units of 0.01 %, half away from zero.
  const I128 twice = profit * 20'000 / cost;
  const I128 rate = (twice + (twice < 0 ? -1 : 1)) / 2;
  char rate_text[32];
  const long long rate_abs = static_cast<long long>(rate < 0 ? -rate : rate);
  std::snprintf(rate_text, sizeof rate_text, "%s%lld.%02lld",
                rate < 0 ? "-" : "", rate_abs / 100, rate_abs % 100);
  out += "cost=" + RefMoney(cost) + "\nproceeds=" + RefMoney(cost + profit) +
         "\nprofit=" + RefMoney(profit) + "\nprofit_rate=" + rate_text +
         "\nbreak_even=" + RefPrice(t, RefLowestTicks(t, cost, 0)) + "\n";
  if (t.target_fen) {
    out += "target=" +
           RefPrice(
               t, RefLowestTicks(t, cost, I128(*t.target_fen) * kUnitsPerFen)) +
           "\n";
  }
  return out;
}

TEST(TradeFeesTest, AgreesWithAnIndependentComputation) {
  std::mt19937_64 random(20261209);
  auto pick = [&random](int64_t low, int64_t high) {
    return std::uniform_int_distribution<int64_t>(low, high)(random);
  };
  for (int i = 0; i < 4000; ++i) {
    RefTrade t;
    t.date = static_cast<int>(pick(2008, 2027) * 10000 + pick(1, 12) * 100 +
                              pick(1, 28));
    t.market = static_cast<int>(pick(0, t.date >= 20211115 ? 2 : 1));
    if (t.date < 20080424) t.date = 20080424;
    t.fund = pick(0, 3) == 0;
    t.commission_e4 = pick(0, 3) == 0 ? pick(0, 1'000'000) : pick(0, 30'000);
    t.min_fen = pick(0, 2) == 0 ? 0 : pick(0, 2) == 0 ? pick(1, 2000) : 500;
    t.other_fen = pick(0, 2) == 0 ? pick(0, 300) : 0;
    t.round_fen = pick(0, 4) != 0;
    t.buy_ticks = pick(1, 60'000);
    t.sell_ticks = std::max<int64_t>(1, t.buy_ticks + pick(-6'000, 12'000));
    t.count = pick(0, 4) == 0 ? pick(1, 999) : pick(1, 2000) * 100;
    if (pick(0, 3) == 0) t.target_fen = pick(-100'000, 500'000);

    FeeTerms terms;
    terms.date = Date{t.date / 10000, t.date / 100 % 100, t.date % 100};
    terms.exchange = static_cast<Exchange>(t.market);
    terms.kind = t.fund ? SecurityKind::kFund : SecurityKind::kStock;
    terms.commission_per_mille = Decimal(t.commission_e4, 4);
    terms.min_commission = Decimal(t.min_fen, 2);
    terms.other_fee = Decimal(t.other_fen, 2);
    terms.rounding = t.round_fen ? Rounding::kFen : Rounding::kNone;
    const Decimal tick = Tick(terms.kind);
    std::optional<TradeTarget> target;
    if (t.target_fen) {
      target =
          TradeTarget{TradeTarget::Kind::kProfit, Decimal(*t.target_fen, 2)};
    }
    const TradeResult result = ComputeTrade(
        terms, tick * Decimal(t.buy_ticks, 0), tick * Decimal(t.sell_ticks, 0),
        Decimal(t.count, 0), target);
    ASSERT_EQ(FeeFieldLines(result, terms.kind), RefFieldLines(t))
        << "trade " << i;
  }
}

}  // namespace
}  // namespace qilo
