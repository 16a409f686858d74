#pragma once

#include <string_view>

namespace qilo {

// The rules of the seven numeric input fields.

// The key filter: true when a key press may reach a field holding
// `field_text`: a digit, "." while the text has none, backspace, Enter or
// Escape.
bool KeyPasses(std::string_view field_text, char key);

// The required-field check of a rate or price field: missing when blank after
// trimming.
bool FieldMissing(std::string_view text);

// The same for the share count, which is missing also when it is zero. Throws
// EConvertError when the text is not blank and not a number.
bool CountMissing(std::string_view text);

}  // namespace qilo
