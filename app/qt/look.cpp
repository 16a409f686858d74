#include "app/qt/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QStringList>
#include <cstring>

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

namespace {

constexpr char kBlackFace[] = "Arial Black";

}  // namespace

QString HeaviestSans() {
  // Sans families Debian ships, some with black or heavy styles; DejaVu Sans
  // (bold at most) is always there.
  static const char* const kSans[] = {
      "Lato",      "Roboto",          "Noto Sans",
      "Open Sans", "Liberation Sans", "DejaVu Sans"};
  QString heaviest = QStringLiteral("DejaVu Sans");
  int heaviest_weight = -1;
  // Looked up in the installed families: hasFamily would first ask
  // fontconfig for an alias of each missing name, a quarter of the start-up.
  const QStringList installed = QFontDatabase::families();
  for (const char* name : kSans) {
    const QString family = QString::fromUtf8(name);
    if (!installed.contains(family)) continue;
    for (const QString& style : QFontDatabase::styles(family)) {
      if (QFontDatabase::italic(family, style)) continue;
      const int weight = QFontDatabase::weight(family, style);
      if (weight > heaviest_weight) {
        heaviest = family;
        heaviest_weight = weight;
      }
    }
  }
  return heaviest;
}

QFont ToQFont(const FontSpec& font) {
  QFont f(QString::fromUtf8(font.face));
  f.setPixelSize(font.pixel_size);
  if (font.bold) {
    f.setWeight(std::strcmp(font.face, kBlackFace) == 0 ? QFont::Black
                                                        : QFont::Bold);
  }
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
  QFont::insertSubstitutions(QString::fromUtf8(kBlackFace),
                             {HeaviestSans(), sans, cjk});
  QFont::insertSubstitutions(QString::fromUtf8("宋体"), {cjk, sans});
  QFont::insertSubstitutions(QString::fromUtf8("黑体"), {cjk, sans});
}

}  // namespace qilo
