#include "web/page_inputs.h"

#include "exact/fee_inputs.h"
#include "exact/security_code.h"

namespace qilo::web {
namespace {

std::optional<Rounding> RoundingFromCode(std::string_view code) {
  if (code == "fen") return Rounding::kFen;
  if (code == "none") return Rounding::kNone;
  return std::nullopt;
}

}  // namespace

InputReader::InputReader(std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? "" : text.substr(end + 1);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    inputs_[std::string(line.substr(0, equals))] =
        std::string(line.substr(equals + 1));
  }
}

std::string InputReader::Text(std::string_view name) const {
  const auto found = inputs_.find(name);
  return found == inputs_.end() ? std::string() : found->second;
}

bool InputReader::Has(std::string_view name) const {
  return inputs_.contains(name);
}

void InputReader::Fail(std::string_view name, const std::string& message) {
  errors_ += "error." + std::string(name) + "=" + message + "\n";
}

std::function<Decimal(const std::string&)> PriceReader(
    const std::optional<FeeTerms>& terms) {
  const SecurityKind kind = terms ? terms->kind : SecurityKind::kStock;
  return [kind](const std::string& text) { return ParsePrice(text, kind); };
}

std::optional<FeeTerms> ReadFeeTerms(InputReader& in) {
  const size_t errors_before = in.Errors().size();
  FeeTerms terms;
  const std::optional<Date> date = in.Required("date", ParseTradeDate);
  const std::optional<Exchange> market =
      ReadChoice<Exchange>(in, "market", ExchangeFromCode, "sh, sz or bj");
  const std::optional<SecurityKind> kind = ReadChoice<SecurityKind>(
      in, "kind", SecurityKindFromCode, "stock or fund");
  if (market) terms.exchange = *market;
  if (kind) terms.kind = *kind;
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
  if (auto rounding = ReadChoice<Rounding>(in, "rounding", RoundingFromCode,
                                           "fen or none")) {
    terms.rounding = *rounding;
  }
  if (date) {
    terms.date = *date;
    // The code's market and kind need the date: a 920 code has a first day.
    in.Optional("code", [&](const std::string& code) {
      return ApplySecurityCode(code, market, kind, &terms);
    });
  }
  if (in.Errors().size() != errors_before) return std::nullopt;
  return terms;
}

}  // namespace qilo::web
