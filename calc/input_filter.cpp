#include "calc/input_filter.h"

#include "calc/key_codes.h"
#include "calc/number_text.h"

namespace qilo {

bool KeyPasses(std::string_view field_text, char key) {
  return (key >= '0' && key <= '9') ||
         (key == '.' && field_text.find('.') == std::string_view::npos) ||
         key == kCharBackspace || key == kCharReturn || key == kCharEscape;
}

bool FieldMissing(std::string_view text) { return TrimBlanks(text).empty(); }

bool CountMissing(std::string_view text) {
  return FieldMissing(text) || TextToNumber(text) == 0;
}

}  // namespace qilo
