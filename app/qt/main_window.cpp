#include "app/qt/main_window.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QSessionManager>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "app/error_text.h"
#include "app/hit_test.h"
#include "app/qt/gbk_qt.h"
#include "app/qt/look.h"
#include "app/qt/qt_desktop.h"
#include "app/qt/widgets.h"
#include "text/exception.h"

namespace qilo {

// The handlers a control's events go to; a missing one ignores the event.
struct Handlers {
  const char* name;
  void (TFrmMain::*click)() = nullptr;
  void (TFrmMain::*mouse_move)() = nullptr;
  void (TFrmMain::*mouse_leave)() = nullptr;
  void (TFrmMain::*mouse_down)() = nullptr;
  void (TFrmMain::*mouse_up)() = nullptr;
  void (TFrmMain::*key_down)(int) = nullptr;
  void (TFrmMain::*key_up)() = nullptr;
  void (TFrmMain::*key_press)(char&) = nullptr;
  void (TFrmMain::*tick)() = nullptr;
};

namespace {

using F = TFrmMain;

const Handlers kHandlers[] = {
    {.name = "LabClose",
     .click = &F::LabCloseClick,
     .mouse_move = &F::LabCloseMouseMove,
     .mouse_leave = &F::LabCloseMouseLeave},
    {.name = "LabMin",
     .click = &F::LabMinClick,
     .mouse_move = &F::LabMinMouseMove,
     .mouse_leave = &F::LabMinMouseLeave},
    {.name = "LabInfo",
     .click = &F::LabInfoClick,
     .mouse_move = &F::LabInfoMouseMove},
    {.name = "LabConnMe",
     .click = &F::LabConnMeClick,
     .mouse_move = &F::LabConnMeMouseMove,
     .mouse_leave = &F::LabConnMeMouseLeave},
    {.name = "LabFav",
     .click = &F::LabFavClick,
     .mouse_move = &F::LabFavMouseMove,
     .mouse_leave = &F::LabFavMouseLeave},
    {.name = "LabAdd",
     .click = &F::LabAddClick,
     .mouse_move = &F::LabAddMouseMove,
     .mouse_leave = &F::LabAddMouseLeave},
    {.name = "LabDel",
     .click = &F::LabDelClick,
     .mouse_move = &F::LabDelMouseMove,
     .mouse_leave = &F::LabDelMouseLeave},
    {.name = "LabCostPrice",
     .click = &F::LabCostPriceClick,
     .mouse_move = &F::LabCostPriceMouseMove,
     .mouse_leave = &F::LabCostPriceMouseLeave},
    {.name = "BtnCal", .click = &F::BtnCalClick},
    {.name = "BtnBuyUp",
     .mouse_down = &F::BtnBuyUpMouseDown,
     .mouse_up = &F::BtnBuyUpMouseUp},
    {.name = "BtnBuyDwn",
     .mouse_down = &F::BtnBuyDwnMouseDown,
     .mouse_up = &F::BtnBuyDwnMouseUp},
    {.name = "BtnSellUp",
     .mouse_down = &F::BtnSellUpMouseDown,
     .mouse_up = &F::BtnSellUpMouseUp},
    {.name = "BtnSellDwn",
     .mouse_down = &F::BtnSellDwnMouseDown,
     .mouse_up = &F::BtnSellDwnMouseUp},
    {.name = "BtnCntUp",
     .mouse_down = &F::BtnCntUpMouseDown,
     .mouse_up = &F::BtnCntUpMouseUp},
    {.name = "BtnCntDwn",
     .mouse_down = &F::BtnCntDwnMouseDown,
     .mouse_up = &F::BtnCntDwnMouseUp},
    {.name = "EdPriceBuy",
     .key_down = &F::EdPriceBuyKeyDown,
     .key_up = &F::EdPriceBuyKeyUp,
     .key_press = &F::EdPriceBuyKeyPress},
    {.name = "EdPriceSell",
     .key_down = &F::EdPriceSellKeyDown,
     .key_up = &F::EdPriceSellKeyUp,
     .key_press = &F::EdPriceSellKeyPress},
    {.name = "EdCnt",
     .key_down = &F::EdCntKeyDown,
     .key_up = &F::EdCntKeyUp,
     .key_press = &F::EdCntKeyPress},
    {.name = "EdCommision", .key_press = &F::EdCommisionKeyPress},
    {.name = "EdStamptax", .key_press = &F::EdStamptaxKeyPress},
    {.name = "EdTransfer", .key_press = &F::EdTransferKeyPress},
    {.name = "EdOther", .key_press = &F::EdOtherKeyPress},
    // A click on a market button checks it through TFrmMain::CheckMarket,
    // which raises the click handler named here.
    {.name = "RadBtSH", .click = &F::RadBtSHClick},
    {.name = "RadBtSZ", .click = &F::RadBtSZClick},
    {.name = "TimerInfo", .tick = &F::TimerInfoTimer},
    {.name = "TimerStepVal", .tick = &F::TimerStepValTimer},
};

const Handlers* HandlersOf(const char* name) {
  for (const Handlers& h : kHandlers) {
    if (std::strcmp(h.name, name) == 0) return &h;
  }
  return nullptr;
}

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& c) {
  QPalette palette = widget->palette();
  palette.setColor(role, c);
  widget->setPalette(palette);
}

QPalette::ColorRole TextRole(ControlKind kind) {
  return kind == ControlKind::kEdit ? QPalette::Text : QPalette::WindowText;
}

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

// The substitute face sets "-" higher in its line than Arial Black does: the
// editor's "-" is lined up on the middle of its "+" instead.
struct GlyphCentring {
  const char* label;
  const char* centred_on;
};
constexpr GlyphCentring kGlyphCentring[] = {{"LabDel", "LabAdd"}};

// The vertical middle of a label's ink below the label's top.
qreal GlyphMiddle(const QLabel& label) {
  const QFontMetricsF metrics(label.font());
  const QRectF ink = metrics.tightBoundingRect(label.text());
  return metrics.ascent() + ink.center().y();
}

}  // namespace

MainWindow::MainWindow(TFrmMain& form, QtDesktop& desktop)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      form_(form),
      desktop_(desktop) {
  setWindowTitle(QString::fromUtf8(kWindowCaption));
  setFixedSize(kWindowWidth, kWindowHeight);
  // The caption stays the window text (never drawn); the task bar shows the
  // application title.
  create();
  windowHandle()->setTitle(QString::fromUtf8(kApplicationTitle));
  setFont(ToQFont(kWindowFont));
  SetColour(this, QPalette::Window, ToQColor(kWindowColour));
  SetColour(this, QPalette::WindowText, ToQColor(kWindowFont.colour));
  setAutoFillBackground(true);

  for (const ControlSpec& layout : Layout()) {
    Item& item = items_.emplace_back();
    item.layout = &layout;
    item.control = &(form_.*layout.member);
    item.handlers = HandlersOf(layout.name);
    by_control_[item.control] = &item;
    by_name_.insert(QString::fromUtf8(layout.name), &item);
    Build(item);
    if (item.widget != nullptr) by_widget_.insert(item.widget, &item);
  }
  Stack();
  ChainTabOrder();
  desktop_.Attach(this);
  MirrorAll(true);

  connect(qApp, &QGuiApplication::commitDataRequest, this,
          [this](QSessionManager&) { Call(&F::QueryEndSession); });

  if (const QScreen* screen = this->screen()) {
    move(screen->geometry().center() - rect().center());
  }
}

// The children outlive this body: none of their events may reach the
// handlers (or the tables here) any more.
MainWindow::~MainWindow() {
  desktop_.Attach(nullptr);
  for (Item& item : items_) {
    if (item.timer != nullptr) item.timer->disconnect(this);
    if (item.widget == nullptr) continue;
    item.widget->removeEventFilter(this);
    item.widget->disconnect(this);
    if (item.layout->kind == ControlKind::kEdit) {
      auto* edit = static_cast<EditField*>(item.widget);
      edit->on_key_down = nullptr;
      edit->on_key_up = nullptr;
      edit->on_key_press = nullptr;
    } else if (item.layout->kind == ControlKind::kFlatButton) {
      auto* button = static_cast<FlatButton*>(item.widget);
      button->on_mouse_down = nullptr;
      button->on_mouse_up = nullptr;
      button->on_click = nullptr;
    }
  }
}

QWidget* MainWindow::WidgetOf(const Control& control) const {
  const auto it = by_control_.find(&control);
  return it == by_control_.end() ? nullptr : it->second->widget;
}

QWidget* MainWindow::WidgetNamed(const QString& name) const {
  const Item* item = by_name_.value(name, nullptr);
  return item == nullptr ? nullptr : item->widget;
}

void MainWindow::Build(Item& item) {
  const ControlSpec& layout = *item.layout;
  const Handlers* h = item.handlers;
  QWidget* parent = this;
  if (layout.parent != nullptr) {
    parent = by_name_.value(QString::fromUtf8(layout.parent))->widget;
  }
  switch (layout.kind) {
    case ControlKind::kPicture:
      item.widget = new PictureBox(
          QStringLiteral(":/assets/") + QString::fromUtf8(layout.picture),
          layout.picture_mode, parent);
      break;
    case ControlKind::kLabel: {
      auto* label = new CaptionLabel(parent);
      QFont font = ToQFont(layout.font);
      if (IsRule(layout.text)) {
        const int natural = QFontMetrics(font).horizontalAdvance(
            QString::fromUtf8(layout.text));
        if (natural > 0) font.setStretch(100 * layout.width / natural);
        // A one-pixel rule in its own colour, not a blend with the cream.
        font.setStyleStrategy(QFont::NoAntialias);
      }
      label->setFont(font);
      if (IsFullStop(layout.text)) label->setIndent(kFullStopIndent);
      if (h != nullptr) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
      } else if (!layout.show_hint) {
        // A press on a plain label belongs to what lies beneath.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
      }
      item.widget = label;
      label->setText(QString::fromUtf8(layout.text));
      for (const GlyphCentring& g : kGlyphCentring) {
        if (std::strcmp(g.label, layout.name) != 0) continue;
        const Item* other = by_name_.value(QString::fromUtf8(g.centred_on));
        const auto* other_label = static_cast<const QLabel*>(other->widget);
        item.glyph_shift =
            qRound(other->layout->top + GlyphMiddle(*other_label) -
                   (layout.top + GlyphMiddle(*label)));
      }
      break;
    }
    case ControlKind::kEdit: {
      auto* edit = new EditField(parent);
      edit->SetLayoutFont(ToQFont(layout.font));
      SetColour(edit, QPalette::Base, ToQColor(layout.background));
      edit->SetByteLimit(item.control->max_length);
      if (h != nullptr && h->key_down != nullptr) {
        edit->on_key_down = [this, f = h->key_down](int key) {
          Run([&form = form_, f, key] { (form.*f)(key); });
        };
      }
      if (h != nullptr && h->key_up != nullptr) {
        edit->on_key_up = [this, f = h->key_up] { Call(f); };
      }
      if (h != nullptr && h->key_press != nullptr) {
        edit->on_key_press = [this, f = h->key_press](char& key) {
          Run([&form = form_, f, &key] { (form.*f)(key); });
        };
        // Numbers only: every typed character goes through the key filter.
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
      }
      item.widget = edit;
      break;
    }
    case ControlKind::kRadio: {
      auto* radio = new QRadioButton(QString::fromUtf8(layout.text), parent);
      radio->setFont(ToQFont(layout.font));
      radio->setAutoExclusive(false);
      radio->setBackgroundRole(QPalette::Window);
      radio->setAutoFillBackground(true);
      radio->installEventFilter(this);
      connect(radio, &QRadioButton::clicked, this,
              [this, &item] { ClickRadio(item); });
      item.widget = radio;
      break;
    }
    case ControlKind::kFlatButton: {
      auto* button = new FlatButton(parent);
      if (h != nullptr && h->click != nullptr) {
        button->on_click = [this, f = h->click] { Call(f); };
      }
      if (h != nullptr && h->mouse_down != nullptr) {
        button->on_mouse_down = [this, f = h->mouse_down] { Call(f); };
      }
      if (h != nullptr && h->mouse_up != nullptr) {
        button->on_mouse_up = [this, f = h->mouse_up] { Call(f); };
      }
      item.widget = button;
      break;
    }
    case ControlKind::kPanel: {
      auto* panel = new QWidget(parent);
      SetColour(panel, QPalette::Window, ToQColor(layout.background));
      panel->setAutoFillBackground(true);
      item.widget = panel;
      break;
    }
    case ControlKind::kGroupBox: {
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
      item.widget = group;
      break;
    }
    case ControlKind::kTimer:
      item.timer = new QTimer(this);
      if (h != nullptr && h->tick != nullptr) {
        connect(item.timer, &QTimer::timeout, this,
                [this, f = h->tick] { Call(f); });
      }
      break;
  }
  if (item.widget != nullptr && layout.kind != ControlKind::kEdit &&
      layout.kind != ControlKind::kRadio) {
    item.widget->setFocusPolicy(Qt::NoFocus);
  }
}

void MainWindow::Call(void (TFrmMain::*handler)()) {
  Run([&form = form_, handler] { (form.*handler)(); });
}

// Pictures, labels and flat buttons lie beneath the windowed controls of the
// same parent; within each group a later control lies above an earlier one.
void MainWindow::Stack() {
  for (const bool windowed : {false, true}) {
    for (Item& item : items_) {
      if (item.widget != nullptr && IsWindowed(item.layout->kind) == windowed) {
        item.widget->raise();
      }
    }
  }
}

// Tab order: by the tab order of the window's windowed child that holds the
// control, then by the control's own order within it.
void MainWindow::ChainTabOrder() {
  std::vector<std::pair<std::vector<int>, QWidget*>> stops;
  for (Item& item : items_) {
    const ControlKind kind = item.layout->kind;
    if (kind != ControlKind::kEdit && kind != ControlKind::kRadio) continue;
    std::vector<int> path;
    for (const ControlSpec* s = item.layout; s != nullptr;) {
      path.insert(path.begin(), s->tab_order);
      s = s->parent == nullptr
              ? nullptr
              : by_name_.value(QString::fromUtf8(s->parent))->layout;
    }
    stops.emplace_back(std::move(path), item.widget);
  }
  std::stable_sort(
      stops.begin(), stops.end(),
      [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& stop : stops) tab_chain_.push_back(stop.second);
  for (size_t i = 1; i < tab_chain_.size(); ++i) {
    setTabOrder(tab_chain_[i - 1], tab_chain_[i]);
  }
}

// The first control in tab order that can take the focus gets it.
void MainWindow::FocusFirst() {
  for (QWidget* widget : tab_chain_) {
    if (widget->isVisibleTo(this) && (widget->focusPolicy() & Qt::TabFocus)) {
      widget->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void MainWindow::Run(const std::function<void()>& handler) {
  SyncFromWidgets();
  std::optional<std::string> error;
  ++running_;
  try {
    handler();
  } catch (const Exception& e) {
    error = e.Message();
  } catch (const std::exception& e) {
    error = e.what();
  }
  --running_;
  MirrorAll(false);
  if (error) {
    ShowErrorBox(*error);
    MirrorAll(false);
  }
}

void MainWindow::ShowErrorBox(const std::string& message) {
  // The box runs its own event loop, where timer ticks go on; one that fails
  // meanwhile does not open a second box.
  if (error_box_open_) return;
  error_box_open_ = true;
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle),
                  FromGbk(ErrorBoxText(message)), QMessageBox::Ok, this);
  box.exec();
  error_box_open_ = false;
}

void MainWindow::SyncFromWidgets() {
  for (Item& item : items_) {
    if (item.layout->kind != ControlKind::kEdit) continue;
    const QString text = static_cast<QLineEdit*>(item.widget)->text();
    if (text == item.shown_text) continue;
    item.control->text = ToGbk(text);
    item.shown.text = item.control->text;
    item.shown_text = text;
  }
}

void MainWindow::MirrorAll(bool force) {
  for (Item& item : items_) Mirror(item, force);
}

void MainWindow::Mirror(Item& item, bool force) {
  const Control& c = *item.control;
  Control& shown = item.shown;
  const ControlKind kind = item.layout->kind;
  if (kind == ControlKind::kTimer) {
    if (force || c.enabled != shown.enabled || c.interval != shown.interval) {
      if (c.enabled && c.interval > 0) {
        item.timer->start(c.interval);
      } else {
        item.timer->stop();
      }
    }
    shown = c;
    return;
  }
  QWidget* widget = item.widget;
  bool place = force || c.left != shown.left || c.top != shown.top ||
               c.width != shown.width || c.height != shown.height ||
               c.transparent != shown.transparent;
  if (force || c.text != shown.text) {
    const QString text = FromGbk(c.text);
    if (kind == ControlKind::kLabel) {
      static_cast<QLabel*>(widget)->setText(text);
      place = true;
    } else if (kind == ControlKind::kEdit) {
      auto* edit = static_cast<EditField*>(widget);
      edit->ShowProgramText(text);
      item.shown_text = edit->text();
    } else if (kind == ControlKind::kRadio) {
      static_cast<QRadioButton*>(widget)->setText(text);
    } else if (kind == ControlKind::kGroupBox) {
      static_cast<QGroupBox*>(widget)->setTitle(text);
    }
  }
  if (force || c.font_colour != shown.font_colour) {
    SetColour(widget, TextRole(kind), ToQColor(c.font_colour));
  }
  if (force || c.hint != shown.hint) {
    widget->setToolTip(item.layout->show_hint ? HintText(c.hint) : QString());
  }
  if (kind == ControlKind::kEdit && (force || c.read_only != shown.read_only)) {
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
    if (force || c.tab_stop != shown.tab_stop) {
      radio->setFocusPolicy(c.tab_stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
  }
  if (place) Place(item);
  if (force || c.visible != shown.visible) widget->setVisible(c.visible);
  if (c.cursor != shown.cursor) {
    shown.cursor = c.cursor;
    ApplyCursor(item);
  }
  shown = c;
}

// Labels size themselves to their caption: never smaller than the layout
// gives them, larger where the substitute face needs it (an opaque one still
// fills only the layout's rectangle). Auto-size pictures keep their bitmap's
// size.
void MainWindow::Place(Item& item) {
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
    const QFontMetrics metrics(label->font());
    width = std::max(width, metrics.horizontalAdvance(label->text()));
    height = std::max(height, metrics.height());
  }
  widget->setGeometry(c.left, c.top + item.glyph_shift, width, height);
}

void MainWindow::ApplyCursor(Item& item) {
  if (item.control->cursor == 1) {
    const auto& hand = desktop_.HandCursor();
    item.widget->setCursor(hand ? *hand : QCursor(Qt::ArrowCursor));
  } else if (item.layout->kind == ControlKind::kEdit) {
    item.widget->setCursor(Qt::IBeamCursor);
  } else {
    item.widget->unsetCursor();
  }
}

void MainWindow::RefreshCursors() {
  for (Item& item : items_) {
    if (item.widget != nullptr && item.control->cursor == 1) ApplyCursor(item);
  }
}

// A user's click checks the button and unchecks the other of the group; its
// click handler runs only when the check changes.
void MainWindow::ClickRadio(Item& item) {
  Run([&form = form_, &item] {
    if (!item.control->checked) form.CheckMarket(*item.control);
  });
}

// The arrow keys move to the next (or previous) button of the group and
// check it.
bool MainWindow::StepRadio(Item& item, int direction) {
  std::vector<Item*> group;
  for (Item& other : items_) {
    if (other.layout->kind == ControlKind::kRadio &&
        other.widget->parentWidget() == item.widget->parentWidget() &&
        other.control->visible) {
      group.push_back(&other);
    }
  }
  if (group.size() < 2) return false;
  const auto at = std::find(group.begin(), group.end(), &item) - group.begin();
  const auto size = static_cast<std::ptrdiff_t>(group.size());
  Item& next = *group[static_cast<size_t>((at + direction + size) % size)];
  next.widget->setFocus(Qt::TabFocusReason);
  ClickRadio(next);
  return true;
}

void MainWindow::CloseFromHandler() {
  close();
  if (close_error_)
    std::rethrow_exception(std::exchange(close_error_, nullptr));
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  Call(&F::FormShow);
  FocusFirst();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (running_ > 0) {
    // Closed by a handler: an error goes back to it, through
    // CloseFromHandler, and ends that handler.
    try {
      form_.FormClose();
      event->accept();
    } catch (...) {
      close_error_ = std::current_exception();
      event->ignore();
    }
    return;
  }
  bool saved = false;
  Run([&form = form_, &saved] {
    form.FormClose();
    saved = true;
  });
  if (saved) {
    event->accept();
  } else {
    event->ignore();
  }
}

// The drag strip over the title band moves the window: through the window
// manager where there is one that takes the move, else by following the
// mouse while the button is held.
void MainWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->globalPosition().toPoint();
  const QPoint origin = frameGeometry().topLeft();
  if (event->button() == Qt::LeftButton && windowHandle() != nullptr &&
      DragStripHitTest(at.x(), at.y(), origin.x(), origin.y(),
                       HitArea::kClient) == HitArea::kCaption) {
    if (!windowHandle()->startSystemMove()) {
      drag_from_ = at;
      drag_origin_ = pos();
    }
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  if (drag_from_ && (event->buttons() & Qt::LeftButton)) {
    move(drag_origin_ + (event->globalPosition().toPoint() - *drag_from_));
    event->accept();
    return;
  }
  QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (drag_from_ && event->button() == Qt::LeftButton) {
    move(drag_origin_ + (event->globalPosition().toPoint() - *drag_from_));
    drag_from_.reset();
    event->accept();
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LocaleChange) Call(&F::WMSettingChange);
  QWidget::changeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  Item* item = by_widget_.value(watched, nullptr);
  if (item == nullptr) return QWidget::eventFilter(watched, event);
  const Handlers* h = item->handlers;
  switch (event->type()) {
    case QEvent::MouseMove:
      if (h != nullptr && h->mouse_move != nullptr) Call(h->mouse_move);
      break;
    case QEvent::Leave:
      if (h != nullptr && h->mouse_leave != nullptr) Call(h->mouse_leave);
      break;
    case QEvent::MouseButtonPress:
      if (item->layout->kind == ControlKind::kLabel && h != nullptr &&
          h->click != nullptr) {
        item->pressed =
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        return true;
      }
      break;
    case QEvent::MouseButtonDblClick:
      // The second press of a double click is no click of its own.
      if (item->layout->kind == ControlKind::kLabel && h != nullptr &&
          h->click != nullptr) {
        return true;
      }
      break;
    case QEvent::MouseButtonRelease:
      if (item->layout->kind == ControlKind::kLabel && h != nullptr &&
          h->click != nullptr) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click =
            item->pressed && mouse->button() == Qt::LeftButton &&
            item->widget->rect().contains(mouse->position().toPoint());
        item->pressed = false;
        if (click) Call(h->click);
        return true;
      }
      break;
    case QEvent::KeyPress:
      if (item->layout->kind == ControlKind::kRadio) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
          case Qt::Key_Left:
          case Qt::Key_Up:
            return StepRadio(*item, -1);
          case Qt::Key_Right:
          case Qt::Key_Down:
            return StepRadio(*item, 1);
          default:
            break;
        }
      }
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace qilo
