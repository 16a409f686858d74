#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "exact/decimal.h"
#include "exact/fee_inputs.h"
#include "exact/trade_fees.h"

namespace qilo::web {

// The page's inputs, "name=value" lines ("\n" ends each), parsed one by one so
// that every bad input is reported at once, each under its own name.
class InputReader {
 public:
  explicit InputReader(std::string_view input_lines);

  // The input's text; empty when it was left out.
  std::string Text(std::string_view name) const;
  // Whether the input was given, even empty.
  bool Has(std::string_view name) const;

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

  // Records "error.NAME=message".
  void Fail(std::string_view name, const std::string& message);

  const std::string& Errors() const { return errors_; }

 private:
  std::map<std::string, std::string, std::less<>> inputs_;
  std::string errors_;
};

// A choice among codes, read with `from_code`: nothing when it is empty, or
// when it is none of them ("NAME '…' is not `choices`" recorded).
template <typename T, typename FromCode>
std::optional<T> ReadChoice(InputReader& in, std::string_view name,
                            FromCode from_code, const char* choices) {
  const std::string text = in.Text(name);
  if (text.empty()) return std::nullopt;
  const std::optional<T> value = from_code(text);
  if (!value) in.Fail(name, QuotedInput(name, text) + " is not " + choices);
  return value;
}

// ParsePrice for the kind the rule inputs give; a stock's when they are bad,
// so that a price is still checked and its error shown.
std::function<Decimal(const std::string&)> PriceReader(
    const std::optional<FeeTerms>& terms);

// The rule inputs the fee commands share, as qilo-cli's options name them:
// date (required), market, kind, commission, min-commission, other, rounding
// and code, which sets market and kind (a market or kind given must agree
// with it). Empty ones take the command's defaults. Nothing when any of them
// is bad, each recorded in `in`.
std::optional<FeeTerms> ReadFeeTerms(InputReader& in);

// Runs `compute` on inputs that passed their parsers, or gives the errors
// recorded; an error the computation throws is recorded under `name_for`
// (its message) and given instead.
template <typename Compute, typename NameFor>
std::string Answer(InputReader& in, Compute compute, NameFor name_for) {
  if (!in.Errors().empty()) return in.Errors();
  try {
    return compute();
  } catch (const Exception& e) {
    in.Fail(name_for(e.Message()), e.Message());
    return in.Errors();
  }
}

}  // namespace qilo::web
