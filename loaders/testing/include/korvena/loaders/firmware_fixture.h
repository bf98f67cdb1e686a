#pragma once
// Firmware files built from plain images, the way the firmware's maker
// stores them, so tests can compare what a device received with the plain
// image they started from.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvena::loaders::testing {

// A plain image of `size` bytes whose content depends on `seed`.
std::string SampleImage(std::size_t size, uint32_t seed);

// The stored form: each stored byte is the plain byte XOR the stored byte
// before it; the first one is XORed with the low byte of the size.
std::string ChainImage(std::string_view plain);

// A whole firmware file: size1, image 1, size2, image 2, both chained.
std::string MakeFirmwareFile(std::string_view image1, std::string_view image2);

// The 4 little-endian bytes of a size field.
std::string SizeField(uint32_t size);

}  // namespace korvena::loaders::testing
