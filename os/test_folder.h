#pragma once

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qilo {

// For tests: a fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TestFolder {
 public:
  TestFolder() {
    // A name no other test run picks, made where nothing stood.
    static unsigned counter = 0;
    const auto tick =
        std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const std::filesystem::path candidate =
          std::filesystem::temp_directory_path() /
          ("qilo-test-" + std::to_string(tick) + "-" +
           std::to_string(++counter));
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) {
        path_ = candidate.generic_string();
      }
    }
  }
  ~TestFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // Empty when the folder could not be made.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const {
    return path_ + "/" + name;
  }

 private:
  std::string path_;
};

// Sets (or with nullptr removes) an environment variable for the test.
inline void SetTestEnv(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value == nullptr ? "" : value);
#else
  if (value == nullptr) {
    unsetenv(name);
  } else {
    setenv(name, value, 1);
  }
#endif
}

// The whole file as bytes; empty when it cannot be read.
inline std::string FileBytes(const std::string& native_path) {
  std::ifstream in(native_path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void PutFileBytes(const std::string& native_path,
                         const std::string& bytes) {
  std::ofstream(native_path, std::ios::binary) << bytes;
}

}  // namespace qilo
