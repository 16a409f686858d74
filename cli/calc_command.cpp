#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/colour.h"
#include "app/frm_main.h"
#include "app/recording_desktop.h"
#include "app/result_fields.h"
#include "app/run_handler.h"
#include "calc/number_text.h"
#include "calc/precision.h"
#include "cli/command.h"
#include "text/gbk.h"

namespace qilo::cli {
namespace {

// Marks a result as not written yet, so that after an error only what the
// calculation wrote is printed. Every text it writes is non-empty.
constexpr Colour kUnwritten = 0xFFFFFFFFu;

void PrintFields(const TFrmMain& form) {
  std::fputs(
      ResultFieldLines(form, form.EdProfit.font_colour != kUnwritten).c_str(),
      stdout);
}

// The window's own labels beside the results, the hints in brackets.
void PrintSummary(const TFrmMain& form) {
  auto row = [](const Control& label, const Control& value,
                std::string detail) {
    if (size_t br = detail.find("\r\n"); br != std::string::npos)
      detail.replace(br, 2, ", ");
    std::printf("%s %s", GbkToUtf8(TrimBlanks(label.text)).c_str(),
                value.text.c_str());
    if (!detail.empty()) std::printf("  (%s)", GbkToUtf8(detail).c_str());
    std::printf("\n");
  };
  row(form.Label8, form.EdCostBuy, form.EdCostBuy.hint);
  row(form.Label9, form.EdCostSell, form.EdCostSell.hint);
  row(form.Label10, form.EdProfit, form.EdProfit.hint);
  row(form.Label11, form.LabCostPrice, "");
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

  RecordingDesktop desktop;
  TFrmMain form(desktop);
  // A rate not given keeps the text the window starts with, the layout's.
  for (const auto& [option, field] :
       {std::pair<const char*, Control*>{"--commission", &form.EdCommision},
        {"--stamp-tax", &form.EdStamptax},
        {"--other", &form.EdOther}}) {
    if (parsed.Has(option)) field->text = Utf8ToGbk(parsed.Get(option));
  }
  form.CheckMarket(market == "sh" ? form.RadBtSH : form.RadBtSZ);
  form.precision = precision;
  form.price_format = PriceFormatFor(precision);
  form.EdPriceBuy.text = Utf8ToGbk(parsed.positionals[0]);
  form.EdPriceSell.text = Utf8ToGbk(parsed.positionals[1]);
  form.EdCnt.text = Utf8ToGbk(parsed.positionals[2]);
  for (Control* result : {&form.EdCostBuy, &form.EdCostSell, &form.EdProfit,
                          &form.LabCostPrice}) {
    result->text.clear();
    result->hint.clear();
  }
  form.EdProfit.font_colour = kUnwritten;

  const bool fields = parsed.Has("--fields");
  if (const auto error = CatchHandlerError([&form] { form.BtnCalClick(); })) {
    if (fields) PrintFields(form);
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", GbkToUtf8(*error).c_str());
    return 2;
  }
  if (desktop.Count("beep") > 0) {
    std::fprintf(stderr, "%s\n", GbkToUtf8(form.LabInfo.text).c_str());
    return 1;
  }
  if (fields) {
    PrintFields(form);
  } else {
    PrintSummary(form);
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
