#pragma once

namespace qilo {

// The decimal symbol of the user's numeric locale (LC_ALL, LC_NUMERIC, LANG),
// or '.' when that symbol is not a single byte or cannot be read.
char UserDecimalSymbol();

}  // namespace qilo
