#pragma once
// Firmware images are stored chained: each stored byte is XORed with the one
// stored before it to give the byte the device gets, and the first one with
// the low byte of the image's size.
#include <cstdint>
#include <string_view>

namespace korvena::loaders {

class XorChain {
 public:
  // `stored` runs from the image's first byte to the end of the file.
  // The chain only looks at the bytes: they must outlive it.
  XorChain(std::string_view stored, uint8_t seed) : stored_(stored), previous_(seed) {}

  // The next byte to send; 0 once the file has ended.
  uint8_t Next();

 private:
  std::string_view stored_;
  std::size_t next_ = 0;
  uint8_t previous_;
};

}  // namespace korvena::loaders
