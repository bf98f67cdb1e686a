#pragma once
// The firmware file "korvena.fw": two chained images, each after its 32-bit
// little-endian byte length; image 1 for the Mega128, image 2 for the
// Mega1281.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvena::loaders {

inline constexpr char kFirmwareFileName[] = "korvena.fw";
// Far beyond the flash of either processor; a larger file is no firmware.
inline constexpr std::size_t kFirmwareFileLimit = 16u << 20;

struct FirmwareImage {
  int number = 0;  // 1 or 2
  uint32_t size = 0;
  // From the image's first byte to the end of the file: blocks past the
  // image's end carry whatever the file holds after it.
  std::string_view stored;
  uint8_t ChainSeed() const { return static_cast<uint8_t>(size & 0xFF); }
};

struct FirmwareFile {
  enum Status { kRead, kMissing, kUnreadable, kTooShort, kTooLarge };
  Status status = kMissing;
  std::string bytes;

  // Image 1 or 2; only for a file with status kRead.
  FirmwareImage Image(int number) const;
};

// The smallest image that can be firmware for the processor of image
// `number`: its interrupt vector table, which a program for that processor
// begins with at address 0 (35 vectors of 4 bytes on the Mega128, 57 on the
// Mega1281). A shorter image, an empty one above all, would leave the
// device without a program.
uint32_t SmallestFirmwareImage(int number);

// The number of the first image of a well-formed file that is smaller than
// SmallestFirmwareImage, or 0 when both are large enough.
int FirstTooSmallImage(const FirmwareFile& file);

// kRead when `bytes` hold both size fields and both whole images, else
// kTooShort: a cut file would put half an image into the device.
FirmwareFile::Status CheckFirmwareLayout(std::string_view bytes);

// Finds `path` without regard to case, reads it whole and checks its layout.
FirmwareFile ReadFirmwareFile(const std::string& path);

}  // namespace korvena::loaders
