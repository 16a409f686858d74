#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "app/colour.h"
#include "app/layout.h"

namespace qilo {

// A layout colour on screen: 0x00BBGGRR as it is, a system colour (0xFF0000nn)
// from the application palette. The gradient end of an active caption has no
// palette role and is a fixed light blue (185, 209, 234).
QColor ToQColor(Colour colour);

// A layout font: its face (found through the substitutes below), its character
// height in pixels, bold (black for Arial Black) and underline.
QFont ToQFont(const FontSpec& font);

// Of the sans families installed, the one with the heaviest upright style: it
// stands in for Arial Black, whose bold symbols would read thin otherwise.
QString HeaviestSans();

// Maps the layout's faces, which Linux desktops lack, to the installed DejaVu
// and WenQuanYi faces. Call once, after the application object exists.
void InstallFontSubstitutes();

}  // namespace qilo
