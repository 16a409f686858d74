#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qilo {

// The decimals a price shows: the window and the settings file keep it as the
// text "2" or "3" (PrecisionText), everything else asks for this type.
enum class Precision { kTwo = 2, kThree = 3 };

// The precision a window starts with and falls back to.
inline constexpr Precision kDefaultPrecision = Precision::kTwo;

// "2" or "3".
const char* PrecisionText(Precision precision);

// The precision `text` names exactly ("2" or "3"); nothing for any other text.
std::optional<Precision> ParsePrecision(std::string_view text);

// The precision the window works at for its text: three decimals for "3",
// two for any other text.
Precision PrecisionOf(std::string_view text);

// What a click on the break-even label switches to: three decimals from
// exactly "2", two from any other text.
Precision ToggledPrecision(std::string_view text);

// The price pattern of a display precision: "%.2f" for "2", "%.3f" for "3".
inline std::string PriceFormatFor(const std::string& precision) {
  return "%." + precision + "f";
}

// What the price fields and the break-even label show before a value exists:
// "00.000" at three decimals, "00.00" at two.
const char* PricePlaceholder(Precision precision);

}  // namespace qilo
