#pragma once

#include <QHash>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>

#include "app/frm_main.h"
#include "app/front_end.h"
#include "app/layout.h"

class QTimer;

namespace qilo {

class QtDesktop;

// The borderless main window on Qt: one widget per control of the layout
// table, events forwarded to the TFrmMain handlers through FrontEnd::Run,
// which shows the changed control state on the widgets after every handler.
class QtMainWindow : public QWidget, public FrontEnd {
 public:
  // Builds every widget from Layout() and attaches itself to `desktop`. Both
  // must outlive the window.
  QtMainWindow(TFrmMain& form, QtDesktop& desktop);
  ~QtMainWindow() override;

  // The widget of a control (nullptr for timers and unknown controls).
  QWidget* WidgetOf(const Control& control) const;
  QWidget* WidgetNamed(const QString& name) const;

  // Shows slot 1 of the cursor table on every widget whose control uses it.
  void RefreshCursors();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ReadEdits() override;
  void Show(const ControlSpec& layout, Control& control,
            const ControlChanges& changes) override;
  void RequestClose() override { close(); }

  struct Item {
    const ControlSpec* layout = nullptr;
    Control* control = nullptr;
    QWidget* widget = nullptr;
    QTimer* timer = nullptr;
    QString shown_text;  // edit fields: the widget's text as last shown
    bool pressed = false;
    int glyph_shift = 0;  // labels: pixels down from the layout's top
    // Labels: measured against their font yet. Labels are measured when the
    // window shows, a hidden one when it shows: the fonts of the labels the
    // show sequence hides are not loaded before they are wanted.
    bool measured = false;
  };

  Item& ItemNamed(const char* name) const;
  void Build(Item& item);
  void Wire(Item& item);
  void Stack();
  void ChainTabOrder();
  void FocusFirst();
  void ShowText(Item& item);
  void Place(Item& item);
  void Measure(Item& item);
  void ApplyCursor(Item& item);
  void ClickRadio(Item& item);
  bool StepRadio(Item& item, int direction);
  void LabelClick(Item& item, QMouseEvent* mouse);
  bool RadioKey(Item& item, int key);

  QtDesktop& desktop_;
  std::deque<Item> items_;  // table order; a deque keeps Item addresses
  std::unordered_map<const Control*, Item*> by_control_;
  QHash<const QObject*, Item*> by_widget_;
  QHash<QString, Item*> by_name_;
  std::vector<QWidget*> tab_chain_;
  bool shown_once_ = false;
  // A drag of the strip that the window manager did not take: where the
  // press was on the screen and where the window stood then.
  std::optional<QPoint> drag_from_;
  QPoint drag_origin_;
};

}  // namespace qilo
