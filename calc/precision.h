#pragma once

#include <string>

namespace qilo {

// The price pattern of a display precision: "%.2f" for "2", "%.3f" for "3".
inline std::string PriceFormatFor(const std::string& precision) {
  return "%." + precision + "f";
}

// What the price fields and the break-even label show before a value exists.
inline const char* PricePlaceholder(const std::string& precision) {
  return precision == "3" ? "00.000" : "00.00";
}

}  // namespace qilo
