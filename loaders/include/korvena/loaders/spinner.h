#pragma once
// The turning bar both loaders draw at the end of their progress lines.
#include <cstdint>

namespace korvena::loaders {

inline char SpinnerAt(uint32_t step) {
  static constexpr char kBars[] = {'-', '\\', '|', '/'};
  return kBars[step % 4];
}

}  // namespace korvena::loaders
