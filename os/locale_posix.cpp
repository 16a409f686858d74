#include <langinfo.h>
#include <locale.h>

#include <cstring>

#include "os/locale.h"

namespace qilo {

char UserDecimalSymbol() {
  // A private locale object: the process-wide locale stays "C" for everything
  // else.
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return '.';
  const char* symbol = nl_langinfo_l(RADIXCHAR, loc);
  char result =
      (symbol != nullptr && std::strlen(symbol) == 1) ? symbol[0] : '.';
  freelocale(loc);
  return result;
}

}  // namespace qilo
