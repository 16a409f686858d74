#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "app/layout.h"

namespace qilo {

// The widget of one layout control as it looks at creation: its kind, font,
// colours and picture, under `parent`. Timers have no widget: nullptr. Events
// are not wired here.
QWidget* MakeWidget(const ControlSpec& layout, QWidget* parent);

// The name of the label whose glyph the glyph of `layout` is centred on, or
// nullptr: the substitute face sets "-" higher in its line than Arial Black
// does, so the editor's "-" is lined up on the middle of its "+".
const char* GlyphCentredOn(const ControlSpec& layout);

// Pixels to move `label` (at `layout`) down so that its glyph's vertical
// middle meets that of `other` (at `other_layout`, same parent).
int GlyphShift(const ControlSpec& layout, const QWidget& label,
               const ControlSpec& other_layout, const QWidget& other);

// Sets one colour role of a widget's palette.
void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& c);

}  // namespace qilo
