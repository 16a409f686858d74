#include "app/qt/widget_factory.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <cstring>

#include "app/qt/look.h"
#include "app/qt/widgets.h"

namespace qilo {
namespace {

// A caption made of underscores is a rule drawn with text: it keeps the
// length the layout gives it, whatever the width of the substitute's "_".
bool IsRule(const char* text) {
  return text[0] != '\0' && std::strspn(text, "_") == std::strlen(text);
}

// The substitute CJK faces set the ideographic full stop flush left in its
// cell, where the opaque "%" label overlapping the cell would hide it; SimSun
// sets it two pixels in, so that the two read together as a per-mille sign.
constexpr int kFullStopIndent = 2;
bool IsFullStop(const char* text) { return std::strcmp(text, "。") == 0; }

struct GlyphCentring {
  const char* label;
  const char* centred_on;
};
constexpr GlyphCentring kGlyphCentring[] = {{"LabDel", "LabAdd"}};

// The vertical middle of a label's ink below the label's top.
qreal GlyphMiddle(const QWidget& widget) {
  const auto& label = static_cast<const QLabel&>(widget);
  const QFontMetricsF metrics(label.font());
  const QRectF ink = metrics.tightBoundingRect(label.text());
  return metrics.ascent() + ink.center().y();
}

QWidget* MakeLabel(const ControlSpec& layout, QWidget* parent) {
  auto* label = new CaptionLabel(parent);
  QFont font = ToQFont(layout.font);
  if (IsRule(layout.text)) {
    const int natural =
        QFontMetrics(font).horizontalAdvance(QString::fromUtf8(layout.text));
    if (natural > 0) font.setStretch(100 * layout.width / natural);
    // A one-pixel rule in its own colour, not a blend with the cream.
    font.setStyleStrategy(QFont::NoAntialias);
  }
  label->setFont(font);
  if (IsFullStop(layout.text)) label->setIndent(kFullStopIndent);
  label->setText(QString::fromUtf8(layout.text));
  return label;
}

QWidget* MakeEdit(const ControlSpec& layout, QWidget* parent) {
  auto* edit = new EditField(parent);
  edit->SetLayoutFont(ToQFont(layout.font));
  SetColour(edit, QPalette::Base, ToQColor(layout.background));
  edit->SetByteLimit(layout.max_length);
  return edit;
}

QWidget* MakeRadio(const ControlSpec& layout, QWidget* parent) {
  auto* radio = new QRadioButton(QString::fromUtf8(layout.text), parent);
  radio->setFont(ToQFont(layout.font));
  radio->setAutoExclusive(false);
  radio->setBackgroundRole(QPalette::Window);
  radio->setAutoFillBackground(true);
  return radio;
}

QWidget* MakePanel(const ControlSpec& layout, QWidget* parent) {
  auto* panel = new QWidget(parent);
  SetColour(panel, QPalette::Window, ToQColor(layout.background));
  panel->setAutoFillBackground(true);
  return panel;
}

QWidget* MakeGroupBox(const ControlSpec& layout, QWidget* parent) {
  auto* group = new QGroupBox(QString::fromUtf8(layout.text), parent);
  // The classic etched frame with the caption on its top line; Fusion's
  // frame would tint the inside and set the opaque labels apart.
  if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) {
    classic->setParent(group);
    group->setStyle(classic);
  }
  group->setFont(ToQFont(layout.font));
  SetColour(group, QPalette::Window, ToQColor(layout.background));
  group->setAutoFillBackground(true);
  return group;
}

}  // namespace

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& c) {
  QPalette palette = widget->palette();
  palette.setColor(role, c);
  widget->setPalette(palette);
}

QWidget* MakeWidget(const ControlSpec& layout, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (layout.kind) {
    case ControlKind::kPicture:
      widget = new PictureBox(
          QStringLiteral(":/assets/") + QString::fromUtf8(layout.picture),
          layout.picture_mode, parent);
      break;
    case ControlKind::kLabel:
      widget = MakeLabel(layout, parent);
      break;
    case ControlKind::kEdit:
      return MakeEdit(layout, parent);
    case ControlKind::kRadio:
      return MakeRadio(layout, parent);
    case ControlKind::kFlatButton:
      widget = new FlatButton(parent);
      break;
    case ControlKind::kPanel:
      widget = MakePanel(layout, parent);
      break;
    case ControlKind::kGroupBox:
      widget = MakeGroupBox(layout, parent);
      break;
    case ControlKind::kTimer:
      return nullptr;
  }
  // Only the edit fields and the market buttons take the focus.
  widget->setFocusPolicy(Qt::NoFocus);
  return widget;
}

const char* GlyphCentredOn(const ControlSpec& layout) {
  for (const GlyphCentring& g : kGlyphCentring) {
    if (std::strcmp(g.label, layout.name) == 0) return g.centred_on;
  }
  return nullptr;
}

int GlyphShift(const ControlSpec& layout, const QWidget& label,
               const ControlSpec& other_layout, const QWidget& other) {
  return qRound(other_layout.top + GlyphMiddle(other) -
                (layout.top + GlyphMiddle(label)));
}

}  // namespace qilo
