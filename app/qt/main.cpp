#include <fontconfig/fontconfig.h>
#include <malloc.h>

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <clocale>
#include <thread>

#include "app/frm_main.h"
#include "app/layout.h"
#include "app/qt/look.h"
#include "app/qt/main_window.h"
#include "app/qt/pictures.h"
#include "app/qt/qt_desktop.h"
#include "app/qt/startup_probe.h"
#include "app/qt/translations.h"
#include "calc/number_text.h"
#include "os/locale.h"
#include "qilo_config.h"

int main(int argc, char* argv[]) {
  // One heap for all threads: an arena for each of the threads below and
  // Qt's own would keep some 100 KB more resident, and nothing here contends.
  mallopt(M_ARENA_MAX, 1);
  // fontconfig's first use parses its configuration and font caches, a fifth
  // of the start-up; begun now, that overlaps with reaching the display.
  std::jthread fontconfig_ready([] { FcInit(); });
  // The desktop matches the window to its menu entry by these: the X11
  // WM_CLASS class is the application name (whatever the binary is called),
  // Wayland's app id the desktop file name.
  QApplication::setApplicationName(QStringLiteral("qilo"));
  QApplication::setDesktopFileName(QStringLiteral(QILO_APP_ID));
  QApplication app(argc, argv);
  // Qt switched the C library to the user's locale; the program converts
  // numbers itself with the decimal symbol read below.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationDisplayName(
      QString::fromUtf8(qilo::kApplicationTitle));
  QApplication::setWindowIcon(
      QIcon(QPixmap::fromImage(qilo::EmbeddedImage(u"mainicon.png", 1))));
  fontconfig_ready.join();
  qilo::InstallFontSubstitutes();
  qilo::QtTranslationsOnDemand qt_texts;
  qilo::SetDecimalSeparator(qilo::UserDecimalSymbol());

  qilo::QtDesktop desktop;
  qilo::TFrmMain form(desktop);
  qilo::QtMainWindow window(form, desktop);
  qilo::StartupProbe probe;
  probe.WatchIfAsked(window);
  window.show();
  return app.exec();
}
