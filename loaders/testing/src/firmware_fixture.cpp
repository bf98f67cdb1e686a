#include "korvena/loaders/firmware_fixture.h"

namespace korvena::loaders::testing {

std::string SampleImage(std::size_t size, uint32_t seed) {
  std::string image(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (char& byte : image) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<char>(state >> 24);
  }
  return image;
}

std::string ChainImage(std::string_view plain) {
  std::string stored(plain.size(), '\0');
  auto previous = static_cast<uint8_t>(plain.size() & 0xFF);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    previous = static_cast<uint8_t>(static_cast<uint8_t>(plain[i]) ^ previous);
    stored[i] = static_cast<char>(previous);
  }
  return stored;
}

std::string SizeField(uint32_t size) {
  std::string field;
  for (int i = 0; i < 4; ++i) field.push_back(static_cast<char>((size >> (8 * i)) & 0xFF));
  return field;
}

std::string MakeFirmwareFile(std::string_view image1, std::string_view image2) {
  return SizeField(static_cast<uint32_t>(image1.size())) + ChainImage(image1) +
         SizeField(static_cast<uint32_t>(image2.size())) + ChainImage(image2);
}

}  // namespace korvena::loaders::testing
