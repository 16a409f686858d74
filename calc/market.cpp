#include "calc/market.h"

namespace qilo {

const char* TransferRateText(Market market) {
  return market == Market::kShanghai ? "1" : "0";
}

Market MarketForTransferRate(std::string_view text) {
  return text == TransferRateText(Market::kShanghai) ? Market::kShanghai
                                                     : Market::kShenzhen;
}

}  // namespace qilo
