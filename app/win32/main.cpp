#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/error_text.h"
#include "app/frm_main.h"
#include "app/win32/main_window.h"
#include "app/win32/win32_desktop.h"
#include "calc/number_text.h"
#include "os/locale.h"
#include "text/exception.h"

namespace {

// With QILO_STARTUP_PROBE naming a file, the first painted frame writes its
// wall-clock time there (nanoseconds since 1970) and the program ends.
void ReportFirstFrame(const char* path) {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) |
      now.dwLowDateTime;
  const unsigned long long unix_ns = (ticks - 116444736000000000ULL) * 100ULL;
  if (FILE* f = std::fopen(path, "wb")) {
    std::fprintf(f, "first_frame_ns=%llu\n", unix_ns);
    std::fclose(f);
  }
  PostQuitMessage(0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  qilo::SetDecimalSeparator(qilo::UserDecimalSymbol());
  qilo::Win32Desktop desktop;
  qilo::TFrmMain form(desktop);
  try {
    qilo::Win32MainWindow window(form, desktop);
    if (const char* path = std::getenv("QILO_STARTUP_PROBE")) {
      window.OnFirstFrame([path] { ReportFirstFrame(path); });
    }
    return window.Exec();
  } catch (const std::exception& e) {
    // The window could not be built: say why, there is nothing to go on with.
    desktop.ShowError(qilo::ErrorBoxText(qilo::ErrorMessage(e)));
    return 1;
  }
}
