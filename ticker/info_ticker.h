#pragma once

#include <string>

#include "store/link_table.h"

namespace qilo {

// Where the info line stands in the link table and how long it has rested.
struct TickerState {
  int rest = 0;      // ticks spent at the rest position, 0 to 1000
  int position = 0;  // table index of the entry shown; 0 before the first
};

// The parts of the info label that the ticker moves and rewrites.
struct InfoLine {
  std::string& caption;
  std::string& hint;
  int& top;
  int& width;
};

inline constexpr int kTickerRestTop = 7;
inline constexpr int kTickerStartTop = 30;
inline constexpr int kTickerRestTicks = 1000;
inline constexpr int kTickerPixelsPerByte = 7;

// One tick: rest at top 7 for 1000 ticks, otherwise rise a pixel; once the
// line has left (top -17) load the next entry and start again from top 30.
// Returns the table index of the entry loaded by this tick, 0 when none was.
int TickInfo(TickerState& state, const LinkTable& table, InfoLine line);

// The text handed to the browser for an address: as it is when it begins with
// "http://" or "https://" (any letter case), else with "http://" before it, so
// an address can never name a local program or file.
std::string UrlToOpen(const std::string& address);

}  // namespace qilo
