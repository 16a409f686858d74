#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/calculation.h"
#include "app/frm_main.h"
#include "app/layout.h"
#include "app/result_fields.h"
#include "app/run_handler.h"
#include "calc/market.h"
#include "calc/number_text.h"
#include "calc/precision.h"
#include "cli/command.h"
#include "text/gbk.h"

namespace qilo::cli {
namespace {

// The text a control starts with in the window (GBK).
std::string LayoutText(Control TFrmMain::*member) {
  return Utf8ToGbk(LayoutOf(member).text);
}

// The window's own labels beside the results, the hints in brackets.
void PrintSummary(const Calculation& done) {
  auto row = [](Control TFrmMain::*label, const std::string& value,
                std::string detail) {
    if (size_t br = detail.find("\r\n"); br != std::string::npos)
      detail.replace(br, 2, ", ");
    std::printf("%s %s", TrimBlanks(LayoutOf(label).text).c_str(),
                value.c_str());
    if (!detail.empty()) std::printf("  (%s)", GbkToUtf8(detail).c_str());
    std::printf("\n");
  };
  row(&TFrmMain::Label8, done.cost_buy, done.cost_buy_hint);
  row(&TFrmMain::Label9, done.cost_sell, done.cost_sell_hint);
  row(&TFrmMain::Label10, done.profit, done.profit_hint);
  row(&TFrmMain::Label11, done.break_even, "");
}

int RunCalc(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!ParseArgs(
          args,
          {"--commission", "--stamp-tax", "--other", "--market", "--precision"},
          {"--fields"}, &parsed, &error) ||
      parsed.positionals.size() != 3) {
    return UsageError("calc", error.empty() ? "needs BUY SELL COUNT" : error);
  }
  const std::string market = parsed.Get("--market", "sh");
  const std::string precision =
      parsed.Get("--precision", PrecisionText(kDefaultPrecision));
  if ((market != "sh" && market != "sz") || !ParsePrecision(precision)) {
    return UsageError("calc", "--market takes sh or sz, --precision 2 or 3");
  }

  // A rate not given keeps the text the window starts with, the layout's; the
  // market sets the transfer rate as its button does.
  const auto rate = [&parsed](const char* option, Control TFrmMain::*field) {
    return parsed.Has(option) ? Utf8ToGbk(parsed.Get(option))
                              : LayoutText(field);
  };
  CalculationInputs in;
  in.commission = rate("--commission", &TFrmMain::EdCommision);
  in.stamp_tax = rate("--stamp-tax", &TFrmMain::EdStamptax);
  in.other = rate("--other", &TFrmMain::EdOther);
  in.shanghai = market == "sh";
  in.transfer =
      TransferRateText(in.shanghai ? Market::kShanghai : Market::kShenzhen);
  in.price_format = PriceFormatFor(precision);
  in.price_buy = Utf8ToGbk(parsed.positionals[0]);
  in.price_sell = Utf8ToGbk(parsed.positionals[1]);
  in.count = Utf8ToGbk(parsed.positionals[2]);

  const bool fields = parsed.Has("--fields");
  const Calculation done = Calculate(in);
  if (done.error) {
    if (fields) std::fputs(ResultFieldLines(done).c_str(), stdout);
    std::fflush(stdout);
    // The text the window's error box would show.
    const auto box =
        CatchHandlerError([&done] { std::rethrow_exception(done.error); });
    std::fprintf(stderr, "%s\n", GbkToUtf8(*box).c_str());
    return 2;
  }
  if (!done.missing.empty()) {
    std::fprintf(stderr, "%s\n", GbkToUtf8(MissingInputMessage()).c_str());
    return 1;
  }
  if (fields) {
    std::fputs(ResultFieldLines(done).c_str(), stdout);
  } else {
    PrintSummary(done);
  }
  return 0;
}

const Registrar kRegistrar(
    "calc",
    "calc [--commission T] [--stamp-tax T] [--other T] [--market sh|sz] "
    "[--precision 2|3] [--fields] BUY SELL COUNT",
    "runs the calculate action and prints the results (with --fields, the "
    "texts the window shows); exit 1 when a field is missing, 2 on an error",
    &RunCalc);

}  // namespace
}  // namespace qilo::cli
