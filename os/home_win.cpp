#include <windows.h>

#include <string>

#include "os/home.h"

namespace qilo {
namespace {

// The GBK form of a UTF-16 text; false when some character has none.
bool ToGbk(const std::wstring& wide, std::string* gbk) {
  BOOL defaulted = FALSE;
  const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(),
                                    static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, &defaulted);
  gbk->assign(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(),
                      static_cast<int>(wide.size()), gbk->data(), n, nullptr,
                      &defaulted);
  return !defaulted;
}

}  // namespace

std::string HomeFolder() {
  wchar_t expanded[MAX_PATH * 4];
  const DWORD n = ExpandEnvironmentStringsW(L"%HOMEDRIVE%%HOMEPATH%", expanded,
                                            MAX_PATH * 4);
  if (n == 0 || n > MAX_PATH * 4) return "%HOMEDRIVE%%HOMEPATH%";
  const std::wstring home(expanded, n - 1);
  std::string gbk;
  if (ToGbk(home, &gbk)) return gbk;
  // A folder named outside GBK: its short name is plain ASCII and names the
  // same folder, so the files still land in the user's home.
  wchar_t short_name[MAX_PATH * 4];
  const DWORD m = GetShortPathNameW(home.c_str(), short_name, MAX_PATH * 4);
  std::string short_gbk;
  if (m > 0 && m < MAX_PATH * 4 &&
      ToGbk(std::wstring(short_name, m), &short_gbk)) {
    return short_gbk;
  }
  return gbk;
}

}  // namespace qilo
