#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "app/frm_main.h"
#include "app/layout.h"
#include "app/qt/look.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_desktop.h"
#include "app/qt/translations.h"
#include "calc/number_text.h"
#include "os/locale.h"
#include "qilo_config.h"

namespace {

// With QILO_STARTUP_PROBE set, the program prints the wall-clock time of its
// first painted frame and its resident memory, then ends: what
// bench/startup_bench.sh measures.
class StartupProbe : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !done_) {
      done_ = true;
      // Reported once the paint has finished and reached the screen.
      QTimer::singleShot(0, this, [] { Report(); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  static void Report() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    long rss_kb = -1;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("VmRSS:", 0) == 0) rss_kb = std::atol(line.c_str() + 6);
    }
    std::printf("first_frame_ns=%lld rss_kb=%ld\n",
                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                rss_kb);
    std::fflush(stdout);
    QCoreApplication::exit(0);
  }

  bool done_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
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
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/mainicon.png")));
  qilo::InstallFontSubstitutes();
  const auto qt_texts = qilo::InstallQtTranslations(QLocale());
  qilo::SetDecimalSeparator(qilo::UserDecimalSymbol());

  qilo::QtDesktop desktop;
  qilo::TFrmMain form(desktop);
  qilo::QtMainWindow window(form, desktop);
  StartupProbe probe;
  if (std::getenv("QILO_STARTUP_PROBE") != nullptr) {
    window.installEventFilter(&probe);
  }
  window.show();
  return app.exec();
}
