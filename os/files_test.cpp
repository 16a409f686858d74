#include "os/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "os/test_folder.h"

namespace qilo {
namespace {

namespace fs = std::filesystem;

// A Linux path keeps its bytes, whatever GBK makes of them; only a message
// shows it in GBK.
TEST(NativePathTest, KeepsTheFileSystemsBytesAndShowsThemInGbk) {
  struct Case {
    std::string folder, path, shown;
  } cases[] = {
      {"/home/u", "/home/u/qilo.ini", "/home/u/qilo.ini"},
      {"/home/u/", "/home/u//qilo.ini", "/home/u//qilo.ini"},
      {"/home/a\\b", "/home/a\\b/qilo.ini", "/home/a\\b/qilo.ini"},
      {"/home/\xE6\x9D\x8E", "/home/\xE6\x9D\x8E/qilo.ini",
       "/home/\xC0\xEE/qilo.ini"},
      {"/home/\xED\x95\x9C", "/home/\xED\x95\x9C/qilo.ini", "/home/?/qilo.ini"},
  };
  for (const Case& c : cases) {
    const std::string path = PathInFolder(c.folder, "qilo.ini");
    EXPECT_EQ(path, c.path);
    EXPECT_EQ(NativePath(path), c.path);
    EXPECT_EQ(PathFromUtf8(path), c.path);
    EXPECT_EQ(PathForDisplay(path), c.shown);
  }
}

TEST(ReadFileBytesTest, TellsMissingFromUnreadable) {
  TestFolder dir;
  ASSERT_FALSE(dir.Path().empty());
  PutFileBytes(dir / "plain", "x");
  fs::create_directory(dir / "folder");
  // A pipe would block the read until some writer came.
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  const std::string raw("[a]\r\n\xFF\x00\x80=\x5C\n", 10);
  PutFileBytes(dir / "raw", raw);
  struct Case {
    std::string path;
    ReadResult result;
    std::string content;
  } cases[] = {
      {dir / "none", ReadResult::kMissing, ""},
      {dir / "none/x", ReadResult::kMissing, ""},
      {dir / "plain/x", ReadResult::kMissing, ""},
      {dir / "folder", ReadResult::kFailed, ""},
      {dir / "fifo", ReadResult::kFailed, ""},
      {"/dev/zero", ReadResult::kFailed, ""},
      {dir / "raw", ReadResult::kOk, raw},
      // A "\" is part of a name on Linux, not a separator.
      {dir.Path() + "\\raw", ReadResult::kMissing, ""},
  };
  for (const Case& c : cases) {
    std::string content = "stale";
    EXPECT_EQ(ReadFileBytes(c.path, &content), c.result) << c.path;
    EXPECT_EQ(content, c.content) << c.path;
  }
}

TEST(ReplaceFileAtomicallyTest, NewFileGetsUsualModeAndExistingKeepsItsMode) {
  TestFolder dir;
  mode_t old_mask = umask(022);
  ASSERT_TRUE(ReplaceFileAtomically(dir / "new", "a"));
  umask(old_mask);
  EXPECT_EQ(fs::status(dir / "new").permissions(), fs::perms(0644));

  PutFileBytes(dir / "kept", "old");
  chmod((dir / "kept").c_str(), 0640);
  ASSERT_TRUE(ReplaceFileAtomically(dir.Path() + "/kept", "new"));
  EXPECT_EQ(FileBytes(dir / "kept"), "new");
  EXPECT_EQ(fs::status(dir / "kept").permissions(), fs::perms(0640));
  // Only the two files: no temporary file stays behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 2);
}

TEST(ReplaceFileAtomicallyTest, LeavesWhatIsNoRegularFile) {
  TestFolder dir;
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_directory(dir / "folder");
  EXPECT_FALSE(ReplaceFileAtomically(dir / "fifo", "x"));
  EXPECT_FALSE(ReplaceFileAtomically(dir.Path() + "/folder", "x"));
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 2);
}

TEST(ReplaceFileAtomicallyTest, FollowsSymbolicLink) {
  TestFolder dir;
  PutFileBytes(dir / "target", "old");
  fs::create_symlink(dir / "target", dir / "link");
  ASSERT_TRUE(ReplaceFileAtomically(dir / "link", "new"));
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_EQ(FileBytes(dir / "target"), "new");
}

TEST(ReplaceFileAtomicallyTest, WritesThroughALinkToAMissingFileIfItsFolderIs) {
  TestFolder dir;
  fs::create_directory(dir / "sub");
  PutFileBytes(dir / "plain", "x");
  struct Case {
    std::vector<std::pair<std::string, std::string>> links;  // name, target
    std::string written;  // where the bytes land; empty: refused
  } cases[] = {
      {{{"abs", dir / "sub/abs.ini"}}, "sub/abs.ini"},
      {{{"rel", "sub/rel.ini"}}, "sub/rel.ini"},
      {{{"sub/up", "../up.ini"}}, "up.ini"},
      {{{"chain", "chain2"}, {"chain2", "sub/chain.ini"}}, "sub/chain.ini"},
      {{{"nofolder", "gone/x.ini"}}, ""},
      {{{"loop", "loop2"}, {"loop2", "loop"}}, ""},
      {{{"slash", "sub/new/"}}, ""},
      {{{"thrufile", "plain/x.ini"}}, ""},
  };
  for (const Case& c : cases) {
    const std::string link = c.links.front().first;
    SCOPED_TRACE(link);
    for (const auto& [name, target] : c.links) {
      fs::create_symlink(target, dir / name);
    }
    const auto before =
        std::distance(fs::recursive_directory_iterator(dir.Path()), {});
    EXPECT_EQ(ReplaceFileAtomically(dir / link, "new"), !c.written.empty());
    EXPECT_TRUE(fs::is_symlink(dir / link));
    if (!c.written.empty()) {
      EXPECT_EQ(FileBytes(dir / c.written), "new");
      EXPECT_EQ(FileBytes(dir / link), "new");
    } else {
      // Nothing made: no file, no temporary file.
      EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.Path()), {}),
                before);
    }
  }
}

TEST(FileTimeTest, SetAndGetModificationTime) {
  TestFolder dir;
  PutFileBytes(dir / "f", "x");
  const FileTime when = std::chrono::system_clock::from_time_t(1600000000) +
                        std::chrono::microseconds(250);
  ASSERT_TRUE(SetFileModificationTime(dir.Path() + "/f", when));
  EXPECT_EQ(FileModificationTime(dir / "f"), when);
  EXPECT_FALSE(SetFileModificationTime(dir / "none", when));
  EXPECT_EQ(FileModificationTime(dir / "none"), std::nullopt);
  EXPECT_EQ(FileModificationTime(dir.Path()), std::nullopt);
}

TEST(FileExistsTest, FilesOnlyAndHiddenKeepsName) {
  TestFolder dir;
  PutFileBytes(dir / "f", "x");
  EXPECT_TRUE(FileExists(dir.Path() + "/f"));
  EXPECT_FALSE(FileExists(dir / "none"));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_TRUE(SetFileHidden(dir / "f"));
  EXPECT_FALSE(SetFileHidden(dir / "none"));
  EXPECT_EQ(FileBytes(dir / "f"), "x");
  EXPECT_FALSE(FileExists(dir / "none"));
}

}  // namespace
}  // namespace qilo
