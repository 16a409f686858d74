#include "calc/precision.h"

namespace qilo {

const char* PrecisionText(Precision precision) {
  return precision == Precision::kThree ? "3" : "2";
}

std::optional<Precision> ParsePrecision(std::string_view text) {
  for (Precision p : {Precision::kTwo, Precision::kThree}) {
    if (text == PrecisionText(p)) return p;
  }
  return std::nullopt;
}

Precision PrecisionOf(std::string_view text) {
  return ParsePrecision(text).value_or(kDefaultPrecision);
}

Precision ToggledPrecision(std::string_view text) {
  return ParsePrecision(text) == Precision::kTwo ? Precision::kThree
                                                 : Precision::kTwo;
}

const char* PricePlaceholder(Precision precision) {
  return precision == Precision::kThree ? "00.000" : "00.00";
}

}  // namespace qilo
