#pragma once

#include <cstdlib>
#include <string_view>

// Reads values off a harness's input bytes, zeros once they run out, so
// that every input, however short, makes a case.
class FuzzBytes {
 public:
  explicit FuzzBytes(std::string_view data) : data_(data) {}
  unsigned Next() {
    if (data_.empty()) return 0;
    const auto b = static_cast<unsigned char>(data_.front());
    data_.remove_prefix(1);
    return b;
  }
  // A value from 0 to n - 1 out of the next two bytes.
  unsigned Below(unsigned n) { return (Next() << 8 | Next()) % n; }
  bool Empty() const { return data_.empty(); }

 private:
  std::string_view data_;
};

// Stops the harness where a property fails: libFuzzer keeps the input.
inline void Require(bool holds) {
  if (!holds) std::abort();
}
