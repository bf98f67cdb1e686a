#include "korvena/driver/command_buffer.h"

namespace korvena::driver {

std::string_view CommandBuffer::Field(std::size_t n) const {
  const std::string_view text = text_;
  std::size_t start = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t separator = text.find(';', start);
    if (separator == std::string_view::npos) return {};
    start = separator + 1;
  }
  const std::size_t end = text.find(';', start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace korvena::driver
