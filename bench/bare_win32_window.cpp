// The floor of qilo.exe's start-up: a bare Win32 window of the same size at
// the same scale, borderless, with one Chinese label, reporting its first
// frame as qilo.exe does (bench/wine_startup_bench.sh compares the two).
// Built with QILO_BARE_CONTROLS it also holds the child windows qilo.exe's
// window is made of, each made where and as it first shows, and nothing of
// qilo.exe's own: what any Win32 program with these controls pays.
#include <windows.h>
// commctrl.h after windows.h.
#include <commctrl.h>

#include <cstdlib>
#include <initializer_list>

#include "app/win32/startup_probe.h"

namespace {

constexpr wchar_t kClass[] = L"QiloBareWindow";
constexpr wchar_t kLabel[] = L"股票计算器";

int g_dpi = 96;
HFONT g_font = nullptr;

int Scaled(int v) { return (v * g_dpi + 48) / 96; }

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
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

HFONT Font(int px, int weight, const wchar_t* face) {
  return CreateFontW(-Scaled(px), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

#ifdef QILO_BARE_CONTROLS
// The group box and the two panels, the twelve edit fields (the bookmark
// editor's two hidden) and the two radio buttons, at their layout places.
void AddControls(HINSTANCE instance, HWND window) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const HFONT tahoma = Font(13, FW_NORMAL, L"Tahoma");
  const HFONT sans = Font(11, FW_NORMAL, L"MS Sans Serif");
  WNDCLASSEXW panel_class = {};
  panel_class.cbSize = sizeof panel_class;
  panel_class.lpfnWndProc = DefWindowProcW;
  panel_class.hInstance = instance;
  panel_class.hbrBackground = CreateSolidBrush(RGB(255, 251, 240));
  panel_class.lpszClassName = L"QiloBarePanel";
  RegisterClassExW(&panel_class);
  const auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style,
                         HWND parent, int x, int y, int w, int h) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_CLIPSIBLINGS | style,
                           Scaled(x), Scaled(y), Scaled(x + w) - Scaled(x),
                           Scaled(y + h) - Scaled(y), parent, nullptr, instance,
                           nullptr);
  };
  const DWORD shown = WS_VISIBLE | WS_CLIPCHILDREN;
  const HWND panels[] = {
      child(L"QiloBarePanel", L"", shown, window, 17, 45, 121, 164),
      child(L"QiloBarePanel", L"", shown, window, 152, 34, 305, 170),
      child(L"QiloBarePanel", L"", shown, window, 5, 205, 457, 22)};
  const struct {
    int panel, x, y, w, h;
    const wchar_t* text;
    bool visible;
  } kEdits[] = {{1, 72, 27, 55, 18, L"00.00", true},
                {1, 72, 65, 55, 18, L"00.00", true},
                {1, 72, 103, 55, 18, L"1000", true},
                {1, 226, 27, 62, 18, L"00.00", true},
                {1, 226, 65, 62, 18, L"00.00", true},
                {1, 226, 103, 62, 18, L"00.00", true},
                {2, 33, 3, 97, 18, L"00.00", false},
                {2, 147, 3, 155, 19, L"00.00", false},
                {0, 64, 18, 35, 18, L"1.7", true},
                {0, 64, 54, 35, 18, L"1", true},
                {0, 64, 90, 35, 18, L"1", true},
                {0, 64, 126, 35, 18, L"4", true}};
  for (const auto& e : kEdits) {
    const HWND edit =
        child(L"EDIT", e.text,
              WS_BORDER | ES_AUTOHSCROLL | (e.visible ? WS_VISIBLE : 0),
              panels[e.panel], e.x, e.y, e.w, e.h);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(tahoma), FALSE);
  }
  for (const HWND radio :
       {child(L"BUTTON", L"沪市", WS_VISIBLE | BS_RADIOBUTTON, window, 21, 32,
              49, 17),
        child(L"BUTTON", L"深市", WS_VISIBLE | BS_RADIOBUTTON, window, 81, 32,
              57, 17)}) {
    SendMessageW(radio, WM_SETFONT, reinterpret_cast<WPARAM>(sans), FALSE);
  }
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const char* probe = std::getenv("QILO_STARTUP_PROBE");
  // The manifest makes the process aware of each monitor's dots per inch.
  using DpiFn = UINT(WINAPI*)();
  const auto for_system = reinterpret_cast<DpiFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForSystem")));
  if (for_system != nullptr) g_dpi = static_cast<int>(for_system());
  g_font = Font(15, FW_BOLD, L"黑体");

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
      CreateWindowExW(0, kClass, L"股票计算器", WS_POPUP | WS_CLIPCHILDREN,
                      (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width,
                      height, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return 1;
#ifdef QILO_BARE_CONTROLS
  AddControls(instance, hwnd);
#endif
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  // As qilo.exe: the frame is whole once no window is left to paint.
  bool reported = probe == nullptr;
  const auto report_when_painted = [&] {
    if (reported || (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT)) return;
    reported = true;
    qilo::ReportFirstFrame(probe);
  };
  report_when_painted();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    report_when_painted();
  }
  DeleteObject(g_font);
  return 0;
}
