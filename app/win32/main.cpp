#include <windows.h>

#include <cstdlib>
#include <exception>

#include "app/error_text.h"
#include "app/frm_main.h"
#include "app/win32/main_window.h"
#include "app/win32/startup_probe.h"
#include "app/win32/win32_desktop.h"
#include "calc/number_text.h"
#include "os/locale.h"
#include "text/exception.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  qilo::SetDecimalSeparator(qilo::UserDecimalSymbol());
  qilo::Win32Desktop desktop;
  qilo::TFrmMain form(desktop);
  try {
    qilo::Win32MainWindow window(form, desktop);
    if (const char* path = std::getenv("QILO_STARTUP_PROBE")) {
      window.OnFirstFrame([path] { qilo::ReportFirstFrame(path); });
    }
    return window.Exec();
  } catch (const std::exception& e) {
    // The window could not be built: say why, there is nothing to go on with.
    desktop.ShowError(qilo::ErrorBoxText(qilo::ErrorMessage(e)));
    return 1;
  }
}
