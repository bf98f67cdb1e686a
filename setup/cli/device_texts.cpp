#include "device_texts.h"

#include "cli_failure.h"
#include "encodings/unicode_code_pages.h"

namespace korvena::cli {
namespace {

std::string InCodePage852(std::string_view utf8, std::string_view what) {
  encodings::Encoded encoded = encodings::Utf8ToCodePage852(utf8);
  if (!encoded.ok()) FailInvalid(std::string(what) + ": the device's code page 852 has no \"" + encoded.missing + "\"");
  return std::move(encoded.bytes);
}

void CheckNoControlBytes(std::string_view bytes, std::string_view what) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      FailInvalid(std::string(what) + ": the device cannot take control characters in a text");
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
    FailInvalid(std::string(what) + ": " + std::to_string(bytes.size()) + " characters, the device takes at most " +
                std::to_string(longest));
  if (bytes.find(';') != std::string_view::npos)
    FailInvalid(std::string(what) + ": the device cannot take \";\" in a text");
  CheckNoControlBytes(bytes, what);
}

std::string ShownLine(std::string_view codePage852) { return encodings::CodePage852ToUtf8(codePage852); }

std::string ShownValue(std::string_view bytes) { return encodings::Windows1250ToUtf8(bytes); }

std::string ShownInfo(protocol::InfoForm form, std::string_view answer) {
  return form == protocol::InfoForm::kText852 ? ShownLine(answer) : ShownValue(answer);
}

}  // namespace korvena::cli
