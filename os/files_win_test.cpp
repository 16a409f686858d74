// The Windows side of the file calls: attributes, devices and names that the
// POSIX tests beside this one cannot reach.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "os/files.h"
#include "os/test_folder.h"

namespace qilo {
namespace {

namespace fs = std::filesystem;

DWORD Attributes(const fs::path& path) {
  return GetFileAttributesW(path.wstring().c_str());
}

TEST(WindowsFilesTest, ReplaceKeepsTheHiddenAttributeAndLeavesNoTemporaryFile) {
  TestFolder dir;
  ASSERT_FALSE(dir.Path().empty());
  const std::string path = dir.Path() + "\\qilo.ini";
  ASSERT_TRUE(ReplaceFileAtomically(path, "[cfg]\r\n"));
  EXPECT_FALSE(Attributes(path) & FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(SetFileHidden(path));
  EXPECT_TRUE(Attributes(path) & FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(ReplaceFileAtomically(path, "[cfg]\r\nprecision=3\r\n"));
  EXPECT_TRUE(Attributes(path) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(FileBytes(path), "[cfg]\r\nprecision=3\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);
  // Hiding again, or a missing file, changes nothing.
  EXPECT_TRUE(SetFileHidden(path));
  EXPECT_FALSE(SetFileHidden(dir.Path() + "\\none"));
}

TEST(WindowsFilesTest, RefusesReadOnlyFilesFoldersAndDevices) {
  TestFolder dir;
  const std::string locked = dir.Path() + "\\locked";
  PutFileBytes(locked, "old");
  ASSERT_TRUE(SetFileAttributesW(fs::path(locked).wstring().c_str(),
                                 FILE_ATTRIBUTE_READONLY));
  fs::create_directory(dir / "folder");
  for (const std::string& path :
       {locked, dir.Path() + "\\folder", std::string("NUL")}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(ReplaceFileAtomically(path, "new"));
  }
  EXPECT_EQ(FileBytes(locked), "old");
  SetFileAttributesW(fs::path(locked).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);

  std::string content = "stale";
  EXPECT_EQ(ReadFileBytes("NUL", &content), ReadResult::kFailed);
  EXPECT_EQ(ReadFileBytes(dir.Path() + "\\folder", &content),
            ReadResult::kFailed);
  EXPECT_EQ(ReadFileBytes(dir.Path() + "\\none", &content),
            ReadResult::kMissing);
  EXPECT_EQ(ReadFileBytes(dir.Path() + "\\none\\x", &content),
            ReadResult::kMissing);
  EXPECT_EQ(content, "");
}

TEST(WindowsFilesTest, GbkNamesReachTheFileSystemAsTheirCharacters) {
  TestFolder dir;
  // "李.ini" in GBK; the file is found under its Unicode name.
  const std::string path = dir.Path() + "\\\xC0\xEE.ini";
  ASSERT_TRUE(ReplaceFileAtomically(path, "x"));
  EXPECT_TRUE(fs::exists(fs::path(dir.Path()) / fs::path(L"\u674E.ini")));
  EXPECT_TRUE(FileExists(path));
  std::string content;
  EXPECT_EQ(ReadFileBytes(path, &content), ReadResult::kOk);
  EXPECT_EQ(content, "x");
}

TEST(WindowsFilesTest,
     ModificationTimeRoundTripsAndAnInterruptedReplaceKeepsTheOld) {
  TestFolder dir;
  const std::string path = dir.Path() + "\\f";
  PutFileBytes(path, "old");
  const FileTime when = std::chrono::system_clock::from_time_t(1600000000);
  ASSERT_TRUE(SetFileModificationTime(path, when));
  ASSERT_TRUE(FileModificationTime(path).has_value());
  EXPECT_EQ(
      std::chrono::floor<std::chrono::seconds>(*FileModificationTime(path)),
      when);
  EXPECT_FALSE(FileModificationTime(dir.Path() + "\\none").has_value());

  SetBeforeRenameHookForTest(
      [](const std::string&) { throw std::runtime_error("crash"); });
  EXPECT_THROW(ReplaceFileAtomically(path, "new"), std::runtime_error);
  SetBeforeRenameHookForTest(nullptr);
  EXPECT_EQ(FileBytes(path), "old");
}

}  // namespace
}  // namespace qilo
