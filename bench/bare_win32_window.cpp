// The floor of qilo.exe's start-up: a bare Win32 window of the same size at
// the same scale, borderless, with one Chinese label, reporting its first
// frame as qilo.exe does (bench/wine_startup_bench.sh compares the two).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr wchar_t kClass[] = L"QiloBareWindow";
constexpr wchar_t kLabel[] = L"股票计算器";

int g_dpi = 96;
HFONT g_font = nullptr;
const char* g_probe = nullptr;

int Scaled(int v) { return (v * g_dpi + 48) / 96; }

// The same report as qilo.exe's: nanoseconds since 1970, then the end.
void ReportFirstFrame() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) |
      now.dwLowDateTime;
  if (FILE* f = std::fopen(g_probe, "wb")) {
    std::fprintf(f, "first_frame_ns=%llu\n",
                 (ticks - 116444736000000000ULL) * 100ULL);
    std::fclose(f);
  }
  PostQuitMessage(0);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(hwnd, &paint);
      RECT client;
      GetClientRect(hwnd, &client);
      const HBRUSH cream = CreateSolidBrush(RGB(255, 251, 240));
      FillRect(dc, &client, cream);
      DeleteObject(cream);
      const HGDIOBJ old = SelectObject(dc, g_font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 128, 128));
      TextOutW(dc, Scaled(43), Scaled(5), kLabel, 5);
      SelectObject(dc, old);
      EndPaint(hwnd, &paint);
      if (g_probe != nullptr) ReportFirstFrame();
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  g_probe = std::getenv("QILO_STARTUP_PROBE");
  // The manifest makes the process aware of each monitor's dots per inch.
  using DpiFn = UINT(WINAPI*)();
  const auto for_system = reinterpret_cast<DpiFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForSystem")));
  if (for_system != nullptr) g_dpi = static_cast<int>(for_system());
  g_font = CreateFontW(-Scaled(15), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH, L"黑体");

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  if (!RegisterClassExW(&wc)) return 1;
  const int width = Scaled(469);
  const int height = Scaled(232);
  const HWND hwnd =
      CreateWindowExW(0, kClass, L"股票计算器", WS_POPUP,
                      (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width,
                      height, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return 1;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteObject(g_font);
  return 0;
}
