#include "os/home.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

namespace qilo {
namespace {

// Sets (or unsets, for nullopt) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(HomeFolderTest, PrefersHomeDriveAndPathThenHome) {
  const passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  const std::string account_home = user->pw_dir;
  const std::string long_home = "/h/" + std::string(400, 'x');
  struct Case {
    std::optional<std::string> drive, path, home;
    std::string expected;
  } cases[] = {
      {"C:", "\\Users\\li", "/home/li", "C:\\Users\\li"},
      {"", "/srv/li", "/home/li", "/srv/li"},
      {"C:", std::nullopt, "/home/li", "/home/li"},
      {std::nullopt, "\\Users\\li", "/home/li", "/home/li"},
      {"", "", "/home/li", "/home/li"},
      {std::nullopt, std::nullopt, long_home, long_home},
      {std::nullopt, std::nullopt, "/home/\xE6\x9D\x8E", "/home/\xE6\x9D\x8E"},
      {std::nullopt, std::nullopt, "/home/\xED\x95\x9C", "/home/\xED\x95\x9C"},
      {std::nullopt, std::nullopt, "/home/a\\b", "/home/a\\b"},
      {std::nullopt, std::nullopt, "", account_home},
      {std::nullopt, std::nullopt, std::nullopt, account_home},
  };
  for (const Case& c : cases) {
    ScopedEnv drive("HOMEDRIVE", c.drive);
    ScopedEnv path("HOMEPATH", c.path);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(HomeFolder(), c.expected) << c.expected;
  }
}

}  // namespace
}  // namespace qilo
