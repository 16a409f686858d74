#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/fee_options.h"
#include "exact/statement.h"
#include "os/files.h"
#include "text/gbk.h"
#include "text/utf16.h"

namespace qilo::cli {
namespace {

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
          "cannot read " + name +
          (read == ReadResult::kMissing ? ": no such file" : ""));
    }
  } catch (const Exception& e) {
    return FeeError(e);
  }
  // A file that is not well-formed UTF-8 (overlong forms and surrogates are
  // not) is a GBK export, as Chinese brokers write them.
  if (!Utf8ToUtf16(bytes).lossless) bytes = GbkToUtf8(bytes);
  const StatementOutput out =
      ComputeStatement(bytes, terms, parsed.Get("--code"));
  for (const std::string& line : out.lines) std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  for (const std::string& line : out.errors) {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
  return out.errors.empty() ? 0 : 2;
}

const Registrar kRegistrar(
    "statement", "statement " QILO_FEE_RULE_USAGE " FILE.csv",
    "adds each side's fees to a CSV of trades (columns date,side,price,count "
    "and optionally market,kind,code; UTF-8 or GBK; --code for lines "
    "without one): amount,commission,stamp_tax,"
    "transfer_fee,other_fee,fees,net; a bad line is reported on stderr as "
    "\"line N: reason\", the others still written, exit 2",
    &RunStatement);

}  // namespace
}  // namespace qilo::cli
