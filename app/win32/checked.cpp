#include "app/win32/checked.h"

#include "os/system_message.h"
#include "text/utf16.h"

namespace qilo {

void ThrowLastError(const std::string& what) {
  const DWORD code = GetLastError();
  // GDI calls often fail without saying why.
  if (code == ERROR_SUCCESS) throw EWin32Error("Cannot " + what);
  std::string message = "Cannot " + what;
  const std::string system = SystemMessage(code);
  if (!system.empty()) message += ": " + system;
  throw EWin32Error(message + " (error " + std::to_string(code) + ")");
}

void RegisterWindowClass(const WNDCLASSEXW& window_class) {
  if (RegisterClassExW(&window_class) != 0) return;
  if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ThrowLastError("register the window class " +
                   Utf16ToUtf8(window_class.lpszClassName).text);
  }
}

HWND CreateChild(const wchar_t* window_class, DWORD style, DWORD ex_style,
                 HWND parent, const char* name, const RECT& place,
                 const std::wstring& text, void* param) {
  return Checked(std::string("create the window ") + name, [&] {
    return CreateWindowExW(ex_style, window_class, text.c_str(),
                           WS_CHILD | style, place.left, place.top,
                           place.right - place.left, place.bottom - place.top,
                           parent, nullptr, GetModuleHandleW(nullptr), param);
  });
}

}  // namespace qilo
