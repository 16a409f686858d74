#include <windows.h>

#include "app/frm_main.h"
#include "app/win32/main_window.h"
#include "app/win32/win32_desktop.h"
#include "calc/number_text.h"
#include "os/locale.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  qilo::SetDecimalSeparator(qilo::UserDecimalSymbol());
  qilo::Win32Desktop desktop;
  qilo::TFrmMain form(desktop);
  qilo::MainWindow window(form, desktop);
  desktop.Attach(&window);
  const int code = window.Exec();
  desktop.Attach(nullptr);
  return code;
}
