#include "app/qt/widgets.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QPainter>
#include <QStyle>
#include <cmath>
#include <memory>
#include <vector>

#include "app/caption_ink.h"
#include "app/edit_input.h"
#include "app/fit_font.h"
#include "app/qt/gbk_qt.h"
#include "app/qt/pictures.h"
#include "app/qt/translations.h"

namespace qilo {
namespace {

// Draws a one-pixel frame: `top_left` on the top and left edges, `bottom_right`
// on the other two.
void DrawFrame(QPainter& painter, const QRect& r, const QColor& top_left,
               const QColor& bottom_right) {
  painter.setPen(top_left);
  painter.drawLine(r.left(), r.top(), r.right(), r.top());
  painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
  painter.setPen(bottom_right);
  painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

// The character a key produces as a typed character, as the key filter sees
// it: a control character (Ctrl+A gives 1 … Ctrl+Z 26, Backspace 8, Enter 13,
// Escape 27), or -1 for a key that types text or nothing.
int ControlCharacter(const QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (mods & Qt::AltModifier) return -1;
  const int key = event->key();
  if (mods & Qt::ControlModifier) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key - Qt::Key_A + 1;
    if (key == Qt::Key_BracketLeft) return kCharEscape;
    if (key == Qt::Key_Backslash) return 28;
    if (key == Qt::Key_BracketRight) return 29;
    return -1;
  }
  switch (key) {
    case Qt::Key_Backspace:
      return kCharBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kCharReturn;
    case Qt::Key_Escape:
      return kCharEscape;
    default:
      return -1;
  }
}

// The printable text a key types; empty for keys that only edit or move.
QString TypedText(const QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return {};
  const QString text = event->text();
  if (text.isEmpty()) return {};
  const char16_t first = text.front().unicode();
  if (first < 0x20 || first == 0x7F) return {};
  return text;
}

int VirtualKey(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      return kVkUp;
    case Qt::Key_Down:
      return kVkDown;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kVkReturn;
    default:
      return 0;
  }
}

}  // namespace

double PictureScaleFor(double ratio, std::span<const double> scales) {
  for (const double scale : scales) {
    if (scale > ratio - 0.01) return scale;
  }
  return scales.back();
}

PictureBox::PictureBox(const QString& file, PictureMode mode, QWidget* parent)
    : QWidget(parent), file_(file), mode_(mode) {
  if (const EmbeddedPicture* one = FindEmbeddedPicture(file, 1)) {
    size_ = QSize(one->width, one->height);
  }
  if (size_.isValid() && mode != PictureMode::kStretch) resize(size_);
  // A press on a picture belongs to what lies beneath (the drag strip).
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

double DrawnScaleFor(QStringView file, double ratio) {
  std::vector<double> scales;
  for (const double scale : kPictureScales) {
    if (scale == 1 || FindEmbeddedPicture(file, scale) != nullptr) {
      scales.push_back(scale);
    }
  }
  return PictureScaleFor(ratio, scales);
}

void PictureBox::Pick(qreal ratio) {
  picked_for_ = ratio;
  shown_scale_ = DrawnScaleFor(file_, ratio);
  QImage image = EmbeddedImage(file_, shown_scale_);
  if (!image.isNull() && mode_ == PictureMode::kAutoSizeTransparent) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) == key) image.setPixel(x, y, 0);
      }
    }
  }
  pixmap_ = QPixmap::fromImage(image);
  pixmap_.setDevicePixelRatio(shown_scale_);
}

bool PictureBox::event(QEvent* event) {
  if (event->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
      || event->type() == QEvent::DevicePixelRatioChange
#endif
  ) {
    Pick(devicePixelRatioF());
    update();
  }
  return QWidget::event(event);
}

// Painted in device pixels from the control's corners rounded to whole ones:
// the bitmap drawn for the scale pixel for pixel, another one smoothly to the
// size it would have.
void PictureBox::paintEvent(QPaintEvent*) {
  if (size_.isEmpty()) return;
  QPainter painter(this);
  const QTransform to_device = painter.deviceTransform();
  const qreal ratio = to_device.m11();
  if (!qFuzzyCompare(ratio, picked_for_)) Pick(ratio);
  if (pixmap_.isNull()) return;
  const QPointF top_left = to_device.map(QPointF(0, 0));
  const QPointF bottom_right = to_device.map(QPointF(width(), height()));
  QRect target(
      QPoint(qRound(top_left.x()), qRound(top_left.y())),
      QPoint(qRound(bottom_right.x()) - 1, qRound(bottom_right.y()) - 1));
  const bool exact = qFuzzyCompare(shown_scale_, ratio);
  if (mode_ != PictureMode::kStretch) {
    // The scaled bitmaps are their layout size times the scale, rounded
    // down: never beyond the device pixels the control covers.
    target.setSize(exact ? pixmap_.size()
                         : QSize(static_cast<int>(size_.width() * ratio),
                                 static_cast<int>(size_.height() * ratio)));
  }
  painter.setWorldTransform(to_device.inverted());
  painter.setRenderHint(QPainter::SmoothPixmapTransform, !exact);
  painter.drawPixmap(target, pixmap_);
}

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CaptionLabel::SetFill(QSize fill) {
  if (fill == fill_) return;
  fill_ = fill;
  update();
}

void CaptionLabel::SetRule(QRect line) {
  if (line == rule_) return;
  rule_ = line;
  update();
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
  if (!fill_.isEmpty()) {
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(0, 0), fill_),
                     palette().color(QPalette::Window));
  }
  if (!rule_.isEmpty()) {
    QPainter painter(this);
    painter.fillRect(rule_, palette().color(QPalette::WindowText));
    return;
  }
  const QString caption = text();
  const qsizetype drawn = static_cast<qsizetype>(
      DrawnLength(QStringView(caption), font().underline()));
  if (drawn < caption.size()) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), alignment(), palette(),
                          isEnabled(), caption.left(drawn), foregroundRole());
    return;
  }
  QLabel::paintEvent(event);
}

FlatButton::FlatButton(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
}

void FlatButton::paintEvent(QPaintEvent*) {
  if (!hovered_ && !held_) return;
  QPainter painter(this);
  const QColor light = palette().color(QPalette::Light);
  const QColor dark = palette().color(QPalette::Dark);
  if (held_) {
    DrawFrame(painter, rect(), dark, light);
  } else {
    DrawFrame(painter, rect(), light, dark);
  }
}

void FlatButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    held_ = true;
    update();
  }
  emit MouseDown();
}

// A second press in quick succession is a press like the first.
void FlatButton::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
}

void FlatButton::mouseReleaseEvent(QMouseEvent* event) {
  const bool was_held = held_ && event->button() == Qt::LeftButton;
  if (event->button() == Qt::LeftButton) {
    held_ = false;
    update();
  }
  emit MouseUp();
  if (was_held && rect().contains(event->position().toPoint())) emit Clicked();
}

void FlatButton::enterEvent(QEnterEvent*) {
  hovered_ = true;
  update();
}

void FlatButton::leaveEvent(QEvent*) {
  hovered_ = false;
  update();
}

// A window that loses activation while the button is held (an error box
// opened by the press) never sees the release: the press ends here.
bool FlatButton::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate && held_) {
    held_ = false;
    hovered_ = false;
    update();
    emit MouseUp();
  }
  return QWidget::event(event);
}

EditField::EditField(QWidget* parent) : QLineEdit(parent) {
  setFrame(false);
  setTextMargins(1, 0, 1, 0);
  // Dropped text would bypass the byte limit.
  setAcceptDrops(false);
}

void EditField::InsertLimited(const QString& text) {
  if (isReadOnly()) return;
  const AdmittedText admitted = AdmitText(
      text.toStdString(),
      EditRoom(byte_limit_, ToGbk(this->text()), ToGbk(selectedText())));
  if (admitted.uncoded) emit UncodedInput();
  if (!admitted.utf8.empty()) insert(QString::fromStdString(admitted.utf8));
}

void EditField::PasteLimited() {
  InsertLimited(QGuiApplication::clipboard()->text());
}

void EditField::SetLayoutFont(const QFont& font) {
  layout_font_ = font;
  FitFont();
}

void EditField::ShowProgramText(const QString& text) {
  setText(text);
  setCursorPosition(0);
  FitFont();
}

// The line edit draws its text two pixels inside the text margins; the ink
// must end before the bevel on the right.
int EditField::TextRoom() const {
  constexpr int kInnerMargin = 2;
  const QMargins margins = textMargins();
  return width() - margins.left() - margins.right() - kInnerMargin - 1;
}

void EditField::FitFont() {
  QFont fitted = layout_font_;
  overflows_ = false;
  if (isReadOnly()) {
    const QString shown = text();
    const FittedFont fit = FitFontSize(
        layout_font_.pixelSize(), kFitFontFloorPx, TextRoom(), [&](int px) {
          // The ink, not the advance: the last digit's side bearing may
          // stand in the bevel.
          QFont f = layout_font_;
          f.setPixelSize(px);
          const QRectF ink = QFontMetricsF(f).tightBoundingRect(shown);
          return static_cast<int>(std::ceil(ink.right()));
        });
    fitted.setPixelSize(fit.pixel_size);
    overflows_ = !fit.fits;
  }
  if (fitted != font()) setFont(fitted);
  update();
}

void EditField::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  FitFont();
}

bool EditField::Filtered() const {
  return isSignalConnected(QMetaMethod::fromSignal(&EditField::KeyPress));
}

QString EditField::FilterTyped(const QString& typed) {
  if (!Filtered()) return typed;
  QString accepted;
  for (const char32_t cp : typed.toUcs4()) {
    // A character outside ASCII reaches the filter as its GBK lead byte,
    // which it refuses; such a character never enters a filtered field.
    char key = static_cast<char>(cp);
    if (cp >= 0x80) {
      const std::string gbk = ToGbk(QString::fromUcs4(&cp, 1));
      key = gbk.empty() ? '?' : gbk.front();
    }
    emit KeyPress(key);
    if (key != 0 && cp < 0x80) accepted += QChar(key);
  }
  return accepted;
}

// A key the filter let through: a paste keeps to the byte limit, anything else
// is the line edit's own.
void EditField::PasteOrEdit(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    PasteLimited();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void EditField::keyPressEvent(QKeyEvent* event) {
  if (const int vk = VirtualKey(event)) emit KeyDown(vk);
  const int control = ControlCharacter(event);
  if (control >= 0) {
    char key = static_cast<char>(control);
    emit KeyPress(key);
    if (key == 0) {
      event->accept();
      return;
    }
    PasteOrEdit(event);
    return;
  }
  const QString typed = TypedText(event);
  if (typed.isEmpty()) {
    PasteOrEdit(event);
    return;
  }
  InsertLimited(FilterTyped(typed));
  event->accept();
}

void EditField::keyReleaseEvent(QKeyEvent* event) {
  emit KeyUp();
  QLineEdit::keyReleaseEvent(event);
}

void EditField::inputMethodEvent(QInputMethodEvent* event) {
  if (event->commitString().isEmpty() || isReadOnly()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  // Composed text counts as typed: through the filter and the byte limit.
  const QString accepted = FilterTyped(event->commitString());
  QInputMethodEvent rest(event->preeditString(), event->attributes());
  QLineEdit::inputMethodEvent(&rest);
  InsertLimited(accepted);
}

// The desktop's middle-button paste of the selection keeps to the byte limit
// like the context menu's.
void EditField::mouseReleaseEvent(QMouseEvent* event) {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
    if (!isReadOnly()) {
      deselect();
      InsertLimited(clipboard->text(QClipboard::Selection));
    }
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void EditField::contextMenuEvent(QContextMenuEvent* event) {
  NeedQtTranslations();
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  // The menu's paste bypasses the key filter but not the byte limit. Qt names
  // the action only from 6.5 on; before, its text is the one to go by.
  for (QAction* action : menu->actions()) {
    if (action->objectName() != QLatin1String("edit-paste") &&
        !action->text().startsWith(QLineEdit::tr("&Paste"))) {
      continue;
    }
    disconnect(action, &QAction::triggered, this, nullptr);
    connect(action, &QAction::triggered, this, &EditField::PasteLimited);
  }
  menu->exec(event->globalPos());
}

void EditField::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  QPainter painter(this);
  if (overflows_) {
    // The text goes on beyond the right edge: say so rather than let the
    // leading digits pass for the whole amount.
    const QString ellipsis(QChar(0x2026));
    const int w = painter.fontMetrics().horizontalAdvance(ellipsis) + 2;
    const QRect mark(width() - 1 - w, 1, w, height() - 2);
    painter.fillRect(mark, palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(mark, Qt::AlignCenter, ellipsis);
  }
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace qilo
