#include <windows.h>

#include "os/system_message.h"
#include "text/gbk.h"

namespace qilo {

std::string SystemMessage(unsigned long code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (n == 0 || text == nullptr) return {};
  std::wstring wide(text, n);
  LocalFree(text);
  while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' ||
                           wide.back() == L' ')) {
    wide.pop_back();
  }
  // The program's texts are GBK.
  return Utf16ToGbk(wide).text;
}

}  // namespace qilo
