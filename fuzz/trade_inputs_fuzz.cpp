// Every text a trade's inputs are typed as, to the parser the first byte
// picks: either a value inside the bounds its header states, whose printed
// form reads back as the same value, or EFeeInputError with one line of valid
// UTF-8 that names the input. Nothing else may escape.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "exact/decimal.h"
#include "exact/fee_inputs.h"
#include "exact/fee_schedule.h"
#include "exact/security_code.h"
#include "fuzz/fuzz_bytes.h"
#include "text/exception.h"
#include "text/utf16.h"

namespace {

using qilo::Decimal;

// A parser with its bounds: the lowest and highest value it may give (the
// lowest excluded when `above_low`), and the decimals its value may have.
struct Bounded {
  const char* name;  // what its errors name
  std::function<Decimal(std::string_view)> parse;
  Decimal low, high;
  bool above_low;
  int decimals;
};

const Bounded kBounded[] = {
    {"price",
     [](std::string_view t) {
       return qilo::ParsePrice(t, qilo::SecurityKind::kStock);
     },
     Decimal(0, 0), Decimal(qilo::kMaxPrice, 0), true, 2},
    {"price",
     [](std::string_view t) {
       return qilo::ParsePrice(t, qilo::SecurityKind::kFund);
     },
     Decimal(0, 0), Decimal(qilo::kMaxPrice, 0), true, 3},
    {"count", qilo::ParseCount, Decimal(1, 0), Decimal(qilo::kMaxCount, 0),
     false, 0},
    {"commission", qilo::ParseCommissionRate, Decimal(0, 0),
     Decimal(qilo::kMaxCommissionPerMille, 0), false, 4},
    {"min commission",
     [](std::string_view t) { return qilo::ParseFeeYuan(t, "min commission"); },
     Decimal(0, 0), Decimal(qilo::kMaxFeeYuan, 0), false, 2},
    {"target profit", qilo::ParseTargetProfit,
     Decimal(-qilo::kMaxTargetProfit, 0), Decimal(qilo::kMaxTargetProfit, 0),
     false, 2},
    {"target rate", qilo::ParseTargetRate, Decimal(-qilo::kMaxTargetRate, 0),
     Decimal(qilo::kMaxTargetRate, 0), false, 4},
    {"percent", qilo::ParseLimitPercent, Decimal(0, 0), Decimal(100, 0), true,
     2},
    {"average", qilo::ParseAveragePrice, Decimal(0, 0),
     Decimal(qilo::kMaxPrice, 0), true, 3},
    {"stop loss", qilo::ParseStopLoss, Decimal(0, 0),
     Decimal(qilo::kMaxTargetProfit, 0), false, 2},
    {"stop rate", qilo::ParseStopRate, Decimal(0, 0), Decimal(100, 0), false,
     4},
};

// The error a parser may raise: its own kind, on one line of UTF-8 that names
// what was given.
void CheckRefusal(const qilo::Exception& e, std::string_view name) {
  Require(std::string_view(e.ClassName()) == "EFeeInputError");
  const std::string& message = e.Message();
  Require(!message.empty() && message.find('\n') == std::string::npos);
  Require(qilo::Utf8ToUtf16(message).lossless);
  Require(message.find(name) != std::string::npos);
}

void CheckBounded(const Bounded& b, std::string_view text) {
  Decimal value;
  try {
    value = b.parse(text);
  } catch (const qilo::Exception& e) {
    CheckRefusal(e, b.name);
    return;
  }
  Require(b.above_low ? value > b.low : value >= b.low);
  Require(value <= b.high);
  Require(value.Decimals() <= b.decimals);
  // What is printed of it reads back as the same value.
  Require(b.parse(value.Text()) == value);
  Require(b.parse(value.Text(b.decimals)) == value);
}

void CheckDate(std::string_view text) {
  qilo::Date date;
  try {
    date = qilo::ParseTradeDate(text);
  } catch (const qilo::Exception& e) {
    CheckRefusal(e, "date");
    return;
  }
  Require(qilo::ParseTradeDate(qilo::DateText(date)) == date);
}

void CheckCode(std::string_view text, qilo::Date date) {
  try {
    const qilo::Security security = qilo::SecurityFromCode(text, date);
    // Only six digits name a security.
    Require(text.size() == 6);
    for (const char c : text) Require(c >= '0' && c <= '9');
    Require(security.kind == qilo::SecurityKind::kFund ||
            security.board != qilo::Board::kFund);
  } catch (const qilo::Exception& e) {
    CheckRefusal(e, "code");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1,
                              size - 1);
  const size_t pick = data[0] % (std::size(kBounded) + 2);
  if (pick < std::size(kBounded)) {
    CheckBounded(kBounded[pick], text);
  } else if (pick == std::size(kBounded)) {
    CheckDate(text);
  } else {
    // Before and after the Beijing codes moved to 920.
    CheckCode(text, qilo::Date{2024, 4, 21});
    CheckCode(text, qilo::Date{2025, 10, 9});
  }
  return 0;
}
