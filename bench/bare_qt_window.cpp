// The floor of the window's start-up: a bare Qt Widgets window of the same
// size, frameless, with one Chinese label, reporting its first frame as the
// calculator does (bench/startup_bench.sh compares the two). Built with
// QILO_BARE_FONTS it is the same window with one label in each font the
// calculator's first frame shows, and nothing else of the calculator's: what
// loading those fonts costs any Qt program.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>
#include <tuple>
#include <vector>

#include "app/qt/startup_probe.h"

#ifdef QILO_BARE_FONTS
#include "app/layout.h"
#include "app/qt/look.h"

namespace {

// The controls the show sequence hides before the first frame.
bool HiddenAtStart(const char* name) {
  for (const char* hidden : {"LabAdd", "LabDel", "EdSiteName", "EdSiteAdd"}) {
    if (std::strcmp(name, hidden) == 0) return true;
  }
  return false;
}

void AddFontLabels(QWidget& window) {
  qilo::InstallFontSubstitutes();
  std::vector<std::tuple<const char*, int, bool>> fonts;
  for (const qilo::ControlSpec& c : qilo::Layout()) {
    const bool texted = c.kind == qilo::ControlKind::kLabel ||
                        c.kind == qilo::ControlKind::kEdit ||
                        c.kind == qilo::ControlKind::kRadio ||
                        c.kind == qilo::ControlKind::kGroupBox;
    if (!texted || HiddenAtStart(c.name)) continue;
    const auto font = std::tuple(c.font.face, c.font.pixel_size, c.font.bold);
    bool seen = false;
    for (const auto& f : fonts) {
      seen = seen || (std::strcmp(std::get<0>(f), c.font.face) == 0 &&
                      std::get<1>(f) == c.font.pixel_size &&
                      std::get<2>(f) == c.font.bold);
    }
    if (seen) continue;
    fonts.push_back(font);
    auto* label = new QLabel(
        QString::fromUtf8(*c.text != '\0' ? c.text : "00.00"), &window);
    label->setFont(qilo::ToQFont(c.font));
    label->move(c.left, c.top);
  }
}

}  // namespace
#endif

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
  window.setFixedSize(469, 232);
  QLabel label(QString::fromUtf8("Qilo股票计算器"), &window);
  label.move(43, 5);
#ifdef QILO_BARE_FONTS
  AddFontLabels(window);
#endif
  qilo::StartupProbe probe;
  probe.WatchIfAsked(window);
  window.show();
  return app.exec();
}
