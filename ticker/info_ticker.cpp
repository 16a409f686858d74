#include "ticker/info_ticker.h"

#include <string_view>

#include "text/gbk.h"

namespace qilo {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return SameText(text.substr(0, prefix.size()), prefix);
}

}  // namespace

int TickInfo(TickerState& state, const LinkTable& table, InfoLine line) {
  if (line.top == kTickerRestTop && state.rest < kTickerRestTicks) {
    ++state.rest;
  } else {
    state.rest = 0;
    --line.top;
  }
  int loaded = 0;
  if (line.top < -16) {
    loaded = ++state.position;
    line.caption = table.Names[loaded];
    line.hint = table.Links[loaded];
    line.width = kTickerPixelsPerByte * static_cast<int>(line.caption.size());
    if (state.position == kLinkSlots ||
        table.Names[state.position + 1].empty()) {
      state.position = 0;
    }
    line.top = kTickerStartTop;
  }
  return loaded;
}

std::string UrlToOpen(const std::string& address) {
  if (StartsWithNoCase(address, "http://") ||
      StartsWithNoCase(address, "https://")) {
    return address;
  }
  return "http://" + address;
}

}  // namespace qilo
