#include "korvena/operations/device_text.h"

#include "encodings/unicode_code_pages.h"
#include "korvena/operations/invalid_input.h"

namespace korvena::operations {
namespace {

std::string InCodePage852(std::string_view utf8, std::string_view what) {
  encodings::Encoded encoded = encodings::Utf8ToCodePage852(utf8);
  if (!encoded.ok())
    FailInvalidInput(std::string(what) + ": the device's code page 852 has no \"" + encoded.missing + "\"");
  return std::move(encoded.bytes);
}

void CheckNoControlBytes(std::string_view bytes, std::string_view what) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      FailInvalidInput(std::string(what) + ": the device cannot take control characters in a text");
}

}  // namespace

std::string DeviceText(std::string_view utf8, std::string_view what, std::size_t longest) {
  std::string bytes = InCodePage852(utf8, what);
  CheckDeviceBytes(bytes, what, longest);
  return bytes;
}

std::string DeviceCommandText(std::string_view utf8, std::string_view what) {
  std::string bytes = InCodePage852(utf8, what);
  CheckNoControlBytes(bytes, what);
  return bytes;
}

void CheckDeviceBytes(std::string_view bytes, std::string_view what, std::size_t longest) {
  if (bytes.size() > longest)
    FailInvalidInput(std::string(what) + ": " + std::to_string(bytes.size()) +
                     " characters, the device takes at most " + std::to_string(longest));
  if (bytes.find(';') != std::string_view::npos)
    FailInvalidInput(std::string(what) + ": the device cannot take \";\" in a text");
  CheckNoControlBytes(bytes, what);
}

}  // namespace korvena::operations
