#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "app/recording_desktop.h"
#include "os/files.h"
#include "os/test_folder.h"
#include "store/profile_store.h"
#include "text/expect_error.h"
#include "text/gbk.h"

namespace qilo {
namespace {

// A window whose home folder is a fresh temporary folder.
class ShowCloseTest : public ::testing::Test {
 protected:
  ShowCloseTest() : form(desktop) { UseAsHomeFolder(home.Path()); }
  // Links written now are not due for a feed refresh: no network in tests.
  void WriteLinks(int slot, const std::string& name, const std::string& link) {
    WriteEntry(home / "qiloinfo.ini", "info", std::to_string(slot), name);
    WriteEntry(home / "qiloinfo.ini", "link", std::to_string(slot), link);
  }
  void Tick(int n) {
    for (int i = 0; i < n; ++i) form.TimerInfoTimer();
  }

  TestFolder home;
  RecordingDesktop desktop;
  TFrmMain form;
};

TEST_F(ShowCloseTest, FirstStartWritesTheDefaults) {
  form.FormShow();
  EXPECT_EQ(FileBytes(home / "qilo.ini"),
            "[cfg]\ncommision=1.7\nstamptax=1\ntransfer=1\notherfee="
            "4\nprecision=2\n");
  EXPECT_TRUE(form.RadBtSH.checked);
  EXPECT_EQ(form.EdTransfer.text, "1");
  for (const Control* c :
       {&form.LabCostPrice, &form.EdPriceBuy, &form.EdPriceSell}) {
    EXPECT_EQ(c->text, "00.00");
  }
  for (const Control* c :
       {&form.EdSiteName, &form.EdSiteAdd, &form.LabAdd, &form.LabDel}) {
    EXPECT_FALSE(c->visible);
  }
  EXPECT_TRUE(form.LabInfo.visible);
  EXPECT_TRUE(form.LabInfo.transparent);
  EXPECT_EQ(form.TimerInfo.interval, 25);
  EXPECT_EQ(form.settings_path, PathInFolder(home.Path(), "qilo.ini"));
  EXPECT_EQ(form.links_path, PathInFolder(home.Path(), "qiloinfo.ini"));
}

#ifndef _WIN32
// A home folder that GBK cannot name (Windows gives its short name instead):
// the files go into it, and the window closes.
TEST_F(ShowCloseTest, HomeFoldersGbkCannotNameHoldTheFiles) {
  for (const char* name :
       {"\xED\x95\x9C\xEA\xB5\xAD", "a\\b", "\xE6\x9D\x8E"}) {
    SCOPED_TRACE(name);
    const std::string folder = home / name;
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    UseAsHomeFolder(folder);
    TFrmMain window(desktop);
    window.FormShow();
    window.EdCommision.text = "2";
    window.FormClose();
    EXPECT_EQ(ReadEntry(folder + "/qilo.ini", "cfg", "commision"), "2");
  }
}
#endif

TEST_F(ShowCloseTest, StoredValuesAndTheMarketChoice) {
  const struct {
    const char* transfer;
    const char* precision;
    bool shanghai;
    const char* transfer_after;
    const char* placeholder;
    const char* precision_after;
  } kCases[] = {
      {"1", "3", true, "1", "00.000", "3"},
      {"1.0", "2", false, "0", "00.00", "2"},
      {"2", "5", false, "0", "00.00", "2"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.transfer);
    RecordingDesktop d;
    TFrmMain f(d);
    const std::string path = home / "qilo.ini";
    WriteEntry(path, "cfg", "transfer", c.transfer);
    WriteEntry(path, "cfg", "precision", c.precision);
    f.FormShow();
    EXPECT_EQ(f.RadBtSH.checked, c.shanghai);
    EXPECT_EQ(f.RadBtSZ.checked, !c.shanghai);
    EXPECT_EQ(f.EdTransfer.text, c.transfer_after);
    EXPECT_EQ(f.EdPriceBuy.text, c.placeholder);
    EXPECT_EQ(f.LabCostPrice.text, c.placeholder);
    f.FormClose();
    EXPECT_EQ(ReadEntry(path, "cfg", "transfer"), c.transfer_after);
    EXPECT_EQ(ReadEntry(path, "cfg", "precision"), c.precision_after);
  }
}

TEST_F(ShowCloseTest, MissingFeesLoadEmptyAndSaveAsZero) {
  const std::string path = home / "qilo.ini";
  WriteEntry(path, "cfg", "precision", "3");
  form.FormShow();
  EXPECT_EQ(form.EdCommision.text, "");
  EXPECT_EQ(form.precision, "3");
  form.FormClose();
  EXPECT_EQ(
      FileBytes(path),
      "[cfg]\nprecision=3\ncommision=0\nstamptax=0\ntransfer=0\notherfee=0\n");
}

TEST_F(ShowCloseTest, UnwritableHomeKeepsTheWindowOpen) {
  form.FormShow();
  // The home folder is replaced by a file: nothing can be written under it.
  form.settings_path = PathInFolder(home / "blocker", "qilo.ini");
  ReplaceFileAtomically(home / "blocker", "x");
  EXPECT_ERROR(form.FormClose(), EIniFileException,
               "Unable to write to " + form.settings_path);
  EXPECT_EQ(desktop.Count("close"), 0);
  // The first attempt to close is refused with the error; the next one shows
  // it again and lets the window close rather than trap the user.
  EXPECT_ERROR(form.CloseAttempt(), EIniFileException,
               "Unable to write to " + form.settings_path);
  EXPECT_TRUE(desktop.calls.empty());
  form.CloseAttempt();
  EXPECT_EQ(desktop.calls,
            std::vector<std::string>{"error Unable to write to " +
                                     form.settings_path + "."});
}

TEST_F(ShowCloseTest, CloseLabelClosesWithoutFetchingWhenNotDue) {
  WriteLinks(1, "a", "b");
  form.FormShow();
  form.LabCloseClick();
  EXPECT_EQ(desktop.calls, std::vector<std::string>{"close"});
  EXPECT_TRUE(form.PageLines.empty());
}

TEST_F(ShowCloseTest, TickerShowsTheLoadedEntries) {
  WriteLinks(3, "three", "www.three.cn");
  WriteLinks(25, "feed", "http://feed.cn");
  WriteLinks(7, "half", "");
  form.FormShow();
  Tick(23);  // the start caption leaves from top 6 without resting
  EXPECT_EQ(form.LabInfo.text, "three");
  EXPECT_EQ(form.LabInfo.width, 35);
  EXPECT_EQ(form.LabInfo.top, 30);
  EXPECT_EQ(form.EdSiteName.text,
            "three");  // pre-filled while the editor is hidden
  form.LabInfoClick();
  EXPECT_EQ(desktop.calls.back(), "open http://www.three.cn open");

  form.LabFavClick();  // the editor opens: the ticker no longer fills its
                       // fields
  form.EdSiteName.text = "typing";
  Tick(23 + 1000 + 24);
  EXPECT_EQ(form.LabInfo.text, "feed");
  EXPECT_EQ(form.EdSiteName.text, "typing");
  form.LabInfoClick();
  EXPECT_EQ(desktop.calls.back(), "open http://feed.cn open");
}

TEST_F(ShowCloseTest, BookmarkEditorAddAndDelete) {
  form.FormShow();
  form.LabInfo.hint = "www.shown.cn";
  form.LabFavClick();
  EXPECT_FALSE(form.LabInfo.visible);
  EXPECT_TRUE(form.EdSiteName.visible && form.EdSiteAdd.visible &&
              form.LabAdd.visible && form.LabDel.visible);
  form.EdSiteName.text = Gbk("新浪");
  form.EdSiteAdd.text = "www.sina.com.cn";
  form.LabAddClick();
  EXPECT_EQ(form.LabInfo.text, Gbk("新浪已添加！"));
  EXPECT_EQ(form.LabInfo.hint, "www.shown.cn");  // messages keep the hint
  EXPECT_TRUE(form.LabInfo.visible);
  EXPECT_FALSE(form.EdSiteName.visible);
  EXPECT_EQ(ReadEntry(form.links_path, "info", "1"), Gbk("新浪"));
  EXPECT_TRUE(desktop.calls.empty());  // no beep for editor messages

  form.LabFavClick();
  form.LabAddClick();
  EXPECT_EQ(form.LabInfo.text, Gbk("新浪已存在！"));
  form.LabFavClick();
  form.LabDelClick();
  EXPECT_EQ(form.LabInfo.text, Gbk("新浪已删除！"));
  EXPECT_EQ(ReadEntry(form.links_path, "info", "1"), "");
  // The table in memory stays as loaded.
  EXPECT_EQ(form.link_table.Names[1], "");
}

TEST_F(ShowCloseTest, RefusedAddKeepsTheEditorOpen) {
  form.FormShow();
  form.links_path = PathInFolder(home / "blocker", "qiloinfo.ini");
  ReplaceFileAtomically(home / "blocker", "x");
  form.LabFavClick();
  form.EdSiteName.text = "a";
  form.EdSiteAdd.text = "b";
  const std::string before = form.LabInfo.text;
  EXPECT_THROW(form.LabAddClick(), Exception);
  EXPECT_TRUE(form.EdSiteName.visible);
  EXPECT_EQ(form.LabInfo.text, before);
}

}  // namespace
}  // namespace qilo
