#include "app/qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

#include "app/fit_font.h"
#include "app/picture_form.h"
#include "app/qt/gbk_qt.h"
#include "app/qt/look.h"
#include "app/qt/pictures.h"
#include "app/qt/qt_desktop.h"
#include "app/qt/translations.h"
#include "app/qt/widgets.h"
#include "store/profile_store.h"

// Failures show texts as texts and colours as their values.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QColor& colour, std::ostream* os) {
  *os << colour.name(QColor::HexArgb).toStdString();
}

namespace qilo {
namespace {

// The Qt desktop with its beeps counted instead of sounded, and the texts of
// its error boxes kept; with `real_boxes` false no box opens at all.
class CountingDesktop : public QtDesktop {
 public:
  void Beep() override { ++beeps; }
  void ShowError(const std::string& text) override {
    errors << FromGbk(text);
    if (real_boxes) QtDesktop::ShowError(text);
  }
  int beeps = 0;
  bool real_boxes = true;
  QStringList errors;
};

// Runs `act` on the error box as soon as it is open. It looks every 10 ms, so
// a box that opens late is still closed; after 5 s without one the test
// fails rather than waiting for CTest's timeout.
void WhenBoxOpens(std::function<void(QMessageBox*)> act) {
  auto* poll = new QTimer;
  auto waited = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, waited, act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr && ++*waited < 500) return;
    poll->stop();
    poll->deleteLater();
    if (box == nullptr) {
      ADD_FAILURE() << "no error box opened";
      return;
    }
    act(box);
    box->accept();
  });
  poll->start(10);
}

// One application for the test binary; each test gets a fresh window whose
// home folder is a temporary one.
class QtWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qt_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    InstallFontSubstitutes();
  }

  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    qputenv("HOME", home_.path().toLocal8Bit());
    qunsetenv("HOMEDRIVE");
    qunsetenv("HOMEPATH");
    form_ = std::make_unique<TFrmMain>(desktop_);
    window_ = std::make_unique<QtMainWindow>(*form_, desktop_);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }

  EditField* Edit(const char* name) const {
    return static_cast<EditField*>(window_->WidgetNamed(name));
  }
  QString LabelText(const char* name) const {
    return static_cast<QLabel*>(window_->WidgetNamed(name))->text();
  }
  // Replaces a field's text by typing, as a user would after selecting it.
  void Type(const char* name, const QString& text) {
    EditField* edit = Edit(name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  // Saves a picture of the window beside the one the render test writes.
  void SaveShot(const char* file_name) const {
    const QByteArray path = qgetenv("QILO_WINDOW_PNG");
    if (path.isEmpty()) return;
    const QString dir = QFileInfo(QString::fromLocal8Bit(path)).absolutePath();
    EXPECT_TRUE(window_->grab().save(dir + "/" + file_name));
  }

  // Accepts the error box once it is open; its text lands in `text`.
  static void AcceptErrorBox(QString* text) {
    WhenBoxOpens([text](QMessageBox* box) { *text = box->text(); });
  }

  QTemporaryDir home_;
  CountingDesktop desktop_;
  std::unique_ptr<TFrmMain> form_;
  std::unique_ptr<QtMainWindow> window_;
};

TEST_F(QtWindowTest, TypedTradeIsCalculatedByTheButton) {
  Type("EdPriceBuy", "10");
  QTest::keyClick(Edit("EdPriceBuy"), Qt::Key_A);
  EXPECT_EQ(Edit("EdPriceBuy")->text(), "10");
  EXPECT_EQ(LabelText("LabInfo"), QString::fromUtf8("请输入数字！"));
  Type("EdPriceSell", "11");
  Type("EdCnt", "1000");

  QTest::mouseClick(window_->WidgetNamed("BtnCal"), Qt::LeftButton);
  EXPECT_EQ(Edit("EdCostBuy")->text(), "10022.00");
  EXPECT_EQ(Edit("EdCostSell")->text(), "10965.30");
  EXPECT_EQ(Edit("EdProfit")->text(), "943.30");
  EXPECT_EQ(Edit("EdProfit")->palette().color(QPalette::Text),
            QColor(255, 0, 0));
  EXPECT_EQ(Edit("EdProfit")->toolTip(),
            QString::fromUtf8("费用合计： 56.70\n利润率：9.41%"));
  EXPECT_EQ(LabelText("LabCostPrice"), "10.05");

  // Enter in the share count calculates too and goes back to the buy price.
  Type("EdPriceSell", "12");
  Edit("EdCnt")->setFocus();
  QTest::keyClick(Edit("EdCnt"), Qt::Key_Return);
  EXPECT_EQ(Edit("EdProfit")->text(), "1940.60");
  EXPECT_EQ(QApplication::focusWidget(), Edit("EdPriceBuy"));

  // The other market button takes the check and zeroes the transfer rate.
  auto* sz = static_cast<QRadioButton*>(window_->WidgetNamed("RadBtSZ"));
  QTest::mouseClick(sz, Qt::LeftButton);
  EXPECT_TRUE(sz->isChecked());
  EXPECT_FALSE(
      static_cast<QRadioButton*>(window_->WidgetNamed("RadBtSH"))->isChecked());
  EXPECT_EQ(Edit("EdTransfer")->text(), "0");
}

// The first and last columns of `image` inside a one-pixel border that hold
// ink, a colour well away from `background`; {-1, -1} when none does.
std::pair<int, int> InkColumns(const QImage& image, const QColor& background) {
  int first = -1;
  int last = -1;
  for (int x = 1; x < image.width() - 1; ++x) {
    for (int y = 1; y < image.height() - 1; ++y) {
      const QColor c(image.pixel(x, y));
      if (std::abs(c.red() - background.red()) +
              std::abs(c.green() - background.green()) +
              std::abs(c.blue() - background.blue()) >
          60) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  }
  return {first, last};
}

// The ink width of a field's text drawn unclipped in the field's font.
int WholeInkWidth(const QLineEdit* edit) {
  QImage image(400, edit->height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(edit->font());
  painter.setPen(Qt::black);
  painter.drawText(QRect(10, 0, 380, edit->height()), Qt::AlignVCenter,
                   edit->text());
  painter.end();
  const auto [first, last] = InkColumns(image, Qt::white);
  return last - first + 1;
}

TEST_F(QtWindowTest, LargeAmountsShowEveryDigitInTheResultFields) {
  const char* const kResults[] = {"EdCostBuy", "EdCostSell", "EdProfit"};
  Type("EdPriceBuy", "10");
  Type("EdPriceSell", "11");
  for (const bool three_decimals : {false, true}) {
    if (three_decimals) {
      QTest::mouseClick(window_->WidgetNamed("LabCostPrice"), Qt::LeftButton);
      Type("EdPriceBuy", "10");
      Type("EdPriceSell", "11");
    }
    for (const char* count : {"100000", "1000000", "99999999"}) {
      Type("EdCnt", count);
      QTest::mouseClick(window_->WidgetNamed("BtnCal"), Qt::LeftButton);
      if (std::string(count) == "100000" && !three_decimals) {
        EXPECT_EQ(Edit("EdCostBuy")->text(), "1001804.00");
        EXPECT_EQ(Edit("EdCostSell")->text(), "1096926.00");
        SaveShot("large_amounts.png");
      }
      for (const char* name : kResults) {
        SCOPED_TRACE(testing::Message() << name << " at " << count
                                        << (three_decimals ? ", 3" : ", 2"));
        EditField* edit = Edit(name);
        // The field shows as much ink as the whole text drawn unclipped.
        const auto [first, last] = InkColumns(
            edit->grab().toImage(), edit->palette().color(QPalette::Base));
        EXPECT_EQ(edit->cursorPosition(), 0);
        EXPECT_FALSE(edit->Overflows());
        EXPECT_LE(edit->font().pixelSize(), 13);
        EXPECT_GE(edit->font().pixelSize(), kFitFontFloorPx);
        EXPECT_LE(first, 6);  // begins at the left margin, not scrolled
        EXPECT_GE(last - first + 1, WholeInkWidth(edit) - 1)
            << edit->text().toStdString() << " " << edit->font().pixelSize();
        EXPECT_LT(last, edit->width() - 1);
      }
    }
  }
  // The longest of them needed a smaller font; a short result brings back the
  // layout's.
  EXPECT_LT(Edit("EdCostSell")->font().pixelSize(), 13);
  Type("EdCnt", "1000");
  QTest::mouseClick(window_->WidgetNamed("BtnCal"), Qt::LeftButton);
  for (const char* name : kResults) {
    EXPECT_EQ(Edit(name)->font().pixelSize(), 13) << name;
    EXPECT_EQ(Edit(name)->font().family(), Edit("EdPriceBuy")->font().family());
  }
  EXPECT_EQ(Edit("EdCostBuy")->text(), "10022.00");

  // An amount too long for any font shows its leading digits and marks the
  // cut with an ellipsis.
  Type("EdPriceBuy", "999999");
  Type("EdPriceSell", "999999");
  Type("EdCnt", "99999999999");
  QTest::mouseClick(window_->WidgetNamed("BtnCal"), Qt::LeftButton);
  EXPECT_EQ(Edit("EdCostBuy")->text(), "100169899928998305.00");
  EXPECT_TRUE(Edit("EdCostBuy")->Overflows());
  EXPECT_EQ(Edit("EdCostBuy")->font().pixelSize(), kFitFontFloorPx);
  EXPECT_EQ(Edit("EdCostBuy")->cursorPosition(), 0);
}

TEST_F(QtWindowTest, FocusStartsInTheBuyPriceAndTabsInLayoutOrder) {
  EXPECT_EQ(QApplication::focusWidget(), Edit("EdPriceBuy"));
  const char* const kOrder[] = {"EdPriceSell", "EdCnt",      "EdCostBuy",
                                "EdCostSell",  "EdProfit",   "EdCommision",
                                "EdStamptax",  "EdTransfer", "EdOther",
                                "RadBtSH",     "EdPriceBuy"};
  for (const char* name : kOrder) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window_->WidgetNamed(name)) << name;
  }
  // Only the checked market button is a tab stop.
  QTest::mouseClick(window_->WidgetNamed("RadBtSZ"), Qt::LeftButton);
  Edit("EdOther")->setFocus();
  QTest::keyClick(Edit("EdOther"), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window_->WidgetNamed("RadBtSZ"));
}

TEST_F(QtWindowTest, ArrowKeysStepAndEnterMovesOnToTypeOverTheNextValue) {
  Type("EdPriceBuy", "10");
  QTest::keyClick(Edit("EdPriceBuy"), Qt::Key_Up);
  EXPECT_EQ(Edit("EdPriceBuy")->text(), "10.50");
  QTest::keyClick(Edit("EdPriceBuy"), Qt::Key_Down);
  EXPECT_EQ(Edit("EdPriceBuy")->text(), "10.49");
  // Enter goes on to the next field with its text selected: typing replaces.
  QTest::keyClick(Edit("EdPriceBuy"), Qt::Key_Return);
  ASSERT_EQ(QApplication::focusWidget(), Edit("EdPriceSell"));
  QTest::keyClicks(Edit("EdPriceSell"), "11");
  EXPECT_EQ(Edit("EdPriceSell")->text(), "11");
  QTest::keyClick(Edit("EdPriceSell"), Qt::Key_Enter);
  ASSERT_EQ(QApplication::focusWidget(), Edit("EdCnt"));
  QTest::keyClick(Edit("EdCnt"), Qt::Key_Down);
  EXPECT_EQ(Edit("EdCnt")->text(), "900");
  QTest::keyClick(Edit("EdCnt"), Qt::Key_Return);
  EXPECT_EQ(Edit("EdCostBuy")->text(), "9462.05");
  EXPECT_EQ(QApplication::focusWidget(), Edit("EdPriceBuy"));
  EXPECT_EQ(Edit("EdPriceBuy")->selectedText(), "10.49");
}

TEST_F(QtWindowTest, InputIsCutToTheFieldsByteLimit) {
  Type("EdPriceBuy", "1234567");
  EXPECT_EQ(Edit("EdPriceBuy")->text(), "123456");

  // Select all, copy, cut and paste reach the key filter as the characters 1,
  // 3, 24 and 22 and are refused like letters.
  QGuiApplication::clipboard()->setText("9");
  Type("EdOther", "12");
  for (const Qt::Key key : {Qt::Key_A, Qt::Key_C, Qt::Key_X, Qt::Key_V}) {
    SCOPED_TRACE(key);
    const int beeps = desktop_.beeps;
    Edit("EdOther")->setSelection(0, 1);
    QTest::keyClick(Edit("EdOther"), key, Qt::ControlModifier);
    EXPECT_EQ(Edit("EdOther")->text(), "12");
    EXPECT_EQ(Edit("EdOther")->selectedText(), "1");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "9");
    EXPECT_EQ(desktop_.beeps, beeps + 1);
    EXPECT_EQ(LabelText("LabInfo"), QString::fromUtf8("请输入数字！"));
  }

  // The context menu's paste passes by the filter but not the byte limit.
  QGuiApplication::clipboard()->setText("1a2b");
  Type("EdOther", "");
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
      if (action->text().startsWith("&Paste")) action->trigger();
    }
    menu->close();
  });
  QContextMenuEvent menu_event(QContextMenuEvent::Mouse, QPoint(5, 5),
                               Edit("EdOther")->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(Edit("EdOther"), &menu_event);
  EXPECT_EQ(Edit("EdOther")->text(), "1a2");

  const struct {
    const char* field;
    const char* pasted;
    const char* kept;
  } kCases[] = {
      {"EdOther", "12345", "123"},
      // 31 bytes into 30: the last double-byte character does not fit.
      {"EdSiteName", "a股票股票股票股票股票股票股票股",
       "a股票股票股票股票股票股票股票"},
      {"EdSiteName", "name\r\nsecond line", "name"},
      {"EdCnt", "123456789012", "123456789012"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.field);
    EditField* edit = Edit(c.field);
    edit->clear();
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
    edit->PasteLimited();
    EXPECT_EQ(edit->text(), QString::fromUtf8(c.kept));
  }
}

// A character GBK has no code for would be stored as "?": it is refused where
// it is typed or pasted, with the beep and a message, and the rest goes in.
TEST_F(QtWindowTest, CharactersGbkCannotHoldAreRefusedWhereTyped) {
  QTest::mouseClick(window_->WidgetNamed("LabFav"), Qt::LeftButton);
  const QString kept = QString::fromUtf8("股票€");
  for (const bool pasted : {false, true}) {
    SCOPED_TRACE(pasted);
    Type("EdSiteName", "");
    Type("EdSiteAdd", "a.cn");
    const int beeps = desktop_.beeps;
    const QString offered = QString::fromUtf8("股票\U0001F600€\uD55C");
    if (pasted) {
      QGuiApplication::clipboard()->setText(offered);
      Edit("EdSiteName")->PasteLimited();
    } else {
      // One key event a character, as a keyboard or input method sends them.
      for (const char32_t cp : offered.toUcs4()) {
        QTest::sendKeyEvent(QTest::Click, Edit("EdSiteName"), Qt::Key_unknown,
                            QString::fromUcs4(&cp, 1), Qt::NoModifier);
      }
    }
    EXPECT_EQ(Edit("EdSiteName")->text(), kept);
    EXPECT_EQ(desktop_.beeps, beeps + (pasted ? 1 : 2));
    EXPECT_EQ(LabelText("LabInfo"), QString::fromUtf8("不支持该字符！"));
  }
  QTest::mouseClick(window_->WidgetNamed("LabAdd"), Qt::LeftButton);
  EXPECT_EQ(LabelText("LabInfo"), kept + QString::fromUtf8("已添加！"));
}

TEST_F(QtWindowTest, AnErrorIsShownInTheMessageBoxAndTheProgramGoesOn) {
  Edit("EdPriceBuy")->setText("1.2.3");  // as a context-menu paste leaves it
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool ticked = false;
  WhenBoxOpens([&](QMessageBox* box) {
    caption = box->windowTitle();
    text = box->text();
    icon = box->icon();
    // Every tick of the info ticker moves the line or counts its rest.
    const auto ticker = [&] {
      return std::make_pair(form_->LabInfo.top, form_->ticker.rest);
    };
    const auto before = ticker();
    QTest::qWait(100);
    ticked = ticker() != before;
  });
  QTest::mouseClick(window_->WidgetNamed("BtnCal"), Qt::LeftButton);
  EXPECT_EQ(caption, QString::fromUtf8("Qilo股票计算器"));
  EXPECT_EQ(text, "'1.2.3' is not a valid floating point value.");
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_TRUE(ticked);
  EXPECT_EQ(Edit("EdCostBuy")->text(), "00.00");

  Type("EdPriceBuy", "10");
  QTest::mouseClick(window_->WidgetNamed("BtnCal"), Qt::LeftButton);
  EXPECT_EQ(Edit("EdCostBuy")->text(), "10022.00");
}

TEST_F(QtWindowTest, CloseIsRefusedWhileTheSettingsCannotBeSaved) {
  // A folder in the settings file's place makes every save fail.
  const QString settings = home_.filePath("qilo.ini");
  ASSERT_TRUE(QFile::remove(settings));
  ASSERT_TRUE(QDir(home_.path()).mkdir("qilo.ini"));
  // The errors go to the desktop; no box needs closing here.
  desktop_.real_boxes = false;
  // Closed by the user: the close is ignored and the error shown.
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());
  const QStringList texts = desktop_.errors;
  ASSERT_EQ(texts.size(), 1);
  for (const QString& text : texts) {
    EXPECT_TRUE(text.startsWith("Unable to write to ")) << text.toStdString();
  }

  ASSERT_TRUE(QDir(home_.path()).rmdir("qilo.ini"));
  EXPECT_TRUE(window_->close());
  EXPECT_TRUE(QFile::exists(settings));
}

// A folder that stays unwritable never traps the user: the first close is
// refused (a handler that closes, as the close label does, is ended by the
// error); the next one shows the error again and closes.
TEST_F(QtWindowTest, ASecondCloseClosesAfterShowingTheErrorAgain) {
  desktop_.real_boxes = false;
  for (const bool handler_first : {false, true}) {
    SCOPED_TRACE(handler_first);
    window_.reset();
    form_.reset();
    form_ = std::make_unique<TFrmMain>(desktop_);
    window_ = std::make_unique<QtMainWindow>(*form_, desktop_);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    ASSERT_TRUE(QFile::remove(home_.filePath("qilo.ini")));
    ASSERT_TRUE(QDir(home_.path()).mkdir("qilo.ini"));
    desktop_.errors.clear();
    // True when the close went through without ending a handler.
    const auto attempt = [&](bool by_handler) {
      if (!by_handler) return window_->close();
      bool went_on = false;
      window_->Run([&] {
        desktop_.Close();
        went_on = true;
      });
      return went_on;
    };
    EXPECT_FALSE(attempt(handler_first));
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(attempt(!handler_first));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(desktop_.errors.size(), 2);
    ASSERT_TRUE(QDir(home_.path()).rmdir("qilo.ini"));
  }
}

TEST_F(QtWindowTest, HoverColoursAndTheCursorSlot) {
  const QColor kGradientCaption(185, 209, 234);
  const QColor highlight = QApplication::palette().color(QPalette::Highlight);
  const struct {
    const char* label;
    QColor hover, leave;
  } kCases[] = {
      {"LabClose", QColor(255, 0, 0), kGradientCaption},
      {"LabMin", QColor(255, 0, 0), kGradientCaption},
      {"LabFav", highlight, QColor(166, 202, 240)},
      {"LabCostPrice", QColor(255, 0, 0), QColor(0, 0, 0)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.label);
    QWidget* label = window_->WidgetNamed(c.label);
    QTest::mouseMove(label, QPoint(3, 5));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), c.hover);
    QTest::mouseMove(window_.get(), QPoint(145, 100));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), c.leave);
  }

  // Slot 1: the contact label fills it, the info line without an address
  // empties it for both, the contact label's next move fills it again.
  QWidget* conn_me = window_->WidgetNamed("LabConnMe");
  QWidget* info = window_->WidgetNamed("LabInfo");
  QTest::mouseMove(conn_me, QPoint(3, 5));
  EXPECT_EQ(conn_me->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(conn_me->cursor().hotSpot(), QPoint(0, 10));
  QTest::mouseMove(info, QPoint(3, 5));
  EXPECT_EQ(info->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(conn_me->cursor().shape(), Qt::ArrowCursor);
  QTest::mouseMove(conn_me, QPoint(4, 5));
  EXPECT_EQ(conn_me->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(Edit("EdCostBuy")->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(QtWindowTest, StepButtonsFrameTheirPressAndRepeatAfterAPause) {
  // The frame's top-left pixel: light while raised, dark while sunken.
  QWidget* up = window_->WidgetNamed("BtnCntUp");
  const auto corner = [up] { return up->grab().toImage().pixel(0, 0); };
  const QRgb cream = qRgb(255, 251, 240);
  const QRgb light = up->palette().color(QPalette::Light).rgb();
  const QRgb dark = up->palette().color(QPalette::Dark).rgb();
  EXPECT_EQ(corner(), cream);
  QTest::mouseMove(up, QPoint(5, 5));
  EXPECT_EQ(corner(), light);

  // One step at once, then a 200 ms pause, then a step every 100 ms.
  QElapsedTimer clock;
  clock.start();
  QTest::mousePress(up, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_GE(clock.elapsed(), 200);
  EXPECT_EQ(Edit("EdCnt")->text(), "1100");
  EXPECT_EQ(corner(), dark);
  QTest::qWait(250);
  const QString held = Edit("EdCnt")->text();
  EXPECT_GE(held.toInt(), 1200);
  QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(corner(), light);
  QTest::qWait(150);
  EXPECT_EQ(Edit("EdCnt")->text(), held);

  // A press whose error box takes the release leaves no sunken frame.
  Type("EdPriceBuy", "");
  QWidget* buy_up = window_->WidgetNamed("BtnBuyUp");
  QString text;
  AcceptErrorBox(&text);
  QTest::mousePress(buy_up, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(text.isEmpty());
  EXPECT_EQ(buy_up->grab().toImage().pixel(0, 0), cream);
  EXPECT_FALSE(form_->TimerStepVal.enabled);
}

TEST_F(QtWindowTest, LabelClicksTogglePrecisionAndMinimize) {
  for (const char* placeholder : {"00.000", "00.00"}) {
    QTest::mouseClick(window_->WidgetNamed("LabCostPrice"), Qt::LeftButton);
    EXPECT_EQ(LabelText("LabCostPrice"), placeholder);
    EXPECT_EQ(Edit("EdPriceBuy")->text(), placeholder);
    EXPECT_EQ(Edit("EdPriceSell")->text(), placeholder);
  }
  // The task bar shows the application title; the caption is the window's.
  EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("Qilo股票计算器 v1.0"));
  EXPECT_EQ(window_->windowHandle()->title(),
            QString::fromUtf8("Qilo股票计算器"));
  QTest::mouseClick(window_->WidgetNamed("LabMin"), Qt::LeftButton);
  EXPECT_TRUE(window_->isMinimized());
}

// A widget taken out of the window lives on after it; what it is still asked
// to do must reach no handler of the window that is gone.
TEST_F(QtWindowTest, WidgetsThatOutliveTheWindowReachNoHandler) {
  std::vector<std::unique_ptr<QWidget>> kept;
  for (const char* name :
       {"EdCnt", "EdPriceBuy", "BtnCntUp", "BtnCntDwn", "BtnCal", "RadBtSZ"}) {
    QWidget* widget = window_->WidgetNamed(name);
    widget->setParent(nullptr);
    kept.emplace_back(widget);
  }
  window_.reset();
  const std::string count = form_->EdCnt.text;
  const std::string cost = form_->EdCostBuy.text;
  const int beeps = desktop_.beeps;
  const auto pokes = std::to_array<std::function<void()>>({
      [&] { QTest::keyClick(kept[0].get(), Qt::Key_Up); },
      [&] { QTest::keyClick(kept[1].get(), Qt::Key_A); },
      [&] {
        QTest::sendKeyEvent(QTest::Click, kept[1].get(), Qt::Key_unknown,
                            QString::fromUcs4(U"\U0001F600", 1),
                            Qt::NoModifier);
      },
      [&] { QTest::mouseClick(kept[2].get(), Qt::LeftButton); },
      [&] { QTest::mouseClick(kept[3].get(), Qt::RightButton); },
      [&] { QTest::mouseClick(kept[4].get(), Qt::LeftButton); },
      [&] { QTest::mouseClick(kept[5].get(), Qt::LeftButton); },
  });
  for (size_t i = 0; i < pokes.size(); ++i) {
    SCOPED_TRACE(i);
    pokes[i]();
    EXPECT_EQ(form_->EdCnt.text, count);
    EXPECT_EQ(form_->EdCostBuy.text, cost);
    EXPECT_EQ(desktop_.beeps, beeps);
    EXPECT_FALSE(form_->RadBtSZ.checked);
  }
}

// Qt's offscreen platform takes no system move, as a desktop without a window
// manager does not: the window follows the mouse itself.
TEST_F(QtWindowTest, TheDragStripMovesTheWindowWithoutAWindowManager) {
  const struct {
    QPoint press;
    QPoint moved_by;  // how far the window goes for a move of (+50, +30)
  } kCases[] = {
      {{100, 10}, {50, 30}},
      {{31, 10}, {50, 30}},  // first column inside the
                             // strip
      {{429, 22}, {50, 30}},
      {{30, 10}, {0, 0}},  // on the strip's edges:
                           // client area
      {{430, 10}, {0, 0}},
      {{100, 23}, {0, 0}},
      {{100, 1}, {0, 0}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.press.x() << "," << c.press.y());
    window_->move(40, 60);
    const QPoint before = window_->pos();
    QTest::mousePress(window_.get(), Qt::LeftButton, {}, c.press);
    QTest::mouseMove(window_.get(), c.press + QPoint(25, 15));
    QTest::mouseMove(window_.get(),
                     c.press + QPoint(50, 30) - (window_->pos() - before));
    QTest::mouseRelease(window_.get(), Qt::LeftButton, {},
                        c.press + QPoint(50, 30) - (window_->pos() - before));
    EXPECT_EQ(window_->pos() - before, c.moved_by);
    // Moving on with the button up leaves the window where it is.
    const QPoint after = window_->pos();
    QTest::mouseMove(window_.get(), QPoint(200, 100));
    EXPECT_EQ(window_->pos(), after);
  }
}

TEST_F(QtWindowTest, TickerRunsOnItsTimerAndTheEditorOpensWithTheEntryShown) {
  // A window started on a links file with two entries.
  window_.reset();
  form_.reset();
  const std::string links = home_.path().toStdString() + "/qiloinfo.ini";
  WriteEntry(links, "info", "2", "Sina");
  WriteEntry(links, "link", "2", "www.sina.com.cn");
  WriteEntry(links, "info", "9", "Feed");
  WriteEntry(links, "link", "9", "http://feed.example/");
  form_ = std::make_unique<TFrmMain>(desktop_);
  window_ = std::make_unique<QtMainWindow>(*form_, desktop_);
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));

  // 23 ticks of 25 ms take the start caption out, 23 more bring the first
  // entry to its rest at top 7.
  QWidget* info = window_->WidgetNamed("LabInfo");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return LabelText("LabInfo") == "Sina" && info->y() == 7; }, 10000));
  EXPECT_EQ(info->x(), 31);
  EXPECT_EQ(info->width(), 7 * 4);
  EXPECT_EQ(form_->ticker.position, 1);  // key 2 packs into entry 1
  // An address in the hint: the hand, but never a tooltip.
  QTest::mouseMove(info, QPoint(3, 5));
  EXPECT_EQ(info->cursor().shape(), Qt::BitmapCursor);
  EXPECT_TRUE(info->toolTip().isEmpty());
  QTest::qWait(200);
  EXPECT_EQ(info->y(), 7);  // resting
  SaveShot("ticker.png");

  QTest::mouseClick(window_->WidgetNamed("LabFav"), Qt::LeftButton);
  EXPECT_FALSE(info->isVisible());
  EXPECT_TRUE(Edit("EdSiteName")->isVisible());
  EXPECT_TRUE(window_->WidgetNamed("LabAdd")->isVisible());
  EXPECT_EQ(Edit("EdSiteName")->text(), "Sina");
  EXPECT_EQ(Edit("EdSiteAdd")->text(), "www.sina.com.cn");
  SaveShot("editor.png");
}

// The widths of the strokes of `ink` in `area` that run `length` pixels or
// more along rows (`along_rows`) or columns: for each such run, the fewest
// ink pixels in an unbroken line across it that any of its pixels has.
std::set<int> StrokeWidths(const QImage& image, const QRect& area,
                           bool along_rows, int length,
                           const std::function<bool(QRgb)>& ink) {
  const int along = along_rows ? area.width() : area.height();
  const int across = along_rows ? area.height() : area.width();
  const auto inked = [&](int u, int v) {
    if (u < 0 || v < 0 || u >= along || v >= across) return false;
    return ink(along_rows ? image.pixel(area.left() + u, area.top() + v)
                          : image.pixel(area.left() + v, area.top() + u));
  };
  std::set<int> widths;
  for (int v = 0; v < across; ++v) {
    for (int u = 0; u < along;) {
      int end = u;
      while (inked(end, v)) ++end;
      if (end - u >= length) {
        int width = across;
        for (int w = u; w < end; ++w) {
          int first = v;
          int last = v;
          while (inked(w, first - 1)) --first;
          while (inked(w, last + 1)) ++last;
          width = std::min(width, last - first + 1);
        }
        widths.insert(width);
      }
      u = std::max(end, u + 1);
    }
  }
  return widths;
}

// At any display scale (QT_SCALE_FACTOR; CTest runs 1.25, 1.5 and 2): the
// window is the layout's size times the scale, the bottom rule runs unbroken
// across it, the per-mille signs are inked and the results fit their fields.
// The pictures are the ones drawn for the scale: the frame's lines are solid
// and whole device pixels (the scale rounded), and the strokes of the logo
// and of the calculate glyphs are each as wide as the others.
TEST_F(QtWindowTest, WholeAtTheDisplayScale) {
  Type("EdPriceBuy", "10");
  Type("EdPriceSell", "11");
  Type("EdCnt", "1000");
  QTest::mouseClick(window_->WidgetNamed("BtnCal"), Qt::LeftButton);
  const QImage image = window_->grab().toImage();
  const double s = window_->devicePixelRatioF();
  if (const QByteArray path = qgetenv("QILO_SCALE_PNG"); !path.isEmpty()) {
    image.save(QString::fromLocal8Bit(path));
  }
  EXPECT_NEAR(image.width(), 469 * s, 1);
  EXPECT_NEAR(image.height(), 232 * s, 1);
  const auto teal = [](QRgb c) {
    return qRed(c) < 60 && std::abs(qGreen(c) - 128) < 50 &&
           std::abs(qBlue(c) - 128) < 50;
  };
  std::vector<int> gaps;
  for (int x = static_cast<int>(std::ceil(s)); x < image.width(); ++x) {
    bool inked = false;
    for (int y = static_cast<int>(229 * s); y < image.height(); ++y) {
      inked = inked || teal(image.pixel(x, y));
    }
    if (!inked) gaps.push_back(x);
  }
  EXPECT_TRUE(gaps.empty()) << gaps.size() << " columns, the first "
                            << (gaps.empty() ? -1 : gaps.front());
  for (const int y : {21, 57, 93}) {
    SCOPED_TRACE(y);
    // The "。" right of each "%", in window pixels times the scale.
    const QRect cell(static_cast<int>((17 + 112) * s),
                     static_cast<int>((45 + y + 2) * s),
                     static_cast<int>(10 * s), static_cast<int>(13 * s));
    int ink = 0;
    for (int x = cell.left(); x <= cell.right(); ++x) {
      for (int yy = cell.top(); yy <= cell.bottom(); ++yy) {
        ink += qGray(image.pixel(x, yy)) < 160;
      }
    }
    EXPECT_GE(ink, 2);
  }
  for (const char* field : {"EdCostBuy", "EdCostSell", "EdProfit"}) {
    EXPECT_FALSE(Edit(field)->Overflows()) << field;
  }
  EXPECT_EQ(Edit("EdProfit")->text(), "943.30");

  const int w = image.width();
  // A line is the scale rounded: the band starts one layout pixel in from the
  // window's sides, where the edges' slate columns meet it.
  const int line = qRound(s);
  const int above_rule = static_cast<int>(229 * s);
  const auto count = [&](const QRect& r, QRgb colour) {
    int n = 0;
    for (int x = r.left(); x <= r.right(); ++x) {
      for (int y = r.top(); y <= r.bottom(); ++y) {
        n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
      }
    }
    return n;
  };
  // The band's light blue line, found in one column, then checked across.
  const QRgb slate = qRgb(87, 117, 159);
  const QRgb band_line = qRgb(189, 212, 230);
  int band_row = 0;
  while (band_row < 24 * s &&
         (image.pixel(w / 2, band_row) & 0xFFFFFF) != (band_line & 0xFFFFFF)) {
    ++band_row;
  }
  // Between the caption and the minimize label, whose glyphs may reach it.
  const int band_left = qRound(210 * s);
  const int band_width = qRound(420 * s) - band_left;
  const struct {
    const char* name;
    QRect solid;  // all of it in `colour`
    QRect clear;  // none of it
    QRgb colour;
  } kLines[] = {
      {"top", {0, 0, w, line}, {line, line, w - 2 * line, 1}, slate},
      {"left", {0, 0, line, above_rule}, {line, line, 1, above_rule}, slate},
      {"right",
       {w - line, 0, line, above_rule},
       {w - line - 1, line, 1, above_rule},
       slate},
      {"band",
       {band_left, band_row, band_width, line},
       {band_left, band_row + line, band_width, 1},
       band_line},
  };
  for (const auto& l : kLines) {
    SCOPED_TRACE(l.name);
    EXPECT_EQ(count(l.solid, l.colour), l.solid.width() * l.solid.height());
    EXPECT_EQ(count(l.clear, l.colour), 0);
  }

  // A control's rectangle in the screenshot's device pixels.
  const auto device_rect = [&](const char* name) {
    const QWidget* widget = window_->WidgetNamed(name);
    const QRect r(widget->mapTo(window_.get(), QPoint(0, 0)), widget->size());
    return QRect(QPoint(qRound(r.left() * s), qRound(r.top() * s)),
                 QPoint(qRound((r.right() + 1) * s) - 1,
                        qRound((r.bottom() + 1) * s) - 1));
  };
  const auto exactly = [](QRgb colour) {
    return [colour](QRgb c) { return (c & 0xFFFFFF) == (colour & 0xFFFFFF); };
  };
  const auto red_or_green = [](QRgb c) {
    return (c & 0xFFFFFF) == (qRgb(255, 0, 0) & 0xFFFFFF) ||
           (c & 0xFFFFFF) == (qRgb(0, 128, 0) & 0xFFFFFF);
  };
  const int stem = static_cast<int>(std::ceil(6 * s));
  const struct {
    const char* name;
    bool along_rows;
    int length;
    std::function<bool(QRgb)> ink;
  } kStrokes[] = {
      {"ImgLogo", false, stem, red_or_green},
      {"ImgCal", false, stem, exactly(qRgb(0, 128, 128))},
      {"ImgCal", true, static_cast<int>(std::ceil(3 * s)),
       exactly(qRgb(0, 128, 128))},
  };
  for (const auto& k : kStrokes) {
    SCOPED_TRACE(testing::Message()
                 << k.name << (k.along_rows ? " bars" : " stems"));
    EXPECT_EQ(
        static_cast<PictureBox*>(window_->WidgetNamed(k.name))->ShownScale(),
        s);
    const std::set<int> widths =
        StrokeWidths(image, device_rect(k.name), k.along_rows, k.length, k.ink);
    EXPECT_EQ(widths.size(), 1u) << ::testing::PrintToString(widths);
  }

  // Each shape of the 1x drawing keeps its form: the calculate glyphs in as
  // many unbroken pieces, the step arrows open chevrons.
  const auto ink_in = [&](const QImage& picture, QRect r, auto is_ink) {
    return [&picture, r, is_ink](int x, int y) {
      return is_ink(picture.pixel(r.left() + x, r.top() + y));
    };
  };
  const QImage calc_1x = EmbeddedImage(u"calculate.bmp", 1);
  const auto teal_ink = exactly(qRgb(0, 128, 128));
  const QRect calc = device_rect("ImgCal");
  EXPECT_EQ(
      InkPieces(calc.width(), calc.height(), ink_in(image, calc, teal_ink)),
      InkPieces(calc_1x.width(), calc_1x.height(),
                ink_in(calc_1x, calc_1x.rect(), teal_ink)));
  for (const char* arrow : {"ImgPriceBuyUp", "ImgPriceBuyDwn", "ImgPriceSellUp",
                            "ImgPriceSellDwn", "ImgCntUp", "ImgCntDwn"}) {
    const QRect r = device_rect(arrow);
    EXPECT_TRUE(ChevronOpen(r.width(), r.height(),
                            ink_in(image, r, exactly(qRgb(0, 0, 0)))))
        << arrow;
  }

  // The contact label's underline ends with its text, not under its blanks.
  const QRect contact = device_rect("LabConnMe");
  const QRgb cream = image.pixel(contact.topLeft());
  const auto not_cream = [cream](QRgb c) {
    return std::abs(qRed(c) - qRed(cream)) +
               std::abs(qGreen(c) - qGreen(cream)) +
               std::abs(qBlue(c) - qBlue(cream)) >
           60;
  };
  EXPECT_LE(UnderlineOverhang(contact.width(), contact.height(),
                              ink_in(image, contact, not_cream)),
            2 * s);

  // The hand the links show: drawn for the scale and shown pixel for pixel,
  // its hot spot on the tip of the finger in layout pixels.
  ASSERT_TRUE(desktop_.LoadHandCursor());
  const QCursor& hand = *desktop_.HandCursor();
  EXPECT_EQ(hand.pixmap().size(), QSize(32, 32) * s);
  EXPECT_EQ(hand.pixmap().devicePixelRatio(), s);
  EXPECT_EQ(hand.hotSpot(), QPoint(0, 10));
}

TEST(PictureScaleTest, TheSameScaleElseTheNextLargerElseTheLargest) {
  const struct {
    double ratio;
    double scale;
  } kCases[] = {
      {1, 1},      {1.25, 1.25}, {1.5, 1.5}, {2, 2},   {1.249, 1.25},
      {1.1, 1.25}, {1.3, 1.5},   {1.75, 2},  {0.5, 1}, {3, 2},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(PictureScaleFor(c.ratio, kPictureScales), c.scale) << c.ratio;
  }
}

// Every picture the layout names is compiled in at every scale, one shown at
// its own size about that size times the scale; so are the icon and the
// see-through cursor.
TEST(EmbeddedImageTest, EveryPictureAtEveryScale) {
  for (const ControlSpec& c : Layout()) {
    if (c.kind != ControlKind::kPicture) continue;
    const QString file = QString::fromUtf8(c.picture);
    const QSize one = EmbeddedImage(file, 1).size();
    ASSERT_FALSE(one.isEmpty()) << c.picture;
    for (const double scale : kPictureScales) {
      const QSize size = EmbeddedImage(file, scale).size();
      ASSERT_FALSE(size.isEmpty()) << c.picture << scale;
      if (c.picture_mode == PictureMode::kStretch) continue;
      EXPECT_NEAR(size.width(), one.width() * scale, 1) << c.picture << scale;
      EXPECT_NEAR(size.height(), one.height() * scale, 1) << c.picture << scale;
    }
  }
  EXPECT_EQ(EmbeddedImage(u"mainicon.png", 1).size(), QSize(128, 128));
  EXPECT_EQ(qAlpha(EmbeddedImage(u"hand.png", 1).pixel(0, 0)), 0);
  EXPECT_TRUE(EmbeddedImage(u"logo.bmp", 3).isNull());
  EXPECT_TRUE(EmbeddedImage(u"missing.bmp", 1).isNull());
}

// Painted for a device of another ratio, as on a screen of another scale, a
// picture shows the bitmap for that ratio, at the control's size.
TEST_F(QtWindowTest, PicturesFollowTheRatioTheyArePaintedFor) {
  const auto* logo = static_cast<PictureBox*>(window_->WidgetNamed("ImgLogo"));
  for (const double ratio : {2.0, 1.75, 1.0}) {
    SCOPED_TRACE(ratio);
    QPixmap pixmap(window_->size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    window_->render(&pixmap);
    EXPECT_EQ(logo->ShownScale(), ratio == 1.75 ? 2 : ratio);
    EXPECT_EQ(logo->size(), QSize(32, 16));
    // Across the "l" and both sides of the "o", two layout pixels each.
    const QImage image = pixmap.toImage();
    int green = 0;
    for (int x = 0; x < 40 * ratio; ++x) {
      green += QColor(image.pixel(x, qRound(12 * ratio))) == QColor(0, 128, 0);
    }
    if (ratio != 1.75) {  // else smoothed
      EXPECT_EQ(green, 3 * 2 * ratio);
    }
  }
}

TEST_F(QtWindowTest, RendersTheWindowWithItsFrame) {
  const QImage image = window_->grab().toImage();
  ASSERT_EQ(image.size(), QSize(469, 232));
  EXPECT_EQ(QColor(image.pixel(200, 0)), QColor(87, 117, 159));  // title band
  EXPECT_EQ(QColor(image.pixel(145, 100)), QColor(255, 251, 240));  // cream
  EXPECT_EQ(QColor(image.pixel(0, 100)), QColor(87, 117, 159));     // left edge
  const QByteArray path = qgetenv("QILO_WINDOW_PNG");
  if (!path.isEmpty()) {
    EXPECT_TRUE(image.save(QString::fromLocal8Bit(path)));
  }
}

// The rules are one-pixel lines in their own colours on their labels' bottom
// rows, as in the Windows window: the teal one (Label16 at 1,219, 547 x 13)
// closes the frame on the window's last row from column 1 to the right edge,
// clipped there; the grey one lies under the fee rates (Label17, 120 x 13 at
// 1,145 in the fee panel at 17,45). Right of each per-mille "%" (8 x 13 at
// 104,y in the panel) the whole "。" shows, not a sliver the "%" leaves.
TEST_F(QtWindowTest, RulesAndPerMilleSignsOnTheRowsTheLayoutGivesThem) {
  const QImage image = window_->grab().toImage();
  const auto count = [&](int y, int left, int right, const QColor& colour) {
    int n = 0;
    for (int x = left; x <= right; ++x) {
      n += QColor(image.pixel(x, y)) == colour;
    }
    return n;
  };
  const QColor teal(0, 128, 128);
  EXPECT_EQ(count(231, 1, 468, teal), 468);
  for (int y = 227; y < 231; ++y) EXPECT_EQ(count(y, 1, 468, teal), 0) << y;
  EXPECT_EQ(count(45 + 157, 17 + 1, 17 + 120, QColor(160, 160, 164)), 120);

  // How many columns of a window rectangle the ink darker than 160 spans.
  const auto ink_width = [&](const QRect& r) {
    int first = -1;
    int last = -1;
    for (int x = r.left(); x <= r.right(); ++x) {
      for (int y = r.top(); y <= r.bottom(); ++y) {
        if (qGray(image.pixel(x, y)) < 160) {
          if (first < 0) first = x;
          last = x;
        }
      }
    }
    return first < 0 ? 0 : last - first + 1;
  };
  for (const int y : {21, 57, 93}) {
    SCOPED_TRACE(y);
    EXPECT_GE(ink_width(QRect(17 + 104, 45 + y, 8, 13)), 3);       // %
    EXPECT_GE(ink_width(QRect(17 + 112, 45 + y + 2, 10, 13)), 3);  // 。
  }
}

TEST_F(QtWindowTest, RulesSymbolsAndTheirFacesAsTheLayoutDrawsThem) {
  QTest::mouseClick(window_->WidgetNamed("LabFav"), Qt::LeftButton);
  const QImage image = window_->grab().toImage();
  const QColor cream(255, 251, 240);
  // The ink rows of a window column range: {first, last}.
  const auto ink_rows = [&](int left, int right) {
    int first = -1;
    int last = -1;
    for (int y = 205; y < 228; ++y) {
      for (int x = left; x <= right; ++x) {
        const QColor c(image.pixel(x, y));
        if (std::abs(c.red() - cream.red()) +
                std::abs(c.blue() - cream.blue()) >
            60) {
          if (first < 0) first = y;
          last = y;
          break;
        }
      }
    }
    return std::pair{first, last};
  };
  // "+" and "-" of the editor: their glyphs' middles on one row (the panel
  // lies at 5, 205; the labels at 314 and 331 in it).
  const auto [plus_top, plus_bottom] = ink_rows(5 + 314, 5 + 326);
  const auto [minus_top, minus_bottom] = ink_rows(5 + 331, 5 + 339);
  ASSERT_GE(plus_top, 0);
  ASSERT_GE(minus_top, 0);
  EXPECT_LE(std::abs((plus_top + plus_bottom) - (minus_top + minus_bottom)), 2)
      << plus_top << "-" << plus_bottom << " / " << minus_top << "-"
      << minus_bottom;

  // The grey rule under the fee rates in its own medium grey, unblended.
  const QWidget* rule = window_->WidgetNamed("Label17");
  int grey = 0;
  int rule_row = -1;
  for (int y = 0; y < rule->height() && rule_row < 0; ++y) {
    const QPoint at = rule->mapTo(window_.get(), QPoint(60, y));
    if (QColor(image.pixel(at)) != cream) rule_row = at.y();
  }
  ASSERT_GE(rule_row, 0);
  const int left = rule->mapTo(window_.get(), QPoint(0, 0)).x();
  for (int x = left; x < left + 120; ++x) {
    grey += QColor(image.pixel(x, rule_row)) == QColor(160, 160, 164);
  }
  EXPECT_GE(grey, 115);

  // The symbols' Arial Black stands as the heaviest sans installed, in its
  // heaviest style.
  const QFontInfo fav(window_->WidgetNamed("LabFav")->font());
  EXPECT_EQ(fav.family(), HeaviestSans());
  int heaviest = 0;
  for (const QString& style : QFontDatabase::styles(fav.family())) {
    if (!QFontDatabase::italic(fav.family(), style)) {
      heaviest = std::max(heaviest, QFontDatabase::weight(fav.family(), style));
    }
  }
  EXPECT_EQ(fav.weight(), heaviest);
  EXPECT_GE(fav.weight(), QFont::Bold);
}

// Qt's own texts in the window, in the user's language or else in Chinese.
class QtTextsTest : public QtWindowTest {
 protected:
  // The texts of an edit field's context menu, as the field builds it.
  QStringList MenuTexts() {
    std::unique_ptr<QMenu> menu(Edit("EdOther")->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
      if (!action->isSeparator()) texts << action->text();
    }
    return texts;
  }
  static bool HasChinese(const QString& text) {
    for (const QChar c : text) {
      if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) return true;
    }
    return false;
  }
};

// Run with LANG=zh_CN.UTF-8 by its own CTest entry, and with the build's own
// environment in the whole binary's run.
TEST_F(QtTextsTest, TheUsersLocaleOrChineseNamesTheContextMenuAndTheBoxButton) {
  const auto texts = InstallQtTranslations(QLocale());
  ASSERT_NE(texts, nullptr);
  const QStringList menu = MenuTexts();
  ASSERT_FALSE(menu.isEmpty());
  if (QLocale().language() == QLocale::Chinese ||
      QLocale().language() == QLocale::C) {
    EXPECT_TRUE(HasChinese(menu.front())) << menu.front().toStdString();
    QMessageBox box(QMessageBox::Critical, "t", "m", QMessageBox::Ok);
    EXPECT_TRUE(HasChinese(box.button(QMessageBox::Ok)->text()))
        << box.button(QMessageBox::Ok)->text().toStdString();
  }
}

// Read when the first context menu or error box is about to show them, and
// gone with their holder.
TEST_F(QtTextsTest, ReadWhenTheFirstMenuOrBoxShowsThem) {
  for (const bool box : {false, true}) {
    SCOPED_TRACE(box ? "error box" : "context menu");
    QtTranslationsOnDemand texts(QLocale(QLocale::Chinese, QLocale::China));
    EXPECT_FALSE(HasChinese(MenuTexts().front()));
    QString shown;
    if (box) {
      WhenBoxOpens([&shown](QMessageBox* open) {
        shown = open->button(QMessageBox::Ok)->text();
      });
      desktop_.ShowError("x");
    } else {
      QTimer::singleShot(0, [&shown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        shown = menu->actions().front()->text();
        menu->close();
      });
      QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                              Edit("EdOther")->mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(Edit("EdOther"), &event);
    }
    EXPECT_TRUE(HasChinese(shown)) << shown.toStdString();
  }
  EXPECT_FALSE(HasChinese(MenuTexts().front()));
}

TEST_F(QtTextsTest, ChineseWhereQtHasNoCatalogueForTheLocale) {
  const struct {
    QLocale locale;
    bool chinese;
  } kCases[] = {
      {QLocale(QLocale::Chinese, QLocale::China), true},
      {QLocale(QLocale::Chinese, QLocale::Taiwan), true},  // traditional
      {QLocale::c(), true},
      {QLocale(QLocale::Swahili, QLocale::Kenya), true},  // none for it
      {QLocale(QLocale::German, QLocale::Germany), false},
      {QLocale(QLocale::English, QLocale::UnitedStates), false},
  };
  const QString english = MenuTexts().front();
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.locale.name().toStdString());
    const auto texts = InstallQtTranslations(c.locale);
    ASSERT_NE(texts, nullptr);
    const QString first = MenuTexts().front();
    EXPECT_EQ(HasChinese(first), c.chinese) << first.toStdString();
    if (c.locale.language() == QLocale::German) {
      EXPECT_NE(first, english);
    }
  }
  // The program's own texts stay as they are.
  EXPECT_EQ(LabelText("LabInfo"), QString::fromUtf8("Qilo股票计算器  "));
  // Gone with the translator: Qt's English source texts again.
  EXPECT_EQ(MenuTexts().front(), english);
}

}  // namespace
}  // namespace qilo
