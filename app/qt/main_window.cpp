#include "app/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "app/hit_test.h"
#include "app/qt/gbk_qt.h"
#include "app/qt/look.h"
#include "app/qt/qt_desktop.h"
#include "app/qt/widget_factory.h"
#include "app/qt/widgets.h"
#include "app/window_order.h"
#include "text/exception.h"

namespace qilo {

namespace {

using F = TFrmMain;

bool HasAny(const Handlers& on) {
  return on.click || on.mouse_move || on.mouse_leave || on.mouse_down ||
         on.mouse_up || on.key_down || on.key_up || on.key_press || on.tick;
}

}  // namespace

QtMainWindow::QtMainWindow(TFrmMain& form, QtDesktop& desktop)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      FrontEnd(form, desktop),
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

  // A line edit lays out its empty text in the application's font while it
  // is made, before it takes its own: with the window's font standing in,
  // no font is loaded for that alone (an engine and a fontconfig sort, 4% of
  // the start-up).
  const QFont application_font = QApplication::font();
  QApplication::setFont(font());
  for (const ControlSpec& layout : Layout()) {
    Item& item = items_.emplace_back();
    item.layout = &layout;
    item.control = &(form_.*layout.member);
    by_control_[item.control] = &item;
    by_name_.insert(QString::fromUtf8(layout.name), &item);
    Build(item);
    if (item.widget != nullptr) by_widget_.insert(item.widget, &item);
  }
  QApplication::setFont(application_font);
  Stack();
  ChainTabOrder();
  desktop_.Attach(this);
  ShowAll(true);

  connect(qApp, &QGuiApplication::commitDataRequest, this,
          [this](QSessionManager&) { Call(&F::QueryEndSession); });

  if (const QScreen* screen = this->screen()) {
    move(screen->geometry().center() - rect().center());
  }
}

// The children outlive this body: none of their events may reach the
// handlers (or the tables here) any more. Every signal and filter is cut at
// once, whatever it is: none can be missed.
QtMainWindow::~QtMainWindow() {
  desktop_.Attach(nullptr);
  for (Item& item : items_) {
    if (item.timer != nullptr) item.timer->disconnect(this);
    if (item.widget == nullptr) continue;
    item.widget->removeEventFilter(this);
    item.widget->disconnect(this);
  }
}

QWidget* QtMainWindow::WidgetOf(const Control& control) const {
  const auto it = by_control_.find(&control);
  return it == by_control_.end() ? nullptr : it->second->widget;
}

QWidget* QtMainWindow::WidgetNamed(const QString& name) const {
  const Item* item = by_name_.value(name, nullptr);
  return item == nullptr ? nullptr : item->widget;
}

// The layout names a control that an earlier entry made; a name that none
// made is a fault of the table, stopped here rather than at a null pointer.
QtMainWindow::Item& QtMainWindow::ItemNamed(const char* name) const {
  Item* item = by_name_.value(QString::fromUtf8(name), nullptr);
  if (item == nullptr || item->widget == nullptr) {
    qFatal("qilo: the layout names %s, which has no widget above it", name);
  }
  return *item;
}

void QtMainWindow::Build(Item& item) {
  const ControlSpec& layout = *item.layout;
  QWidget* parent = this;
  if (layout.parent != nullptr) parent = ItemNamed(layout.parent).widget;
  item.widget = MakeWidget(layout, parent);
  // The label it is centred on comes before it (measured when both show).
  if (const char* name = GlyphCentredOn(layout)) ItemNamed(name);
  Wire(item);
}

// Sends the widget's events to the handlers its layout entry names.
void QtMainWindow::Wire(Item& item) {
  const Handlers& on = item.layout->on;
  switch (item.layout->kind) {
    case ControlKind::kLabel:
      if (HasAny(on)) {
        item.widget->setMouseTracking(true);
        item.widget->installEventFilter(this);
      } else if (!item.layout->show_hint) {
        // A press on a plain label belongs to what lies beneath.
        item.widget->setAttribute(Qt::WA_TransparentForMouseEvents);
      }
      break;
    case ControlKind::kEdit: {
      auto* edit = static_cast<EditField*>(item.widget);
      connect(edit, &EditField::UncodedInput, this,
              [this] { Call(&F::RefuseUncodedInput); });
      if (on.key_down != nullptr) {
        connect(edit, &EditField::KeyDown, this,
                [this, f = on.key_down](int key) {
                  Run([&form = form_, f, key] { (form.*f)(key); });
                });
      }
      if (on.key_up != nullptr) {
        connect(edit, &EditField::KeyUp, this,
                [this, f = on.key_up] { Call(f); });
      }
      if (on.key_press != nullptr) {
        // Direct: the filter changes the key the field goes on with.
        connect(
            edit, &EditField::KeyPress, this,
            [this, f = on.key_press](char& key) {
              Run([&form = form_, f, &key] { (form.*f)(key); });
            },
            Qt::DirectConnection);
        // Numbers only: every typed character goes through the key filter.
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
      }
      break;
    }
    case ControlKind::kRadio:
      item.widget->installEventFilter(this);
      connect(static_cast<QRadioButton*>(item.widget), &QRadioButton::clicked,
              this, [this, &item] { ClickRadio(item); });
      break;
    case ControlKind::kFlatButton: {
      auto* button = static_cast<FlatButton*>(item.widget);
      const std::pair<void (FlatButton::*)(), void (F::*)()> events[] = {
          {&FlatButton::Clicked, on.click},
          {&FlatButton::MouseDown, on.mouse_down},
          {&FlatButton::MouseUp, on.mouse_up}};
      for (const auto& [signal, handler] : events) {
        if (handler == nullptr) continue;
        connect(button, signal, this, [this, f = handler] { Call(f); });
      }
      break;
    }
    case ControlKind::kTimer:
      item.timer = new QTimer(this);
      if (on.tick != nullptr) {
        connect(item.timer, &QTimer::timeout, this,
                [this, f = on.tick] { Call(f); });
      }
      break;
    case ControlKind::kPicture:
    case ControlKind::kPanel:
    case ControlKind::kGroupBox:
      break;
  }
}

// Each parent's widgets raised bottom first, as the headless stacking order
// gives them.
void QtMainWindow::Stack() {
  std::vector<const char*> parents = {nullptr};
  for (const ControlSpec& layout : Layout()) {
    if (layout.kind == ControlKind::kPanel ||
        layout.kind == ControlKind::kGroupBox) {
      parents.push_back(layout.name);
    }
  }
  for (const char* parent : parents) {
    for (const ControlSpec* entry : StackingOrder(Layout(), parent)) {
      ItemNamed(entry->name).widget->raise();
    }
  }
}

void QtMainWindow::ChainTabOrder() {
  for (const ControlSpec* entry : TabChain(Layout())) {
    tab_chain_.push_back(ItemNamed(entry->name).widget);
  }
  for (size_t i = 1; i < tab_chain_.size(); ++i) {
    setTabOrder(tab_chain_[i - 1], tab_chain_[i]);
  }
}

// The first control in tab order that can take the focus gets it.
void QtMainWindow::FocusFirst() {
  for (QWidget* widget : tab_chain_) {
    if (widget->isVisibleTo(this) && (widget->focusPolicy() & Qt::TabFocus)) {
      widget->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

// A user's click checks the button and unchecks the other of the group; its
// click handler runs only when the check changes.
void QtMainWindow::ClickRadio(Item& item) {
  Run([&form = form_, &item] {
    if (!item.control->checked) form.CheckMarket(*item.control);
  });
}

// The arrow keys move to the next (or previous) button of the group and
// check it.
bool QtMainWindow::StepRadio(Item& item, int direction) {
  Control* next = NextRadio(form_, *item.control, direction);
  if (next == nullptr) return false;
  Item& target = *by_control_.at(next);
  target.widget->setFocus(Qt::TabFocusReason);
  ClickRadio(target);
  return true;
}

void QtMainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  Call(&F::FormShow);
  for (Item& item : items_) {
    if (item.layout->kind == ControlKind::kLabel && !item.measured &&
        item.control->visible) {
      Place(item);
    }
  }
  FocusFirst();
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  if (CloseRequested()) {
    event->accept();
  } else {
    event->ignore();
  }
}

// The drag strip over the title band moves the window: through the window
// manager where there is one that takes the move, else by following the
// mouse while the button is held. The strip is tested in window coordinates:
// a Wayland compositor never tells a window where it stands on the screen.
void QtMainWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton && windowHandle() != nullptr &&
      DragStripHitTest(at.x(), at.y(), 0, 0, HitArea::kClient) ==
          HitArea::kCaption) {
    if (!windowHandle()->startSystemMove()) {
      drag_from_ = event->globalPosition().toPoint();
      drag_origin_ = pos();
    }
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

void QtMainWindow::mouseMoveEvent(QMouseEvent* event) {
  if (drag_from_ && (event->buttons() & Qt::LeftButton)) {
    move(drag_origin_ + (event->globalPosition().toPoint() - *drag_from_));
    event->accept();
    return;
  }
  QWidget::mouseMoveEvent(event);
}

void QtMainWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (drag_from_ && event->button() == Qt::LeftButton) {
    move(drag_origin_ + (event->globalPosition().toPoint() - *drag_from_));
    drag_from_.reset();
    event->accept();
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

void QtMainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LocaleChange) Call(&F::WMSettingChange);
  QWidget::changeEvent(event);
}

// On a screen of another scale a hand in the cursor table is drawn anew for
// it.
bool QtMainWindow::event(QEvent* event) {
  if (event->type() == QEvent::ScreenChangeInternal && desktop_.HandCursor()) {
    desktop_.LoadHandCursor();
  }
  return QWidget::event(event);
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  Item* item = by_widget_.value(watched, nullptr);
  if (item == nullptr) return QWidget::eventFilter(watched, event);
  const Handlers& on = item->layout->on;
  switch (event->type()) {
    case QEvent::MouseMove:
      if (on.mouse_move != nullptr) Call(on.mouse_move);
      break;
    case QEvent::Leave:
      if (on.mouse_leave != nullptr) Call(on.mouse_leave);
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
      if (item->layout->kind == ControlKind::kLabel && on.click != nullptr) {
        LabelClick(*item, static_cast<QMouseEvent*>(event));
        return true;
      }
      break;
    case QEvent::KeyPress:
      if (item->layout->kind == ControlKind::kRadio &&
          RadioKey(*item, static_cast<QKeyEvent*>(event)->key())) {
        return true;
      }
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

// A label is clicked by a left press and a release over it; the second press
// of a double click is no click of its own.
void QtMainWindow::LabelClick(Item& item, QMouseEvent* mouse) {
  switch (mouse->type()) {
    case QEvent::MouseButtonPress:
      item.pressed = mouse->button() == Qt::LeftButton;
      break;
    case QEvent::MouseButtonRelease: {
      const bool click =
          item.pressed && mouse->button() == Qt::LeftButton &&
          item.widget->rect().contains(mouse->position().toPoint());
      item.pressed = false;
      if (click) Call(item.layout->on.click);
      break;
    }
    default:
      break;
  }
}

// The arrow keys move to the next (or previous) market button and check it.
bool QtMainWindow::RadioKey(Item& item, int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      return StepRadio(item, -1);
    case Qt::Key_Right:
    case Qt::Key_Down:
      return StepRadio(item, 1);
    default:
      return false;
  }
}

}  // namespace qilo
