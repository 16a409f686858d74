#include "app/win32/dpi.h"

#include "app/win32/handles.h"

namespace qilo {
namespace {

// Windows 10 1607 and later; looked up at run time since older systems (and
// wine) may lack them.
template <typename F>
F User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<F>(
      reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

}  // namespace

int SystemDpi() {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  static const auto for_system =
      User32Function<GetDpiForSystemFn>("GetDpiForSystem");
  if (for_system != nullptr) {
    if (const UINT dpi = for_system()) return static_cast<int>(dpi);
  }
  const WindowDc screen(nullptr);
  const int dpi =
      screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kLayoutDpi;
}

int WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto for_window =
      User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (for_window != nullptr && hwnd != nullptr) {
    if (const UINT dpi = for_window(hwnd)) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int MetricForDpi(int index, int dpi) {
  using ForDpiFn = int(WINAPI*)(int, UINT);
  static const auto for_dpi =
      User32Function<ForDpiFn>("GetSystemMetricsForDpi");
  if (for_dpi != nullptr) {
    if (const int value = for_dpi(index, static_cast<UINT>(dpi))) return value;
  }
  const long long system = SystemDpi();
  return static_cast<int>((GetSystemMetrics(index) * 1LL * dpi + system / 2) /
                          system);
}

}  // namespace qilo
