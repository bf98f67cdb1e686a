#include "korvena/loaders/firmware_file.h"

#include "korvena/platform/whole_files.h"

namespace korvena::loaders {
namespace {

constexpr std::size_t kSizeFieldLength = 4;

uint32_t LittleEndian32(std::string_view bytes, std::size_t offset) {
  uint32_t value = 0;
  for (std::size_t i = 0; i < kSizeFieldLength; ++i)
    value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
  return value;
}

}  // namespace

FirmwareFile::Status CheckFirmwareLayout(std::string_view bytes) {
  // 64-bit offsets: size fields near 4 GiB must not wrap.
  if (bytes.size() < kSizeFieldLength) return FirmwareFile::kTooShort;
  const uint64_t secondField = kSizeFieldLength + uint64_t{LittleEndian32(bytes, 0)};
  if (bytes.size() < secondField + kSizeFieldLength) return FirmwareFile::kTooShort;
  const uint64_t end = secondField + kSizeFieldLength + LittleEndian32(bytes, static_cast<std::size_t>(secondField));
  return bytes.size() < end ? FirmwareFile::kTooShort : FirmwareFile::kRead;
}

uint32_t SmallestFirmwareImage(int number) { return number == 1 ? 35 * 4 : 57 * 4; }

int FirstTooSmallImage(const FirmwareFile& file) {
  for (const int number : {1, 2})
    if (file.Image(number).size < SmallestFirmwareImage(number)) return number;
  return 0;
}

FirmwareImage FirmwareFile::Image(int number) const {
  const uint32_t size1 = LittleEndian32(bytes, 0);
  if (number == 1) return {1, size1, std::string_view(bytes).substr(kSizeFieldLength)};
  const std::size_t secondField = kSizeFieldLength + size1;
  return {2, LittleEndian32(bytes, secondField), std::string_view(bytes).substr(secondField + kSizeFieldLength)};
}

FirmwareFile ReadFirmwareFile(const std::string& path) {
  FileContents contents = ReadWholeFile(path, kFirmwareFileLimit);
  FirmwareFile file;
  switch (contents.status) {
    case FileContents::kMissing: file.status = FirmwareFile::kMissing; break;
    case FileContents::kUnreadable: file.status = FirmwareFile::kUnreadable; break;
    case FileContents::kTooLarge: file.status = FirmwareFile::kTooLarge; break;
    case FileContents::kRead: file.status = CheckFirmwareLayout(contents.bytes); break;
  }
  if (file.status == FirmwareFile::kRead) file.bytes = std::move(contents.bytes);
  return file;
}

}  // namespace korvena::loaders
