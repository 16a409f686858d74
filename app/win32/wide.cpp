#include "app/win32/wide.h"

#include <windows.h>

namespace qilo {
namespace {

std::wstring ToWide(UINT code_page, const char* bytes, int size) {
  if (size == 0) return {};
  const int n = MultiByteToWideChar(code_page, 0, bytes, size, nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, bytes, size, out.data(), n);
  return out;
}

}  // namespace

std::wstring WideFromGbk(const std::string& gbk) {
  return ToWide(936, gbk.data(), static_cast<int>(gbk.size()));
}

std::wstring WideFromUtf8(const char* utf8) {
  return ToWide(CP_UTF8, utf8,
                static_cast<int>(std::char_traits<char>::length(utf8)));
}

std::string GbkFromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(936, 0, wide.data(), size, nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(936, 0, wide.data(), size, out.data(), n, nullptr,
                      nullptr);
  return out;
}

bool GbkHoldsWide(const std::wstring& wide) {
  if (wide.empty()) return true;
  BOOL defaulted = FALSE;
  const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(),
                                    static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, &defaulted);
  return n > 0 && !defaulted;
}

}  // namespace qilo
