#include "app/qt/look.h"

#include <QApplication>
#include <QPalette>
#include <QStringList>

namespace qilo {

QColor ToQColor(Colour colour) {
  if (!IsSystemColour(colour)) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
  }
  const QPalette palette = QApplication::palette();
  switch (SystemColourIndex(colour)) {
    case 5:  // window background
      return palette.color(QPalette::Base);
    case 13:  // highlight
      return palette.color(QPalette::Highlight);
    case 15:  // button face
      return palette.color(QPalette::Button);
    case 16:  // button shadow
      return palette.color(QPalette::Dark);
    case 20:  // button highlight
      return palette.color(QPalette::Light);
    case 27:  // gradient end of an active caption: no palette role
      return QColor(185, 209, 234);
    case 8:  // window text
    default:
      return palette.color(QPalette::WindowText);
  }
}

QFont ToQFont(const FontSpec& font) {
  QFont f(QString::fromUtf8(font.face));
  f.setPixelSize(font.pixel_size);
  f.setBold(font.bold);
  f.setUnderline(font.underline);
  return f;
}

void InstallFontSubstitutes() {
  const QString cjk = QStringLiteral("WenQuanYi Micro Hei");
  const QString sans = QStringLiteral("DejaVu Sans");
  // Tahoma's digits are narrow: the condensed face keeps "10965.30" inside
  // the 62-pixel result fields.
  const QString narrow = QStringLiteral("DejaVu Sans Condensed");
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {sans, cjk});
  QFont::insertSubstitutions(QStringLiteral("Tahoma"), {narrow, sans, cjk});
  QFont::insertSubstitutions(QStringLiteral("Arial Black"), {sans, cjk});
  QFont::insertSubstitutions(QString::fromUtf8("宋体"), {cjk, sans});
  QFont::insertSubstitutions(QString::fromUtf8("黑体"), {cjk, sans});
}

}  // namespace qilo
