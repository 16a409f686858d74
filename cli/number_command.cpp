#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "calc/number_text.h"
#include "cli/command.h"
#include "text/gbk.h"

namespace qilo::cli {
namespace {

bool ParseDecimals(const std::string& text, int* decimals) {
  if (text.empty() || text.size() > 2) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *decimals = value;
  return value <= 18;
}

int RunNumber(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(args, {"--separator"}, {"--bits"}, &parsed, &error) ||
      parsed.positionals.empty()) {
    return UsageError("number", error.empty() ? "needs TEXT" : error);
  }
  if (parsed.Has("--separator")) {
    const std::string separator = Utf8ToGbk(parsed.Get("--separator"));
    if (separator.size() != 1) {
      return UsageError("number",
                        "--separator takes one single-byte character");
    }
    SetDecimalSeparator(separator[0]);
  }
  std::vector<int> decimals;
  for (size_t i = 1; i < parsed.positionals.size(); ++i) {
    int n;
    if (!ParseDecimals(parsed.positionals[i], &n)) {
      return UsageError("number", "DECIMALS runs from 0 to 18, not '" +
                                      parsed.positionals[i] + "'");
    }
    decimals.push_back(n);
  }
  if (decimals.empty()) decimals.push_back(2);

  Number value;
  try {
    value = TextToNumber(Utf8ToGbk(parsed.positionals[0]));
  } catch (const EConvertError& e) {
    std::fprintf(stderr, "%s\n", GbkToUtf8(e.Message()).c_str());
    return 2;
  }
  if (parsed.Has("--bits")) std::printf("%s\n", NumberBits(value).c_str());
  for (int n : decimals)
    std::printf("%s\n", GbkToUtf8(FormatFixed(value, n)).c_str());
  return 0;
}

const Registrar kRegistrar(
    "number", "number [--separator C] [--bits] TEXT [DECIMALS ...]",
    "converts TEXT as the window reads a number and prints it with each "
    "DECIMALS (default 2) places; --bits first prints its 80 bits in hex",
    &RunNumber);

}  // namespace
}  // namespace qilo::cli
