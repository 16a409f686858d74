// The floor of the window's start-up: a bare Qt Widgets window of the same
// size, frameless, with one Chinese label, reporting its first frame as the
// calculator does (bench/startup_bench.sh compares the two).
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "app/qt/startup_probe.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
  window.setFixedSize(469, 232);
  QLabel label(QString::fromUtf8("Qilo股票计算器"), &window);
  label.move(43, 5);
  qilo::StartupProbe probe;
  probe.WatchIfAsked(window);
  window.show();
  return app.exec();
}
