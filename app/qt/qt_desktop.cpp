#include "app/qt/qt_desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPixmap>
#include <QThread>
#include <QUrl>
#include <cmath>

#include "app/layout.h"
#include "app/qt/gbk_qt.h"
#include "app/qt/main_window.h"
#include "app/qt/pictures.h"
#include "app/qt/translations.h"
#include "app/qt/widgets.h"

namespace qilo {

void QtDesktop::Beep() { QApplication::beep(); }

// The verb ("open", "Open") has no counterpart here: the desktop picks the
// program by the URL's scheme. Whether it could is not looked at.
void QtDesktop::ShellOpen(const std::string& url, const std::string&) {
  QDesktopServices::openUrl(QUrl(FromGbk(url), QUrl::TolerantMode));
}

// The hand drawn for the window's scale, shown pixel for pixel. Its hot spot
// is the drawing's (0, 10) at 1: QCursor and Qt's Wayland plugin take it in
// layout pixels, Qt's X11 plugin in the pixmap's own.
bool QtDesktop::LoadHandCursor() {
  // Storing into the slot releases what it held, also when the load fails.
  hand_.reset();
  const double ratio = window_ != nullptr ? window_->devicePixelRatioF()
                                          : qApp->devicePixelRatio();
  const double scale = DrawnScaleFor(u"hand.png", ratio);
  QPixmap hand = QPixmap::fromImage(EmbeddedImage(u"hand.png", scale));
  hand.setDevicePixelRatio(scale);
  const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
  const int hot_y = x11 ? static_cast<int>(std::floor(10 * scale + 0.5)) : 10;
  if (!hand.isNull()) hand_.emplace(hand, 0, hot_y);
  if (window_ != nullptr) window_->RefreshCursors();
  return hand_.has_value();
}

void QtDesktop::ClearHandCursor() {
  hand_.reset();
  if (window_ != nullptr) window_->RefreshCursors();
}

void QtDesktop::Minimize() {
  if (window_ != nullptr) window_->showMinimized();
}

void QtDesktop::Close() {
  if (window_ != nullptr) window_->CloseFromHandler();
}

// An edit field that receives the focus selects its text, as one reached by
// Tab does: after Enter the next value is typed over the old one.
void QtDesktop::SetFocus(Control& control) {
  if (window_ == nullptr) return;
  if (QWidget* widget = window_->WidgetOf(control)) {
    widget->setFocus(Qt::TabFocusReason);
  }
}

void QtDesktop::SleepMs(int ms) {
  QThread::msleep(static_cast<unsigned long>(ms));
}

void QtDesktop::ShowError(const std::string& text) {
  // The box runs its own event loop, where timer ticks go on; one that fails
  // meanwhile does not open a second box.
  if (error_box_open_) return;
  error_box_open_ = true;
  NeedQtTranslations();
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle),
                  FromGbk(text), QMessageBox::Ok, window_);
  box.exec();
  error_box_open_ = false;
}

}  // namespace qilo
