#include "app/qt/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QPalette>
#include <QStringList>
#include <cstring>
#include <utility>

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

namespace {

// The installed families each layout face stands for, in order: the face
// itself where the desktop has it, then its substitutes. Naming them on the
// font spares Qt the search for the missing face and a fontconfig fallback
// sort for each missing name and script (a third of the window's start-up),
// and keeps the substitutes' order for the characters the first family
// lacks. Written with the substitutes.
QHash<QString, QStringList>& InstalledChains() {
  static QHash<QString, QStringList> chains;
  return chains;
}

}  // namespace

QFont ToQFont(const FontSpec& font) {
  QFont f;
  const QString face = QString::fromUtf8(font.face);
  // A face without installed stand-ins is left to Qt's own matching.
  f.setFamilies(InstalledChains().value(face, QStringList{face}));
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
  const std::pair<const char*, QStringList> kSubstitutes[] = {
      {"MS Sans Serif", {sans, cjk}},
      {"Tahoma", {narrow, sans, cjk}},
      {kBlackFace, {HeaviestSans(), sans, cjk}},
      {"宋体", {cjk, sans}},
      {"黑体", {cjk, sans}},
  };
  const QStringList installed = QFontDatabase::families();
  for (const auto& [name, substitutes] : kSubstitutes) {
    const QString face = QString::fromUtf8(name);
    QFont::insertSubstitutions(face, substitutes);
    QStringList chain;
    for (const QString& family : QStringList{face} + substitutes) {
      if (installed.contains(family, Qt::CaseInsensitive) &&
          !chain.contains(family, Qt::CaseInsensitive)) {
        chain << family;
      }
    }
    if (!chain.isEmpty()) InstalledChains().insert(face, chain);
  }
}

}  // namespace qilo
