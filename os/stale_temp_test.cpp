// Leftover temporary files of killed replaces, on both platforms.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "os/files.h"
#include "os/test_folder.h"

namespace qilo {
namespace {

namespace fs = std::filesystem;

TEST(ReplaceFileAtomicallyTest, RemovesOnlyItsOwnOldLeftovers) {
  TestFolder dir;
  ASSERT_FALSE(dir.Path().empty());
  const auto old = std::chrono::system_clock::now() - kStaleTempAge -
                   std::chrono::minutes(5);
  const auto young = std::chrono::system_clock::now() - std::chrono::minutes(5);
  struct Case {
    std::string name;
    bool is_old, folder, kept;
  } cases[] = {
      {".qilo.ini.tmp-4711-1-123456", true, false, false},
      {".qilo.ini.tmp-4712-9-1", true, false, false},
      // A young one may belong to a writer that is about to rename it.
      {".qilo.ini.tmp-4713-1-1", false, false, true},
      // Another file's leftovers wait for a replace of that file.
      {".qiloinfo.ini.tmp-4714-1-1", true, false, true},
      {"qilo.ini.tmp-4715-1-1", true, false, true},
      {".qilo.ini.tmp", true, false, true},
      {".qilo.ini.bak", true, false, true},
      {".qilo.ini.tmp-4716-1-1", true, true, true},
  };
  for (const Case& c : cases) {
    const std::string path = dir / c.name;
    if (c.folder) {
      fs::create_directory(path);
    } else {
      PutFileBytes(path, "[cfg]\r\n");
      ASSERT_TRUE(SetFileModificationTime(path, c.is_old ? old : young));
    }
  }
  ASSERT_TRUE(ReplaceFileAtomically(dir / "qilo.ini", "[cfg]\r\nx=1\r\n"));
  for (const Case& c : cases) {
    EXPECT_EQ(fs::exists(dir / c.name), c.kept) << c.name;
  }
  EXPECT_EQ(FileBytes(dir / "qilo.ini"), "[cfg]\r\nx=1\r\n");
}

}  // namespace
}  // namespace qilo
