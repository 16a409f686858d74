// The main window's part of the front-end protocol: control state to the
// widgets after a handler, and the texts the user changed back into the
// controls before one.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

#include "app/caption_ink.h"
#include "app/qt/gbk_qt.h"
#include "app/qt/look.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_desktop.h"
#include "app/qt/widget_factory.h"
#include "app/qt/widgets.h"

namespace qilo {
namespace {

QPalette::ColorRole TextRole(ControlKind kind) {
  return kind == ControlKind::kEdit ? QPalette::Text : QPalette::WindowText;
}

}  // namespace

void QtMainWindow::ReadEdits() {
  for (Item& item : items_) {
    if (item.layout->kind != ControlKind::kEdit) continue;
    const QString text = static_cast<QLineEdit*>(item.widget)->text();
    if (text == item.shown_text) continue;
    item.shown_text = text;
    UserChangedText(*item.control, ToGbk(text));
  }
}

void QtMainWindow::Show(const ControlSpec& layout, Control& c,
                        const ControlChanges& changes) {
  Item& item = *by_control_.at(&c);
  const ControlKind kind = layout.kind;
  if (kind == ControlKind::kTimer) {
    if (changes.timer) {
      if (c.enabled && c.interval > 0) {
        item.timer->start(c.interval);
      } else {
        item.timer->stop();
      }
    }
    return;
  }
  QWidget* widget = item.widget;
  if (changes.text) ShowText(item);
  if (changes.font_colour) {
    SetColour(widget, TextRole(kind), ToQColor(c.font_colour));
  }
  if (changes.hint) {
    widget->setToolTip(layout.show_hint ? HintText(c.hint) : QString());
  }
  if (kind == ControlKind::kEdit && changes.read_only) {
    auto* edit = static_cast<EditField*>(widget);
    edit->setReadOnly(c.read_only);
    edit->FitFont();
    // Qt gives a read-only field the arrow; its text can still be selected.
    ApplyCursor(item);
  }
  if (kind == ControlKind::kRadio) {
    auto* radio = static_cast<QRadioButton*>(widget);
    // Compared with the button itself: a click toggles it before its handler.
    if (radio->isChecked() != c.checked) radio->setChecked(c.checked);
    if (changes.tab_stop) {
      radio->setFocusPolicy(c.tab_stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
  }
  if (changes.place || (changes.text && kind == ControlKind::kLabel) ||
      (changes.visible && c.visible && !item.measured)) {
    Place(item);
  }
  if (changes.visible) widget->setVisible(c.visible);
  if (changes.cursor) ApplyCursor(item);
}

void QtMainWindow::ShowText(Item& item) {
  const QString text = FromGbk(item.control->text);
  switch (item.layout->kind) {
    case ControlKind::kLabel:
      static_cast<QLabel*>(item.widget)->setText(text);
      break;
    case ControlKind::kEdit: {
      auto* edit = static_cast<EditField*>(item.widget);
      edit->ShowProgramText(text);
      item.shown_text = edit->text();
      break;
    }
    case ControlKind::kRadio:
      static_cast<QRadioButton*>(item.widget)->setText(text);
      break;
    case ControlKind::kGroupBox:
      static_cast<QGroupBox*>(item.widget)->setTitle(text);
      break;
    default:
      break;
  }
}

// Labels size themselves to their caption: never smaller than the layout
// gives them, larger where the substitute face needs it (an opaque one still
// fills only the layout's rectangle). Auto-size pictures keep their bitmap's
// size.
void QtMainWindow::Place(Item& item) {
  const Control& c = *item.control;
  QWidget* widget = item.widget;
  const ControlSpec& layout = *item.layout;
  if (layout.kind == ControlKind::kPicture &&
      layout.picture_mode != PictureMode::kStretch) {
    const QSize bitmap = static_cast<PictureBox*>(widget)->BitmapSize();
    widget->setGeometry(c.left, c.top,
                        bitmap.isEmpty() ? c.width : bitmap.width(),
                        bitmap.isEmpty() ? c.height : bitmap.height());
    return;
  }
  int width = c.width;
  int height = c.height;
  if (layout.kind == ControlKind::kLabel) {
    auto* label = static_cast<CaptionLabel*>(widget);
    label->SetFill(c.transparent ? QSize() : QSize(width, height));
    if (IsRule(layout)) {
      const RuleLine line = RuleLineOf(c);
      label->SetRule(
          QRect(line.left - c.left, line.top - c.top, line.width, 1));
    }
    // Measured once the window shows, and a hidden label when it shows.
    if (c.visible && shown_once_) {
      if (!item.measured) Measure(item);
      const QFontMetrics metrics(label->font());
      width = std::max(width, metrics.horizontalAdvance(label->text()));
      height = std::max(height, metrics.height());
    }
  }
  widget->setGeometry(c.left, c.top + item.glyph_shift, width, height);
}

// A label centred on another's glyph is shifted by the two glyphs' ink,
// measured once both fonts are wanted on screen.
void QtMainWindow::Measure(Item& item) {
  item.measured = true;
  if (const char* name = GlyphCentredOn(*item.layout)) {
    const Item& other = ItemNamed(name);
    item.glyph_shift =
        GlyphShift(*item.layout, *item.widget, *other.layout, *other.widget);
  }
}

void QtMainWindow::ApplyCursor(Item& item) {
  if (item.control->cursor == 1) {
    const auto& hand = desktop_.HandCursor();
    item.widget->setCursor(hand ? *hand : QCursor(Qt::ArrowCursor));
  } else if (item.layout->kind == ControlKind::kEdit) {
    item.widget->setCursor(Qt::IBeamCursor);
  } else {
    item.widget->unsetCursor();
  }
}

void QtMainWindow::RefreshCursors() {
  for (Item& item : items_) {
    if (item.widget != nullptr && item.control->cursor == 1) ApplyCursor(item);
  }
}

}  // namespace qilo
