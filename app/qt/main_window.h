#pragma once

#include <QHash>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <deque>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

#include "app/frm_main.h"
#include "app/layout.h"

class QTimer;

namespace qilo {

class QtDesktop;

// The borderless main window on Qt: one widget per control of the layout
// table, events forwarded to the TFrmMain handlers, control state mirrored
// back to the widgets after every handler.
class MainWindow : public QWidget {
 public:
  // Builds every widget from Layout() and attaches itself to `desktop`. Both
  // must outlive the window.
  MainWindow(TFrmMain& form, QtDesktop& desktop);
  ~MainWindow() override;

  // The widget of a control (nullptr for timers and unknown controls).
  QWidget* WidgetOf(const Control& control) const;
  QWidget* WidgetNamed(const QString& name) const;

  // Runs one handler as an event delivers it: the texts the user changed are
  // copied into the controls first, every control is mirrored to its widget
  // afterwards. An error escaping the handler is shown in the error box and
  // the program goes on with what the handler wrote before it.
  void Run(const std::function<void()>& handler);

  // Shows slot 1 of the cursor table on every widget whose control uses it.
  void RefreshCursors();

  // Closes the window for a handler (the close label). An error that stops
  // the close (the settings could not be saved) is thrown again from here.
  void CloseFromHandler();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Item {
    const ControlSpec* layout = nullptr;
    Control* control = nullptr;
    QWidget* widget = nullptr;
    QTimer* timer = nullptr;
    Control shown;       // the state last mirrored to the widget
    QString shown_text;  // edit fields: the widget's text as last mirrored
    bool pressed = false;
    int glyph_shift = 0;  // labels: pixels down from the layout's top
  };

  void Build(Item& item);
  void Wire(Item& item);
  void Call(void (TFrmMain::*handler)());
  void Stack();
  void ChainTabOrder();
  void FocusFirst();
  void SyncFromWidgets();
  void MirrorAll(bool force);
  void Mirror(Item& item, bool force);
  void MirrorTimer(Item& item, bool force);
  void MirrorText(Item& item);
  void Place(Item& item);
  void ApplyCursor(Item& item);
  void ClickRadio(Item& item);
  bool StepRadio(Item& item, int direction);
  void LabelClick(Item& item, QMouseEvent* mouse);
  bool RadioKey(Item& item, int key);

  TFrmMain& form_;
  QtDesktop& desktop_;
  std::deque<Item> items_;  // table order; a deque keeps Item addresses
  std::unordered_map<const Control*, Item*> by_control_;
  QHash<const QObject*, Item*> by_widget_;
  QHash<QString, Item*> by_name_;
  std::vector<QWidget*> tab_chain_;
  int running_ = 0;  // handlers in progress
  bool shown_once_ = false;
  std::exception_ptr close_error_;
  // A drag of the strip that the window manager did not take: where the
  // press was on the screen and where the window stood then.
  std::optional<QPoint> drag_from_;
  QPoint drag_origin_;
};

}  // namespace qilo
