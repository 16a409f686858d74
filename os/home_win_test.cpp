#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "os/home.h"
#include "os/test_folder.h"

namespace qilo {
namespace {

void SetWideEnv(const wchar_t* name, const std::wstring& value) {
  _wputenv_s(name, value.c_str());
}

TEST(WindowsHomeFolderTest, ExpandsHomeDriveAndHomePathIntoGbk) {
  const struct {
    std::wstring drive, path;
    std::string expected;
  } kCases[] = {
      {L"C:", L"\\Users\\li", "C:\\Users\\li"},
      {L"D:", L"\\\u7528\u6237\\\u674E", "D:\\\xD3\xC3\xBB\xA7\\\xC0\xEE"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.expected);
    SetWideEnv(L"HOMEDRIVE", c.drive);
    SetWideEnv(L"HOMEPATH", c.path);
    EXPECT_EQ(HomeFolder(), c.expected);
  }
}

TEST(WindowsHomeFolderTest, AFolderNamedOutsideGbkIsTakenByItsShortName) {
  TestFolder dir;
  // A Thai letter: GBK has no byte form for it.
  const std::filesystem::path home =
      std::filesystem::path(dir.Path()) / std::filesystem::path(L"\u0E01home");
  ASSERT_TRUE(std::filesystem::create_directory(home));
  const std::wstring wide = home.wstring();
  SetWideEnv(L"HOMEDRIVE", wide.substr(0, 2));
  SetWideEnv(L"HOMEPATH", wide.substr(2));
  const std::string found = HomeFolder();
  EXPECT_EQ(found.find('?'), std::string::npos) << found;
  // The short name names the same folder.
  PutFileBytes(found + "\\probe", "x");
  EXPECT_TRUE(std::filesystem::exists(home / "probe"));
}

}  // namespace
}  // namespace qilo
