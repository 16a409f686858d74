#pragma once

#include <string_view>

namespace qilo {

// The exchange a trade is on: it sets the transfer fee rate.
enum class Market { kShanghai, kShenzhen };

// The transfer rate text a market button writes (yuan per 1000 shares): "1"
// on Shanghai, "0" on Shenzhen.
const char* TransferRateText(Market market);

// The market the show sequence checks for a loaded transfer rate text:
// Shanghai for exactly "1", Shenzhen for any other text.
Market MarketForTransferRate(std::string_view text);

}  // namespace qilo
