#include "shell/device_values.h"

namespace korvena::kalibro {

void DeviceValues::Set(int number, const std::string& answer) {
  answers_[number] = answer;
  emit Changed(number);
}

std::optional<std::string> DeviceValues::Get(int number) const {
  const auto found = answers_.find(number);
  if (found == answers_.end()) return std::nullopt;
  return found->second;
}

}  // namespace korvena::kalibro
