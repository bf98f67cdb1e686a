#pragma once
// The characters of one command, collected until its CR.
#include <cstddef>
#include <string>
#include <string_view>

namespace korvena::driver {

class CommandBuffer {
 public:
  // Characters past this many are dropped until the next CR.
  static constexpr std::size_t kCapacity = 32768;

  CommandBuffer() { text_.reserve(kCapacity); }

  void Append(char c) {
    if (text_.size() < kCapacity) text_.push_back(c);
  }
  void Clear() { text_.clear(); }
  const std::string& text() const { return text_; }

  // Field n: the text after the n-th ';' up to the next ';' or the end; field
  // 0 is what comes before the first ';'. "" when the buffer has fewer fields.
  std::string_view Field(std::size_t n) const;

 private:
  std::string text_;
};

}  // namespace korvena::driver
