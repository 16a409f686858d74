#include "store/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "os/test_folder.h"
#include "store/profile_store.h"
#include "text/expect_error.h"

namespace qilo {
namespace {

// The window's texts, with the layout's defaults.
struct Window {
  std::string commission = "1.7", stamp_tax = "1", transfer = "1", other = "4",
              precision = "2", price_format = "%.2f";
  SettingsFields Fields() {
    return {commission, stamp_tax, transfer, other, precision, price_format};
  }
};

class SettingsFileTest : public ::testing::Test {
 protected:
  std::string Path() const { return SettingsPath(dir_.Path()); }
  std::string Native() const { return dir_ / "qilo.ini"; }
  TestFolder dir_;
};

TEST_F(SettingsFileTest, FirstStartWritesTheDefaultsByteForByte) {
  Window window;
  SaveSettings(Path(), window.Fields());
  EXPECT_EQ(FileBytes(Native()),
            "[cfg]\ncommision=1.7\nstamptax=1\ntransfer=1\notherfee="
            "4\nprecision=2\n");
  Window loaded{"", "", "", "", "", ""};
  LoadSettings(Path(), loaded.Fields());
  EXPECT_EQ(loaded.commission, "1.7");
  EXPECT_EQ(loaded.stamp_tax, "1");
  EXPECT_EQ(loaded.transfer, "1");
  EXPECT_EQ(loaded.other, "4");
  EXPECT_EQ(loaded.precision, "2");
  EXPECT_EQ(loaded.price_format, "%.2f");
}

TEST_F(SettingsFileTest, LoadFillsWhatTheFileHolds) {
  struct Case {
    std::optional<std::string> file;
    std::string commission, precision, price_format;
  } cases[] = {
      {std::nullopt, "", "2", "%.2f"},
      {"[cfg]\nprecision=3\n", "", "3", "%.3f"},
      {"[cfg]\nprecision=5\ncommision=2.5\n", "2.5", "2", "%.2f"},
      {"[cfg]\nprecision= 3 \n", "", "3", "%.3f"},
      {"[cfg]\nprecision=\n", "", "2", "%.2f"},
      {"[CFG]\nCommision= ' 1.2 ' \n", " 1.2 ", "2", "%.2f"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(Native());
    if (c.file) PutFileBytes(Native(), *c.file);
    Window window;
    LoadSettings(Path(), window.Fields());
    EXPECT_EQ(window.commission, c.commission);
    EXPECT_EQ(window.stamp_tax, "");
    EXPECT_EQ(window.precision, c.precision);
    EXPECT_EQ(window.price_format, c.price_format);
  }
}

TEST_F(SettingsFileTest, SaveFillsBlankFieldsWithZeroAndTwo) {
  PutFileBytes(Native(), "[cfg]\nprecision=3\n");
  Window window;
  LoadSettings(Path(), window.Fields());
  window.stamp_tax = " \t ";
  SaveSettings(Path(), window.Fields());
  EXPECT_EQ(window.commission, "0");
  EXPECT_EQ(window.stamp_tax, "0");
  EXPECT_EQ(
      FileBytes(Native()),
      "[cfg]\nprecision=3\ncommision=0\nstamptax=0\ntransfer=0\notherfee=0\n");

  Window blank{" 1.5", "1", "0", "4 ", "  ", "%.2f"};
  SaveSettings(Path(), blank.Fields());
  EXPECT_EQ(blank.precision, "2");
  EXPECT_EQ(FileBytes(Native()),
            "[cfg]\nprecision=2\ncommision= "
            "1.5\nstamptax=1\ntransfer=0\notherfee=4 \n");
}

TEST_F(SettingsFileTest, PathsAddTheSeparatorAlways) {
#ifdef _WIN32
  EXPECT_EQ(SettingsPath("C:\\Users\\li"), "C:\\Users\\li\\qilo.ini");
  EXPECT_EQ(SettingsPath("C:\\"), "C:\\\\qilo.ini");
  const std::string home = dir_.Path() + "\\";
#else
  EXPECT_EQ(SettingsPath("/home/li"), "/home/li/qilo.ini");
  EXPECT_EQ(SettingsPath("/home/li/"), "/home/li//qilo.ini");
  const std::string home = dir_.Path() + "/";
#endif
  // A home ending in a separator still gives a path the file system takes.
  Window window;
  SaveSettings(SettingsPath(home), window.Fields());
  EXPECT_EQ(ReadEntry(Path(), "cfg", "otherfee"), "4");
}

TEST_F(SettingsFileTest, RefusedSaveRaisesWithTheSettingsPath) {
  Window window;
  const std::string path = SettingsPath(dir_ / "missing");
  EXPECT_ERROR(SaveSettings(path, window.Fields()), EIniFileException,
               "Unable to write to " + path);
}

}  // namespace
}  // namespace qilo
