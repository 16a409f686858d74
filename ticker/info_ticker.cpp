#include "ticker/info_ticker.h"

#include <cctype>
#include <string_view>

namespace qilo {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
      return false;
  }
  return true;
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
