// A statement as a broker exports it, read as qilo-cli reads one (bytes that
// are not UTF-8 taken as GBK). Any bytes: every trade line is computed or
// reported once as "line N: reason", in order; all that comes out is valid
// UTF-8, and each computed line's columns add up. A statement built from the
// input's bytes (columns in any order, quoted fields, a BOM, CR LF, GBK):
// each good line's columns are what the engine gives for that side alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exact/fee_report.h"
#include "exact/fee_schedule.h"
#include "exact/statement.h"
#include "exact/trade_fees.h"
#include "fuzz/fuzz_bytes.h"
#include "text/exception.h"
#include "text/gbk.h"
#include "text/utf16.h"

namespace {

using qilo::Decimal;

qilo::StatementOutput Read(std::string bytes) {
  if (!qilo::Utf8ToUtf16(bytes).lossless) bytes = qilo::GbkToUtf8(bytes);
  return qilo::ComputeStatement(bytes, qilo::FeeTerms{});
}

std::vector<std::string> Split(std::string_view text, char by) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (c == by) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

// The seven added columns: amount, the four fees, their sum, and the amount
// with the fees added (a buy) or taken off (a sell).
void CheckColumns(const std::string& line) {
  const std::vector<std::string> all = Split(line, ',');
  Require(all.size() >= 8);
  std::vector<Decimal> v;
  for (size_t i = all.size() - 7; i < all.size(); ++i) {
    const std::optional<Decimal> d = Decimal::Parse(all[i]);
    Require(d.has_value() && d->Decimals() <= 2);
    v.push_back(*d);
  }
  // All but the net, which a sale of less than its fees makes negative.
  for (size_t i = 0; i < 6; ++i) Require(v[i].Sign() >= 0);
  Require(v[1] + v[2] + v[3] + v[4] == v[5]);
  Require(v[6] == v[0] + v[5] || v[6] == v[0] - v[5]);
}

void CheckAnyBytes(std::string_view bytes) {
  const qilo::StatementOutput out = Read(std::string(bytes));
  for (const auto* list : {&out.lines, &out.errors}) {
    for (const std::string& line : *list) {
      Require(qilo::Utf8ToUtf16(line).lossless);
      Require(line.find('\n') == std::string::npos);
    }
  }
  if (out.lines.empty()) {
    Require(out.errors.size() == 1 &&
            out.errors[0].rfind("line 1: missing column '", 0) == 0);
    return;
  }
  // Each line after the header that holds more than blanks comes out once.
  size_t trades = 0;
  const std::vector<std::string> lines = Split(bytes, '\n');
  for (size_t i = 1; i < lines.size(); ++i) {
    bool blank = true;
    for (const char c : lines[i])
      blank = blank && static_cast<unsigned char>(c) <= 32;
    trades += !blank;
  }
  Require(out.lines.size() - 1 + out.errors.size() == trades);
  size_t last = 1;
  for (const std::string& error : out.errors) {
    Require(error.rfind("line ", 0) == 0);
    const size_t colon = error.find(": ");
    Require(colon != std::string::npos);
    const size_t n = std::stoul(error.substr(5, colon - 5));
    Require(n > last && n <= lines.size());
    last = n;
  }
  for (size_t i = 1; i < out.lines.size(); ++i) CheckColumns(out.lines[i]);
}

struct Trade {
  qilo::FeeTerms terms;
  qilo::Side side;
  Decimal price, count;
};

// A field as a broker may write it: blanks around it, or in quotes.
std::string Written(FuzzBytes& in, const std::string& value) {
  switch (in.Next() % 4) {
    case 0:
      return " " + value + "\t";
    case 1:
      return "\"" + value + "\"";
    default:
      return value;
  }
}

void CheckBuilt(std::string_view data) {
  FuzzBytes in(data);
  static const char* const kColumns[] = {"date",  "side",   "price",
                                         "count", "market", "kind"};
  std::vector<int> order = {0, 1, 2, 3, 4, 5};
  for (size_t i = order.size(); i > 1; --i)
    std::swap(order[i - 1], order[in.Below(i)]);
  const char* const eol = in.Next() % 2 ? "\r\n" : "\n";
  const bool gbk = in.Next() % 2;
  std::string text = in.Next() % 2 && !gbk ? "\xEF\xBB\xBF" : "";
  for (size_t i = 0; i < order.size(); ++i) {
    text += (i ? "," : "") + std::string(i % 2 ? "\"" : "") +
            kColumns[order[i]] + (i % 2 ? "\"" : "");
  }
  text += eol;
  std::vector<std::optional<std::string>> expected;  // the columns, or an error
  const qilo::Date first{2008, 4, 24};
  while (!in.Empty() && expected.size() < 50) {
    Trade t;
    const unsigned days = in.Below(6800);
    // A day from the schedule's first on, month and day kept valid.
    t.terms.date = {first.year + static_cast<int>(days / 365),
                    1 + static_cast<int>(days / 28 % 12),
                    1 + static_cast<int>(days % 28)};
    if (t.terms.date < first) t.terms.date = first;
    t.side = in.Next() % 2 ? qilo::Side::kBuy : qilo::Side::kSell;
    t.terms.exchange = static_cast<qilo::Exchange>(in.Next() % 3);
    t.terms.kind =
        in.Next() % 4 ? qilo::SecurityKind::kStock : qilo::SecurityKind::kFund;
    const int decimals = t.terms.kind == qilo::SecurityKind::kFund ? 3 : 2;
    t.price = Decimal::FromUnits(1 + in.Below(60000), decimals);
    t.count = Decimal(1 + in.Below(20000), 0);
    const std::string side = t.side == qilo::Side::kBuy
                                 ? (in.Next() % 2 ? "买入" : "Buy")
                                 : (in.Next() % 2 ? "卖出" : "SELL");
    const std::string values[] = {qilo::DateText(t.terms.date),
                                  side,
                                  t.price.Text(),
                                  t.count.Text(),
                                  qilo::ExchangeCode(t.terms.exchange),
                                  qilo::SecurityKindCode(t.terms.kind)};
    std::string line;
    for (size_t i = 0; i < order.size(); ++i) {
      line += (i ? "," : "") + Written(in, values[order[i]]);
    }
    text += line + eol;
    try {
      expected.push_back(qilo::SideColumns(
          qilo::ComputeSide(t.terms, t.side, t.price, t.count), t.side));
    } catch (const qilo::Exception&) {
      expected.push_back(std::nullopt);
    }
    if (in.Next() % 8 == 0) text += eol;  // a blank line between trades
  }
  const qilo::StatementOutput out = Read(gbk ? qilo::Utf8ToGbk(text) : text);
  size_t good = 1, bad = 0;
  for (const std::optional<std::string>& columns : expected) {
    if (columns) {
      Require(good < out.lines.size());
      const std::string& line = out.lines[good++];
      Require(line.size() > columns->size() &&
              line.compare(line.size() - columns->size(), columns->size(),
                           *columns) == 0);
    } else {
      ++bad;
    }
  }
  Require(good == out.lines.size() && bad == out.errors.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1,
                              size - 1);
  if (data[0] % 2) {
    CheckAnyBytes(rest);
  } else {
    CheckBuilt(rest);
  }
  return 0;
}
