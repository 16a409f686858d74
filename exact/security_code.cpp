#include "exact/security_code.h"

#include <string>

#include "exact/fee_inputs.h"

namespace qilo {
namespace {

constexpr const char* kBoardCodes[] = {"main", "chinext", "star", "bj", "fund"};

struct Prefix {
  std::string_view digits;
  Security security;
};

constexpr Security kShMain{Exchange::kShanghai, SecurityKind::kStock,
                           Board::kMain};
constexpr Security kStar{Exchange::kShanghai, SecurityKind::kStock,
                         Board::kStar};
constexpr Security kSzMain{Exchange::kShenzhen, SecurityKind::kStock,
                           Board::kMain};
constexpr Security kChiNext{Exchange::kShenzhen, SecurityKind::kStock,
                            Board::kChiNext};
constexpr Security kBj{Exchange::kBeijing, SecurityKind::kStock,
                       Board::kBeijing};
constexpr Security kShFund{Exchange::kShanghai, SecurityKind::kFund,
                           Board::kFund};
constexpr Security kSzFund{Exchange::kShenzhen, SecurityKind::kFund,
                           Board::kFund};

constexpr Prefix kPrefixes[] = {
    {"600", kShMain},  {"601", kShMain}, {"603", kShMain},  {"605", kShMain},
    {"688", kStar},    {"689", kStar},   {"000", kSzMain},  {"001", kSzMain},
    {"002", kSzMain},  {"003", kSzMain}, {"300", kChiNext}, {"301", kChiNext},
    {"302", kChiNext}, {"43", kBj},      {"83", kBj},       {"87", kBj},
    {"88", kBj},       {"920", kBj},     {"50", kShFund},   {"51", kShFund},
    {"56", kShFund},   {"58", kShFund},  {"15", kSzFund},   {"16", kSzFund},
    {"18", kSzFund},
};

// Beijing's own 920 codes were issued from this day on.
constexpr Date kFirst920Day{2024, 4, 22};

}  // namespace

const char* BoardCode(Board board) {
  return kBoardCodes[static_cast<int>(board)];
}

std::optional<Board> BoardFromCode(std::string_view code) {
  for (int i = 0; i < 5; ++i) {
    if (code == kBoardCodes[i]) return static_cast<Board>(i);
  }
  return std::nullopt;
}

Security SecurityFromCode(std::string_view code, Date date) {
  const auto shown = [code] { return QuotedInput("code", code); };
  if (code.size() != 6 ||
      code.find_first_not_of("0123456789") != std::string_view::npos) {
    throw EFeeInputError(shown() + " is not six digits");
  }
  for (const Prefix& prefix : kPrefixes) {
    if (code.substr(0, prefix.digits.size()) != prefix.digits) continue;
    if (prefix.digits == "920" && date < kFirst920Day) {
      throw EFeeInputError(shown() + " was not in use before " +
                           DateText(kFirst920Day));
    }
    return prefix.security;
  }
  throw EFeeInputError(shown() +
                       " is not an A share or fund of Shanghai, Shenzhen or "
                       "Beijing");
}

Security ApplySecurityCode(std::string_view code,
                           const std::optional<Exchange>& market,
                           const std::optional<SecurityKind>& kind,
                           FeeTerms* terms) {
  const Security security = SecurityFromCode(code, terms->date);
  const std::string named = " contradicts " + QuotedInput("code", code);
  if (market && *market != security.exchange) {
    throw EFeeInputError("market '" + std::string(ExchangeCode(*market)) + "'" +
                         named);
  }
  if (kind && *kind != security.kind) {
    throw EFeeInputError("kind '" + std::string(SecurityKindCode(*kind)) + "'" +
                         named);
  }
  terms->exchange = security.exchange;
  terms->kind = security.kind;
  return security;
}

}  // namespace qilo
