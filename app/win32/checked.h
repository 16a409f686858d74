#pragma once

#include <windows.h>

#include <string>

#include "text/exception.h"

namespace qilo {

// A Win32 call the window needs failed: a window class, a window, a font or
// bitmap, a timer. Raised at start-up it ends the program with its message;
// later it is shown as a handler's error is.
QILO_DECLARE_EXCEPTION(EWin32Error, Exception);

// Throws EWin32Error: "Cannot <what>: <the system's text for GetLastError()>
// (error <code>)", or only "Cannot <what>" when the call set no error code.
// `what` is GBK ("create the window EdCnt").
[[noreturn]] void ThrowLastError(const std::string& what);

// Runs `call`, a Win32 call that gives null (0, FALSE) when it fails, and
// gives what it gave; when it failed, ThrowLastError(what). The error code is
// cleared first, so that a call which sets none is not blamed for an earlier
// one's.
template <typename Call>
auto Checked(const std::string& what, Call&& call) {
  SetLastError(ERROR_SUCCESS);
  auto result = call();
  if (!result) ThrowLastError(what);
  return result;
}

// Registers a window class; one the process registered already will do.
// Throws EWin32Error.
void RegisterWindowClass(const WNDCLASSEXW& window_class);

// A child window of `window_class` under `parent` at `place` (client
// coordinates of the parent) with `text`, for the control `name`; `param`
// reaches its WM_NCCREATE. Made where, as and visible as the first Show
// would make it, it is spared a move, a text and a show of its own. Throws
// EWin32Error.
HWND CreateChild(const wchar_t* window_class, DWORD style, DWORD ex_style,
                 HWND parent, const char* name, const RECT& place,
                 const std::wstring& text = L"", void* param = nullptr);

}  // namespace qilo
