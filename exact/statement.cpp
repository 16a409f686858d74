#include "exact/statement.h"

#include <optional>

#include "exact/fee_inputs.h"
#include "exact/fee_report.h"
#include "exact/security_code.h"

namespace qilo {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// Equal but for the case of ASCII letters; the bytes of other characters
// compare exactly.
bool SameWord(std::string_view a, std::string_view b) {
  auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The fields of one CSV line, blanks around them trimmed; a field in double
// quotes may hold commas, and "" in it stands for one quote. Neither byte is
// ever part of a longer UTF-8 character.
std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (std::string& field : fields) field = Trimmed(field);
  return fields;
}

// Where each column is in the header; the optional ones may be missing.
struct Columns {
  size_t date, side, price, count;
  std::optional<size_t> market, kind, code;
};

// Throws EFeeInputError "missing column 'NAME'".
Columns FindColumns(const std::vector<std::string>& header) {
  auto find = [&header](const char* name) -> std::optional<size_t> {
    for (size_t i = 0; i < header.size(); ++i) {
      if (SameWord(header[i], name)) return i;
    }
    return std::nullopt;
  };
  auto required = [&find](const char* name) {
    const std::optional<size_t> at = find(name);
    if (!at) {
      throw EFeeInputError(std::string("missing column '") + name + "'");
    }
    return *at;
  };
  return Columns{required("date"),  required("side"), required("price"),
                 required("count"), find("market"),   find("kind"),
                 find("code")};
}

Side ReadSide(const std::string& text) {
  if (SameWord(text, "buy") || text == "买入") return Side::kBuy;
  if (SameWord(text, "sell") || text == "卖出") return Side::kSell;
  throw EFeeInputError(QuotedInput("side", text) +
                       " is not buy, sell, 买入 or 卖出");
}

// The line's own market, kind and code, where it gives them, override the
// terms and the default code; a code sets both, and the line's market and
// kind must agree with it.
void ReadMarketAndKind(const std::vector<std::string>& fields,
                       const Columns& columns, std::string_view default_code,
                       FeeTerms* terms) {
  std::optional<Exchange> exchange;
  std::optional<SecurityKind> kind;
  if (columns.market && !fields[*columns.market].empty()) {
    const std::string& text = fields[*columns.market];
    exchange = ExchangeFromCode(text);
    if (!exchange) {
      throw EFeeInputError(QuotedInput("market", text) +
                           " is not sh, sz or bj");
    }
    terms->exchange = *exchange;
  }
  if (columns.kind && !fields[*columns.kind].empty()) {
    const std::string& text = fields[*columns.kind];
    kind = SecurityKindFromCode(text);
    if (!kind) {
      throw EFeeInputError(QuotedInput("kind", text) + " is not stock or fund");
    }
    terms->kind = *kind;
  }
  std::string_view code = default_code;
  if (columns.code && !fields[*columns.code].empty()) {
    code = fields[*columns.code];
  }
  if (!code.empty()) ApplySecurityCode(code, exchange, kind, terms);
}

// The added columns of one trade line.
std::string TradeColumns(const std::vector<std::string>& fields,
                         const Columns& columns, size_t header_size,
                         std::string_view default_code, FeeTerms terms) {
  if (fields.size() != header_size) {
    throw EFeeInputError(std::to_string(fields.size()) +
                         " fields where the header has " +
                         std::to_string(header_size));
  }
  terms.date = ParseTradeDate(fields[columns.date]);
  const Side side = ReadSide(fields[columns.side]);
  ReadMarketAndKind(fields, columns, default_code, &terms);
  const Decimal price = ParsePrice(fields[columns.price], terms.kind);
  const Decimal count = ParseCount(fields[columns.count]);
  return SideColumns(ComputeSide(terms, side, price, count), side);
}

}  // namespace

StatementOutput ComputeStatement(std::string_view text, const FeeTerms& terms,
                                 std::string_view code) {
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  if (lines.empty()) lines.emplace_back();

  StatementOutput out;
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  std::string_view header = lines[0];
  if (header.substr(0, kBom.size()) == kBom) header.remove_prefix(kBom.size());
  const std::vector<std::string> header_fields = SplitCsvLine(header);
  Columns columns;
  try {
    columns = FindColumns(header_fields);
  } catch (const EFeeInputError& e) {
    out.errors.push_back("line 1: " + e.Message());
    return out;
  }
  out.lines.push_back(std::string(lines[0]) + "," + kStatementAddedColumns);
  for (size_t i = 1; i < lines.size(); ++i) {
    if (Trimmed(lines[i]).empty()) continue;
    try {
      out.lines.push_back(std::string(lines[i]) + "," +
                          TradeColumns(SplitCsvLine(lines[i]), columns,
                                       header_fields.size(), code, terms));
    } catch (const Exception& e) {
      out.errors.push_back("line " + std::to_string(i + 1) + ": " +
                           e.Message());
    }
  }
  return out;
}

}  // namespace qilo
