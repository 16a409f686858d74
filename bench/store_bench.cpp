#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "os/files.h"
#include "store/link_table.h"
#include "store/profile_store.h"

namespace qilo {
namespace {

// A links file with all 30 entries, in a folder of its own for the run.
class FullLinksFile {
 public:
  FullLinksFile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "qilo-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    path_ = LinksPath(folder_);
    for (int n = 1; n <= kLinkSlots; ++n) {
      const std::string key = std::to_string(n);
      WriteEntry(path_, "info", key, "\xCD\xF8\xD5\xBE " + key);
      WriteEntry(path_, "link", key, "http://www.example.com/links/" + key);
    }
  }
  ~FullLinksFile() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string folder_, path_;
};

void BM_ReadEntry(benchmark::State& state) {
  FullLinksFile file;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadEntry(file.Path(), "link", "30"));
  }
}
BENCHMARK(BM_ReadEntry);

void BM_WriteEntry(benchmark::State& state) {
  FullLinksFile file;
  int i = 0;
  for (auto _ : state) {
    WriteEntry(file.Path(), "link", "25",
               "http://www.example.com/" + std::to_string(++i));
  }
}
BENCHMARK(BM_WriteEntry);

void BM_LoadLinkTable(benchmark::State& state) {
  FullLinksFile file;
  for (auto _ : state) {
    LinkTable table;
    LoadLinkTable(file.Path(), &table);
    benchmark::DoNotOptimize(table);
  }
}
BENCHMARK(BM_LoadLinkTable);

// The floor of the load: one read of the same file, parsed by nobody.
void BM_ReadLinksFileOnce(benchmark::State& state) {
  FullLinksFile file;
  for (auto _ : state) {
    std::string content;
    benchmark::DoNotOptimize(ReadFileBytes(file.Path(), &content));
    benchmark::DoNotOptimize(content);
  }
}
BENCHMARK(BM_ReadLinksFileOnce);

}  // namespace
}  // namespace qilo
