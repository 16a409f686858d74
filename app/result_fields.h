#pragma once

#include <string>

#include "app/colour.h"

namespace qilo {

struct Calculation;

// The GBK text in UTF-8 on one line: a line break is written as the two
// characters \r and \n.
std::string OneLine(const std::string& gbk);

// "red", "green", else the value as 0xBBGGRR hex ("0x00A4A0A0").
std::string ColourName(Colour c);

// The calculation's results as the window shows them, one "name=value" line
// each in UTF-8 (EdCostBuy, its hint, EdCostSell, its hint, EdProfit, its
// colour, its hint, LabCostPrice) for the stages it reached; a hint's line
// break is written as the two characters \r\n.
std::string ResultFieldLines(const Calculation& done);

}  // namespace qilo
