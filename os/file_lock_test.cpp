#include "os/file_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <utility>

#include "os/files.h"
#include "os/test_folder.h"

namespace qilo {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Takes the lock from another thread, as a second copy of the program would:
// whether it was held, and how long the attempt took.
std::pair<bool, milliseconds> LockElsewhere(const std::string& path,
                                            milliseconds wait) {
  return std::async(std::launch::async,
                    [&] {
                      const auto start = steady_clock::now();
                      const FileUpdateLock lock(path, wait);
                      return std::make_pair(
                          lock.Held(), std::chrono::duration_cast<milliseconds>(
                                           steady_clock::now() - start));
                    })
      .get();
}

TEST(FileUpdateLockTest, KeepsASecondWriterWaitingOnlyWhileHeld) {
  TestFolder dir;
  ASSERT_FALSE(dir.Path().empty());
  const std::string ini = PathInFolder(dir.Path(), "qilo.ini");
  {
    const FileUpdateLock first(ini);
    ASSERT_TRUE(first.Held());
    const auto [held, took] = LockElsewhere(ini, milliseconds(150));
    EXPECT_FALSE(held);
    EXPECT_GE(took.count(), 140);
    EXPECT_LT(took.count(), 2000);
  }
  const auto [held, took] = LockElsewhere(ini, milliseconds(2000));
  EXPECT_TRUE(held);
  EXPECT_LT(took.count(), 500);
}

TEST(FileUpdateLockTest, AWaitingWriterGetsTheLockWhenTheHolderLetsGo) {
  TestFolder dir;
  const std::string ini = PathInFolder(dir.Path(), "qiloinfo.ini");
  auto first = std::make_unique<FileUpdateLock>(ini);
  ASSERT_TRUE(first->Held());
  auto waiter = std::async(std::launch::async, [&] {
    const FileUpdateLock second(ini, milliseconds(5000));
    return second.Held();
  });
  EXPECT_EQ(waiter.wait_for(milliseconds(100)), std::future_status::timeout);
  first.reset();
  EXPECT_TRUE(waiter.get());
}

#ifndef _WIN32
// A folder that is not there has nothing to lock; the write after it fails.
// (Windows names its lock after the path, so it has one either way.)
TEST(FileUpdateLockTest, MissingFolderGivesNoLockAndNoWait) {
  TestFolder dir;
  const auto start = steady_clock::now();
  const FileUpdateLock lock(dir / "none/qilo.ini");
  EXPECT_FALSE(lock.Held());
  EXPECT_LT(steady_clock::now() - start, milliseconds(500));
}
#endif

}  // namespace
}  // namespace qilo
