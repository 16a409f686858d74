#include "app/qt/widget_factory.h"

#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/caption_ink.h"
#include "app/qt/look.h"
#include "app/qt/widgets.h"

namespace qilo {
namespace {

// The substitute CJK faces set the ideographic full stop flush left in its
// cell, where the opaque "%" label overlapping the cell would hide it: it is
// indented so that its measured ink begins where SimSun's does. A face that
// sets it further in keeps its own place.
int FullStopIndent(const QLabel& label) {
  const QRectF ink =
      QFontMetricsF(label.font()).tightBoundingRect(label.text());
  return std::max(0,
                  kFullStopInkLeft - static_cast<int>(std::floor(ink.left())));
}

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
  label->setFont(ToQFont(layout.font));
  label->setText(QString::fromUtf8(layout.text));
  if (IsFullStop(layout)) label->setIndent(FullStopIndent(*label));
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
      widget = new PictureBox(QString::fromUtf8(layout.picture),
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
