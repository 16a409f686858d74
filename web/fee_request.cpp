#include "web/fee_request.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "exact/fee_inputs.h"
#include "exact/fee_report.h"
#include "exact/trade_fees.h"

namespace qilo::web {
namespace {

using Inputs = std::map<std::string, std::string, std::less<>>;

Inputs ReadInputs(std::string_view text) {
  Inputs inputs;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? "" : text.substr(end + 1);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    inputs[std::string(line.substr(0, equals))] =
        std::string(line.substr(equals + 1));
  }
  return inputs;
}

// Parses each input on its own, so that every bad one is reported at once,
// each under its own name.
class InputReader {
 public:
  explicit InputReader(const std::string_view text)
      : inputs_(ReadInputs(text)) {}

  // The input's text; empty when it was left out.
  std::string Text(std::string_view name) const {
    const auto found = inputs_.find(name);
    return found == inputs_.end() ? std::string() : found->second;
  }

  // parse(text) for a required input; nothing after recording its error.
  template <typename Parse>
  auto Required(std::string_view name, Parse parse)
      -> std::optional<decltype(parse(std::string()))> {
    try {
      return parse(Text(name));
    } catch (const Exception& e) {
      Fail(name, e.Message());
      return std::nullopt;
    }
  }

  // Like Required, but nothing without an error when the input is empty.
  template <typename Parse>
  auto Optional(std::string_view name, Parse parse)
      -> std::optional<decltype(parse(std::string()))> {
    if (Text(name).empty()) return std::nullopt;
    return Required(name, parse);
  }

  void Fail(std::string_view name, const std::string& message) {
    errors_ += "error." + std::string(name) + "=" + message + "\n";
  }

  const std::string& Errors() const { return errors_; }

 private:
  Inputs inputs_;
  std::string errors_;
};

// A choice among codes, read with `from_code`; empty gives `fallback`.
template <typename T, typename FromCode>
T ReadChoice(InputReader& reader, std::string_view name, FromCode from_code,
             T fallback, const char* choices) {
  const std::string text = reader.Text(name);
  if (text.empty()) return fallback;
  const std::optional<T> value = from_code(text);
  if (value) return *value;
  reader.Fail(name, std::string(name) + " '" + text + "' is not " + choices);
  return fallback;
}

std::optional<Rounding> RoundingFromCode(std::string_view code) {
  if (code == "fen") return Rounding::kFen;
  if (code == "none") return Rounding::kNone;
  return std::nullopt;
}

}  // namespace

std::string FeesForPage(const std::string_view input_lines) {
  InputReader in(input_lines);
  FeeTerms terms;
  const std::optional<Date> date = in.Required("date", ParseTradeDate);
  terms.exchange = ReadChoice(in, "market", ExchangeFromCode,
                              Exchange::kShanghai, "sh, sz or bj");
  terms.kind = ReadChoice(in, "kind", SecurityKindFromCode,
                          SecurityKind::kStock, "stock or fund");
  if (auto rate = in.Optional("commission", ParseCommissionRate)) {
    terms.commission_per_mille = *rate;
  }
  if (auto least = in.Optional("min-commission", [](const std::string& t) {
        return ParseFeeYuan(t, "min commission");
      })) {
    terms.min_commission = *least;
  }
  if (auto other = in.Optional("other", [](const std::string& t) {
        return ParseFeeYuan(t, "other fee");
      })) {
    terms.other_fee = *other;
  }
  terms.rounding = ReadChoice(in, "rounding", RoundingFromCode, Rounding::kFen,
                              "fen or none");
  std::optional<TradeTarget> target;
  const char* target_name = nullptr;
  if (auto profit = in.Optional("target-profit", ParseTargetProfit)) {
    target = TradeTarget{TradeTarget::Kind::kProfit, *profit};
    target_name = "target-profit";
  }
  if (!in.Text("target-rate").empty() && target_name != nullptr) {
    in.Fail("target-rate", "takes target profit or target rate, not both");
  } else if (auto rate = in.Optional("target-rate", ParseTargetRate)) {
    target = TradeTarget{TradeTarget::Kind::kRate, *rate};
    target_name = "target-rate";
  }
  const auto price = [&terms](const std::string& text) {
    return ParsePrice(text, terms.kind);
  };
  const std::optional<Decimal> buy = in.Required("buy", price);
  const std::optional<Decimal> sell = in.Required("sell", price);
  const std::optional<Decimal> count = in.Required("count", ParseCount);
  if (!in.Errors().empty()) return in.Errors();
  terms.date = *date;
  try {
    return FeeFieldLines(ComputeTrade(terms, *buy, *sell, *count, target),
                         terms.kind);
  } catch (const Exception& e) {
    // The inputs passed their parsers: what is left is a date without rules
    // on the market, or a target no price reaches.
    const bool no_rules = e.Message().starts_with("no fee rules");
    in.Fail(no_rules || target_name == nullptr ? "date" : target_name,
            e.Message());
    return in.Errors();
  }
}

}  // namespace qilo::web
