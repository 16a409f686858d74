#include <windows.h>

#include "os/locale.h"
#include "text/gbk.h"

namespace qilo {

char UserDecimalSymbol() {
  wchar_t symbol[8] = {};
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, symbol, 8);
  // One character and one byte of the ANSI code page, or the period.
  if (n != 2) return '.';
  const Conversion<std::string> gbk = Utf16ToGbk(std::wstring_view(symbol, 1));
  return (gbk.lossless && gbk.text.size() == 1) ? gbk.text[0] : '.';
}

}  // namespace qilo
