#include "app/result_fields.h"

#include <cstdio>

#include "app/frm_main.h"
#include "text/gbk.h"

namespace qilo {

std::string OneLine(const std::string& gbk) {
  std::string out;
  for (char c : GbkToUtf8(gbk)) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string ColourName(Colour c) {
  if (c == kRed) return "red";
  if (c == kGreen) return "green";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(c));
  return buffer;
}

std::string ResultFieldLines(const TFrmMain& form, bool with_colour) {
  std::string out;
  auto line = [&out](const char* name, const std::string& utf8) {
    if (!utf8.empty()) out += std::string(name) + "=" + utf8 + "\n";
  };
  line("EdCostBuy", OneLine(form.EdCostBuy.text));
  line("EdCostBuy.hint", OneLine(form.EdCostBuy.hint));
  line("EdCostSell", OneLine(form.EdCostSell.text));
  line("EdCostSell.hint", OneLine(form.EdCostSell.hint));
  line("EdProfit", OneLine(form.EdProfit.text));
  if (with_colour) {
    line("EdProfit.colour", ColourName(form.EdProfit.font_colour));
  }
  line("EdProfit.hint", OneLine(form.EdProfit.hint));
  line("LabCostPrice", OneLine(form.LabCostPrice.text));
  return out;
}

}  // namespace qilo
