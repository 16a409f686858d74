#pragma once

#include <stdlib.h>

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
    std::string pattern =
        (std::filesystem::temp_directory_path() / "qilo-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
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
