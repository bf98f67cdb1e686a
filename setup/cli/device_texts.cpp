#include "device_texts.h"

#include "cli_failure.h"
#include "encodings/unicode_code_pages.h"
#include "korvena/operations/device_text.h"

namespace korvena::cli {

std::string DeviceText(std::string_view utf8, std::string_view what, std::size_t longest) {
  return AsUsageFailure([&] { return operations::DeviceText(utf8, what, longest); });
}

std::string DeviceCommandText(std::string_view utf8, std::string_view what) {
  return AsUsageFailure([&] { return operations::DeviceCommandText(utf8, what); });
}

void CheckDeviceBytes(std::string_view bytes, std::string_view what, std::size_t longest) {
  AsUsageFailure([&] { operations::CheckDeviceBytes(bytes, what, longest); });
}

std::string ShownLine(std::string_view codePage852) { return encodings::CodePage852ToUtf8(codePage852); }

std::string ShownValue(std::string_view bytes) { return encodings::Windows1250ToUtf8(bytes); }

std::string ShownInfo(protocol::InfoForm form, std::string_view answer) {
  return form == protocol::InfoForm::kText852 ? ShownLine(answer) : ShownValue(answer);
}

}  // namespace korvena::cli
