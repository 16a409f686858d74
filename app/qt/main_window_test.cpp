#include "app/qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <ostream>

#include "app/qt/look.h"
#include "app/qt/qt_desktop.h"
#include "app/qt/widgets.h"
#include "store/profile_store.h"

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace qilo {
namespace {

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
    window_ = std::make_unique<MainWindow>(*form_, desktop_);
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

  QTemporaryDir home_;
  QtDesktop desktop_;
  std::unique_ptr<TFrmMain> form_;
  std::unique_ptr<MainWindow> window_;
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
}

TEST_F(QtWindowTest, InputIsCutToTheFieldsByteLimit) {
  Type("EdPriceBuy", "1234567");
  EXPECT_EQ(Edit("EdPriceBuy")->text(), "123456");

  // Ctrl+V reaches the key filter as character 22 and is refused.
  QGuiApplication::clipboard()->setText("9");
  Type("EdOther", "");
  QTest::keyClick(Edit("EdOther"), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Edit("EdOther")->text(), "");
  EXPECT_EQ(LabelText("LabInfo"), QString::fromUtf8("请输入数字！"));

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

TEST_F(QtWindowTest, AnErrorIsShownInTheMessageBoxAndTheProgramGoesOn) {
  Edit("EdPriceBuy")->setText("1.2.3");  // as a context-menu paste leaves it
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    icon = box->icon();
    box->accept();
  });
  QTest::mouseClick(window_->WidgetNamed("BtnCal"), Qt::LeftButton);
  EXPECT_EQ(caption, QString::fromUtf8("Qilo股票计算器"));
  EXPECT_EQ(text, "'1.2.3' is not a valid floating point value.");
  EXPECT_EQ(icon, QMessageBox::Critical);
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
  QStringList texts;
  const auto close_box = [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    texts << box->text();
    box->accept();
  };
  // Closed by the user: the close is ignored and the error shown.
  QTimer::singleShot(0, close_box);
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());
  // Closed by a handler (as the close label does): the error ends it.
  bool handler_went_on = false;
  QTimer::singleShot(0, close_box);
  window_->Run([&] {
    desktop_.Close();
    handler_went_on = true;
  });
  EXPECT_FALSE(handler_went_on);
  EXPECT_TRUE(window_->isVisible());
  ASSERT_EQ(texts.size(), 2);
  for (const QString& text : texts) {
    EXPECT_TRUE(text.startsWith("Unable to write to ")) << text.toStdString();
  }

  ASSERT_TRUE(QDir(home_.path()).rmdir("qilo.ini"));
  EXPECT_TRUE(window_->close());
  EXPECT_TRUE(QFile::exists(settings));
}

TEST_F(QtWindowTest, HoverColoursAndTheStepButton) {
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

  // A press steps once and starts the repeat timer; the release stops it.
  Type("EdPriceBuy", "10");
  QWidget* up = window_->WidgetNamed("BtnBuyUp");
  QTest::mousePress(up, Qt::LeftButton);
  EXPECT_EQ(Edit("EdPriceBuy")->text(), "10.50");
  EXPECT_TRUE(form_->TimerStepVal.enabled);
  QTest::mouseRelease(up, Qt::LeftButton);
  EXPECT_FALSE(form_->TimerStepVal.enabled);
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
  window_ = std::make_unique<MainWindow>(*form_, desktop_);
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

}  // namespace
}  // namespace qilo
