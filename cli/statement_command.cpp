#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/number_text.h"
#include "cli/command.h"
#include "cli/fee_options.h"
#include "exact/fee_inputs.h"
#include "exact/fee_report.h"
#include "exact/trade_fees.h"
#include "os/files.h"
#include "text/gbk.h"

namespace qilo::cli {
namespace {

constexpr char kAddedColumns[] =
    ",amount,commission,stamp_tax,transfer_fee,other_fee,fees,net";

// True for well-formed UTF-8. A GBK text with any Chinese in it is not: its
// lead bytes are followed by bytes UTF-8 never continues with.
bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        return false;
      }
    }
    i += length;
  }
  return true;
}

// The fields of one CSV line, blanks around them trimmed; a field in double
// quotes may hold commas, and "" in it stands for one quote. Neither byte is
// ever part of a GBK or UTF-8 character.
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
  for (std::string& field : fields) field = TrimBlanks(field);
  return fields;
}

// Where each column is in the header; the optional ones may be missing.
struct Columns {
  size_t date, side, price, count;
  std::optional<size_t> market, kind;
};

// Throws EFeeInputError "missing column 'NAME'".
Columns FindColumns(const std::vector<std::string>& header) {
  auto find = [&header](const char* name) -> std::optional<size_t> {
    for (size_t i = 0; i < header.size(); ++i) {
      if (SameText(header[i], name)) return i;
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
                 required("count"), find("market"),   find("kind")};
}

Side ReadSide(const std::string& text) {
  if (SameText(text, "buy") || text == Gbk("买入")) return Side::kBuy;
  if (SameText(text, "sell") || text == Gbk("卖出")) return Side::kSell;
  throw EFeeInputError("side '" + text +
                       Gbk("' is not buy, sell, 买入 or 卖出"));
}

// The line's own market and kind, where it gives them, override the options.
void ReadMarketAndKind(const std::vector<std::string>& fields,
                       const Columns& columns, FeeTerms* terms) {
  if (columns.market && !fields[*columns.market].empty()) {
    const std::string& code = fields[*columns.market];
    const std::optional<Exchange> exchange = ExchangeFromCode(code);
    if (!exchange) {
      throw EFeeInputError("market '" + code + "' is not sh, sz or bj");
    }
    terms->exchange = *exchange;
  }
  if (columns.kind && !fields[*columns.kind].empty()) {
    const std::string& code = fields[*columns.kind];
    const std::optional<SecurityKind> kind = SecurityKindFromCode(code);
    if (!kind) throw EFeeInputError("kind '" + code + "' is not stock or fund");
    terms->kind = *kind;
  }
}

// The added columns of one trade line (GBK fields).
std::string TradeColumns(const std::vector<std::string>& fields,
                         const Columns& columns, size_t header_size,
                         FeeTerms terms) {
  if (fields.size() != header_size) {
    throw EFeeInputError(std::to_string(fields.size()) +
                         " fields where the header has " +
                         std::to_string(header_size));
  }
  terms.date = ParseTradeDate(fields[columns.date]);
  const Side side = ReadSide(fields[columns.side]);
  ReadMarketAndKind(fields, columns, &terms);
  const Decimal price = ParsePrice(fields[columns.price], terms.kind);
  const Decimal count = ParseCount(fields[columns.count]);
  return SideColumns(ComputeSide(terms, side, price, count), side);
}

int RunStatement(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(args, FeeRuleOptions(), {}, &parsed, &error) ||
      parsed.positionals.size() != 1) {
    return UsageError("statement", error.empty() ? "needs FILE.csv" : error);
  }
  FeeTerms terms;
  std::string bytes;
  try {
    if (!ReadFeeTerms(parsed, &terms, &error)) {
      return UsageError("statement", error);
    }
    const std::string& name = parsed.positionals[0];
    const ReadResult read = ReadFileBytes(PathFromUtf8(name), &bytes);
    if (read != ReadResult::kOk) {
      throw EFeeInputError(
          Utf8ToGbk("cannot read " + name +
                    (read == ReadResult::kMissing ? ": no such file" : "")));
    }
  } catch (const Exception& e) {
    return FeeError(e);
  }

  const bool utf8 = IsUtf8(bytes);
  std::vector<std::string> lines;
  for (size_t start = 0; start < bytes.size();) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  // What is printed is the line itself in UTF-8; it is read in GBK.
  auto shown = [utf8](const std::string& line) {
    return utf8 ? line : GbkToUtf8(line);
  };
  auto fields_of = [utf8](std::string_view line) {
    return SplitCsvLine(utf8 ? Utf8ToGbk(line) : std::string(line));
  };

  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (lines.empty()) lines.emplace_back();
  std::string_view header = lines[0];
  if (utf8 && header.substr(0, kBom.size()) == kBom) {
    header.remove_prefix(kBom.size());
  }
  const std::vector<std::string> header_fields = fields_of(header);
  Columns columns;
  try {
    columns = FindColumns(header_fields);
  } catch (const EFeeInputError& e) {
    std::fprintf(stderr, "line 1: %s\n", GbkToUtf8(e.Message()).c_str());
    return 2;
  }
  std::printf("%s%s\n", shown(lines[0]).c_str(), kAddedColumns);

  bool all_good = true;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (TrimBlanks(lines[i]).empty()) continue;
    try {
      const std::string added = TradeColumns(fields_of(lines[i]), columns,
                                             header_fields.size(), terms);
      std::printf("%s,%s\n", shown(lines[i]).c_str(), added.c_str());
    } catch (const Exception& e) {
      all_good = false;
      std::fflush(stdout);
      std::fprintf(stderr, "line %s: %s\n", std::to_string(i + 1).c_str(),
                   GbkToUtf8(e.Message()).c_str());
    }
  }
  return all_good ? 0 : 2;
}

const Registrar kRegistrar(
    "statement", "statement " QILO_FEE_RULE_USAGE " FILE.csv",
    "adds each side's fees to a CSV of trades (columns date,side,price,count "
    "and optionally market,kind; UTF-8 or GBK): amount,commission,stamp_tax,"
    "transfer_fee,other_fee,fees,net; a bad line is reported on stderr as "
    "\"line N: reason\", the others still written, exit 2",
    &RunStatement);

}  // namespace
}  // namespace qilo::cli
