#include "store/profile_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <random>
#include <stdexcept>

#include "os/files.h"
#include "os/test_folder.h"
#include "text/expect_error.h"

namespace qilo {
namespace {

namespace fs = std::filesystem;

class ProfileStoreTest : public ::testing::Test {
 protected:
  // The file as the program names it: home folder, separator, file name.
  std::string Ini() const { return dir_.Path() + "/qilo.ini"; }
  std::string Native() const { return dir_ / "qilo.ini"; }
  TestFolder dir_;
};

TEST_F(ProfileStoreTest, ReadsLikeTheProfileFunctions) {
  const std::string long_value(3000, 'v');
  struct Case {
    std::string file, section, key, expected;
  } cases[] = {
      {"[CFG]\r\nCommision=2\r\n", "cfg", "commision", "2"},
      {"[cfg]\nk=  a b \t\n", "cfg", "k", "a b"},
      {"[cfg]\nk=\"q\"\n", "cfg", "k", "q"},
      {"[cfg]\nk= 'q' \n", "cfg", "k", "q"},
      {"[cfg]\nk=\" q \"\n", "cfg", "k", " q "},
      {"[cfg]\nk=\"q'\n", "cfg", "k", "\"q'"},
      {"[cfg]\nk=\"\n", "cfg", "k", "\""},
      {"[cfg]\nk=\"\"x\"\"\n", "cfg", "k", "\"x\""},
      {"[cfg]\nk=a=b\n", "cfg", "k", "a=b"},
      {"[cfg]\n \tk\t = v\n", "cfg", "k", "v"},
      {"[ cfg ]\nk=v\n", "cfg", "k", "v"},
      {"[cfg]\nk=1\nk=2\n", "cfg", "k", "1"},
      {"[cfg]\nk=\n", "cfg", "k", ""},
      {"[cfg]\nk=v", "cfg", "k", "v"},
      {"[cfg]\nk=" + long_value + "\n", "cfg", "k", long_value.substr(0, 2047)},
      {"[cfg]\nk=\"" + long_value + "\"\n", "cfg", "k",
       long_value.substr(0, 2047)},
      // The cut never leaves half of a two-byte character.
      {"[cfg]\nk=" + long_value.substr(0, 2046) + "\xC0\xEEx\n", "cfg", "k",
       long_value.substr(0, 2046)},
      {"[cfg]\nk=" + long_value.substr(0, 2045) + "\xC0\xEEx\n", "cfg", "k",
       long_value.substr(0, 2045) + "\xC0\xEE"},
      {"[cfg]\nk=" + std::string(3000, '\xC0') + "\n", "cfg", "k",
       std::string(2046, '\xC0')},
      {"[cfg]\nk=x" + std::string(3000, '\xC0') + "\n", "cfg", "k",
       "x" + std::string(2046, '\xC0')},
      {"k=v\n[cfg]\n", "cfg", "k", ""},
      {"[cfg]\nx=v\n[other]\nk=v\n", "cfg", "k", ""},
      {"[other]\nk=v\n", "cfg", "k", ""},
      {"[cfg]\n;k=v\n# k=v\nk v\n", "cfg", "k", ""},
      {"[cfg]\n[k=v]\n", "cfg", "[k", ""},
      {"[cfg]\nk=1\n[b]\n[CFG]\nj=2\n", "cfg", "j", "2"},
      // Letters are folded, but not the second byte of a GBK character.
      {"[\xB0\x41]\n\xB0\x41=1\n", "\xB0\x61", "\xB0\x41", ""},
      {"[\xB0\x41]\n\xB0\x41=1\n", "\xB0\x41", "\xB0\x61", ""},
      {"[\xB0\x41]\n\xB0\x41=\xC0\xEE\n", "\xB0\x41", "\xB0\x41", "\xC0\xEE"},
  };
  for (const Case& c : cases) {
    PutFileBytes(Native(), c.file);
    EXPECT_EQ(ReadEntry(Ini(), c.section, c.key), c.expected) << c.file;
  }
}

TEST_F(ProfileStoreTest, ReadOfMissingOrUnreadableFileGivesDefault) {
  fs::create_directory(dir_ / "folder");
  ASSERT_TRUE(MakeNonRegularFile(dir_ / "fifo"));
  for (const std::string& path :
       {Ini(), dir_.Path() + "/none/qilo.ini", dir_.Path() + "/folder",
        dir_.Path() + "/fifo"}) {
    EXPECT_EQ(ReadEntry(path, "cfg", "commision"), "") << path;
    EXPECT_EQ(ReadEntry(path, "cfg", "commision", "dflt"), "dflt") << path;
  }
  EXPECT_FALSE(fs::exists(Native()));
}

TEST_F(ProfileStoreTest, WritesChangeOnlyTheirLine) {
  struct Case {
    std::optional<std::string> before;
    std::string section, key, value, after;
  } cases[] = {
      {std::nullopt, "cfg", "commision", "1.7", "[cfg]\ncommision=1.7\n"},
      {"", "cfg", "commision", "1.7", "[cfg]\ncommision=1.7\n"},
      {"[CFG]\n Commision = 2 ; old\n", "cfg", "commision", "1.5",
       "[CFG]\n Commision =1.5\n"},
      {"[cfg]\nk=1\n", "cfg", "k", "  v  ", "[cfg]\nk=  v  \n"},
      {"[cfg]\nk=1\n", "cfg", "k", "\"v\"", "[cfg]\nk=\"v\"\n"},
      {"[a]\nx=1\n\n[b]\ny=2\n", "a", "z", "3", "[a]\nx=1\nz=3\n\n[b]\ny=2\n"},
      {"[a]\n; note\n\n[b]\n", "a", "z", "3", "[a]\nz=3\n; note\n\n[b]\n"},
      {"; c\n[a]\nx=1", "b", "k", "v", "; c\n[a]\nx=1\n[b]\nk=v\n"},
      {"[a]\nx=1", "a", "k", "v", "[a]\nx=1\nk=v\n"},
      {"[a]", "a", "k", "v", "[a]\nk=v\n"},
      {"[a]\r\nx=1\r\n", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n"},
      {"[a]\r\nx=1\r\n", "b", "y", "2", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
      {"[a]\r\nx=1\r\n", "a", "x", "3", "[a]\r\nx=3\r\n"},
      {"[a]\nx=1\n[b]\n[a]\ny=2\n", "a", "z", "3",
       "[a]\nx=1\nz=3\n[b]\n[a]\ny=2\n"},
      {"[a]\nx=1\n[b]\n[a]\ny=2\n", "A", "Y", "4", "[a]\nx=1\n[b]\n[a]\ny=4\n"},
      {"[info]\n1=\xC0\xEE\n", "info", "1", "\xCA\xD5\xB2\xD8",
       "[info]\n1=\xCA\xD5\xB2\xD8\n"},
      // A last line ended by a lone CR: adding "\r\n" after it turned the
      // value "1" into "1\r" and a "[b]\r" header into no header (fuzzing).
      {"[a]\r\nx=1\r", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n"},
      {"[a]\nx=1\r", "a", "y", "2", "[a]\nx=1\r\ny=2\n"},
      {"[a]\r\n[b]\r", "b", "y", "2", "[a]\r\n[b]\r\ny=2\r\n"},
      {"[a]\r", "c", "y", "2", "[a]\r\n[c]\ny=2\n"},
  };
  for (const Case& c : cases) {
    fs::remove(Native());
    if (c.before) PutFileBytes(Native(), *c.before);
    WriteEntry(Ini(), c.section, c.key, c.value);
    EXPECT_EQ(FileBytes(Native()), c.after) << c.before.value_or("(no file)");
  }
}

TEST_F(ProfileStoreTest, HandEditedFileSurvivesWritesByteForByte) {
  const std::string hand =
      "; Qilo settings, edited by hand\r\n"
      "\r\n"
      "[Cfg]\r\n"
      "  CommisioN = 2.5   \r\n"
      "# old: stamptax=3\r\n"
      "stamptax=1\r\n"
      "\r\n"
      "[mine]\r\n"
      "colour=\xBA\xEC\r\n"
      "no equals sign here\r\n";
  PutFileBytes(Native(), hand);
  WriteEntry(Ini(), "cfg", "commision", "1.7");
  WriteEntry(Ini(), "cfg", "precision", "3");
  DeleteEntry(Ini(), "cfg", "stamptax");
  EXPECT_EQ(FileBytes(Native()),
            "; Qilo settings, edited by hand\r\n"
            "\r\n"
            "[Cfg]\r\n"
            "  CommisioN =1.7\r\n"
            "# old: stamptax=3\r\n"
            "precision=3\r\n"
            "\r\n"
            "[mine]\r\n"
            "colour=\xBA\xEC\r\n"
            "no equals sign here\r\n");
}

TEST_F(ProfileStoreTest, RefusedWritesRaiseWithPathAsPassed) {
  PutFileBytes(dir_ / "plain", "x");
  fs::create_directory(dir_ / "folder");
  ASSERT_TRUE(MakeNonRegularFile(dir_ / "fifo"));
  const std::string paths[] = {dir_.Path() + "/none/qilo.ini",
                               dir_.Path() + "/plain/qilo.ini",
                               dir_.Path() + "/folder", dir_.Path() + "/fifo"};
  for (const std::string& path : paths) {
    EXPECT_ERROR(WriteEntry(path, "cfg", "commision", "1.7"), EIniFileException,
                 "Unable to write to " + path);
  }
  EXPECT_EQ(FileBytes(dir_ / "plain"), "x");
  EXPECT_TRUE(IsNonRegularFile(dir_ / "fifo"));
  DeleteEntry(dir_.Path() + "/fifo", "cfg", "commision");
  // Nothing new in the folder: no file, no temporary file left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), {}), 3);
}

TEST_F(ProfileStoreTest, RefusesTextsThatWouldNotReadBackAsOneEntry) {
  const std::string before = "[cfg]\nk=1\n";
  struct Case {
    std::string section, key, value;
  } cases[] = {
      {"cfg", "k", "1\n[other]"}, {"cfg", "k", "1\r"}, {"cfg", "k\n", "1"},
      {"cfg\r\n", "k", "1"},      {"cfg", "a=b", "1"}, {"cfg", "[x]", "1"},
      {"cfg", " [x", "1"},
  };
  for (const Case& c : cases) {
    PutFileBytes(Native(), before);
    EXPECT_THROW(StoreEntry(Ini(), c.section, c.key, c.value),
                 EIniFileException)
        << c.key << "=" << c.value;
    EXPECT_EQ(FileBytes(Native()), before);
  }
}

TEST_F(ProfileStoreTest, DeleteRemovesEveryLineOfTheKeyAndNeverRaises) {
  PutFileBytes(Native(), "[cfg]\nk=1\nj=2\n[x]\nk=9\n[CFG]\nK=3\n");
  StoreEntry(Ini(), "cfg", "k", "");
  EXPECT_EQ(FileBytes(Native()), "[cfg]\nj=2\n[x]\nk=9\n[CFG]\n");
  EXPECT_EQ(ReadEntry(Ini(), "cfg", "k"), "");

  const FileTime old_time = std::chrono::system_clock::from_time_t(1500000000);
  SetFileModificationTime(Ini(), old_time);
  DeleteEntry(Ini(), "cfg", "missing");
  DeleteEntry(Ini(), "nosection", "j");
  EXPECT_EQ(FileModificationTime(Ini()), old_time);

  DeleteEntry(dir_.Path() + "/none.ini", "cfg", "k");
  DeleteEntry(dir_.Path() + "/none/none.ini", "cfg", "k");
  EXPECT_FALSE(fs::exists(dir_ / "none.ini"));
}

TEST_F(ProfileStoreTest, WriteOfSameValueStillTouchesTheFile) {
  WriteEntry(Ini(), "link", "21", "http://a");
  const FileTime old_time = std::chrono::system_clock::from_time_t(1500000000);
  ASSERT_TRUE(SetFileModificationTime(Ini(), old_time));
  WriteEntry(Ini(), "link", "21", "http://a");
  EXPECT_GT(FileModificationTime(Ini()), old_time);
}

struct Killed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

TEST_F(ProfileStoreTest, WriteInterruptedBeforeRenameLeavesOldFile) {
  const std::string before = "[cfg]\ncommision=1.7\nstamptax=1\n";
  PutFileBytes(Native(), before);
  SetBeforeRenameHookForTest(
      [](const std::string&) { throw Killed("kill -9"); });
  EXPECT_THROW(WriteEntry(Ini(), "cfg", "commision", "2"), Killed);
  EXPECT_THROW(DeleteEntry(Ini(), "cfg", "stamptax"), Killed);
  SetBeforeRenameHookForTest(nullptr);
  EXPECT_EQ(FileBytes(Native()), before);
  EXPECT_EQ(ReadEntry(Ini(), "cfg", "commision"), "1.7");
  WriteEntry(Ini(), "cfg", "commision", "2");
  EXPECT_EQ(ReadEntry(Ini(), "cfg", "commision"), "2");
}

// One read and parse gives what a read per key gives, whatever the file
// holds: headers in any case, with blanks or without their "]", a section in
// two parts, keys twice, quotes, blanks, GBK names, long values, CR LF.
TEST_F(ProfileStoreTest, ASnapshotReadsEveryKeyAsTheStoreDoes) {
  const std::vector<std::string> names = {
      "cfg",      "CFG",      " Cfg ", "info", "1", "k", "K",
      "\xB9\xC9",  // a GBK character
      "\xB9\x49", "\xB9\x69", "a b",   ""};
  const std::vector<std::string> values = {
      "1.7",
      " 2 ",
      "\"q\"",
      "'q'",
      "\"q'",
      "",
      "=",
      std::string(3000, 'v'),
      "\xB9\xC9" + std::string(2046, 'x') + "\xB9\xC9",
      "a=b"};
  std::mt19937 random(20261209);
  const auto pick = [&](const std::vector<std::string>& from) {
    return from[random() % from.size()];
  };
  // Under wine every read of a file is slow: few files, many keys each.
  for (int file = 0; file < 120; ++file) {
    std::string content;
    const int lines = static_cast<int>(random() % 24);
    for (int i = 0; i < lines; ++i) {
      switch (random() % 6) {
        case 0:
          content += "[" + pick(names) + (random() % 5 ? "]" : "");
          break;
        case 1:
          content += "; " + pick(names);
          break;
        default:
          content += pick(names) + (random() % 3 ? "=" : " = ") + pick(values);
      }
      if (i + 1 < lines || random() % 2)
        content += random() % 3 ? "\n" : "\r\n";
    }
    PutFileBytes(Native(), content);
    const IniSnapshot snapshot(Ini());
    for (const std::string& section : names) {
      for (const std::string& key : names) {
        ASSERT_EQ(snapshot.Read(section, key), ReadEntry(Ini(), section, key))
            << "file " << file << " [" << section << "] " << key << "\n"
            << content;
      }
    }
  }
  EXPECT_EQ(IniSnapshot(dir_ / "none.ini").Read("cfg", "k"), "");
}

}  // namespace
}  // namespace qilo
