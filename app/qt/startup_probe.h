#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace qilo {

// With QILO_STARTUP_PROBE set, a window watched by this prints the wall-clock
// time of its first painted frame and the process's resident memory, then
// ends the program: what bench/startup_bench.sh measures, for the window and
// for the bare window it is compared with alike.
class StartupProbe : public QObject {
 public:
  // Watches `window` when QILO_STARTUP_PROBE is set.
  void WatchIfAsked(QObject& window) {
    if (std::getenv("QILO_STARTUP_PROBE") != nullptr) {
      window.installEventFilter(this);
    }
  }

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

}  // namespace qilo
