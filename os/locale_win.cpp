#include <windows.h>

#include "os/locale.h"

namespace qilo {

char UserDecimalSymbol() {
  wchar_t symbol[8] = {};
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, symbol, 8);
  // One character and one byte of the ANSI code page, or the period.
  if (n != 2) return '.';
  char bytes[4];
  BOOL defaulted = FALSE;
  const int m = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, symbol, 1, bytes,
                                    sizeof bytes, nullptr, &defaulted);
  return (m == 1 && !defaulted) ? bytes[0] : '.';
}

}  // namespace qilo
