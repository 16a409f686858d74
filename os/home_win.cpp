#include <windows.h>

#include <string>

#include "os/home.h"
#include "text/gbk.h"

namespace qilo {

std::string HomeFolder() {
  wchar_t expanded[MAX_PATH * 4];
  const DWORD n = ExpandEnvironmentStringsW(L"%HOMEDRIVE%%HOMEPATH%", expanded,
                                            MAX_PATH * 4);
  if (n == 0 || n > MAX_PATH * 4) return "%HOMEDRIVE%%HOMEPATH%";
  const std::wstring home(expanded, n - 1);
  const Conversion<std::string> gbk = Utf16ToGbk(home);
  if (gbk.lossless) return gbk.text;
  // A folder named outside GBK: its short name is plain ASCII and names the
  // same folder, so the files still land in the user's home.
  wchar_t short_name[MAX_PATH * 4];
  const DWORD m = GetShortPathNameW(home.c_str(), short_name, MAX_PATH * 4);
  if (m > 0 && m < MAX_PATH * 4) {
    const Conversion<std::string> short_gbk =
        Utf16ToGbk(std::wstring_view(short_name, m));
    if (short_gbk.lossless) return short_gbk.text;
  }
  return gbk.text;
}

}  // namespace qilo
