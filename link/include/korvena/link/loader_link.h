#pragma once
// The console loaders' copy of the command link: identification and baud
// search always wait a fixed 500 ms for each answer.
#include <cstdint>

#include "korvena/link/command_link.h"

namespace korvena {

class LoaderLink : public CommandLink {
 public:
  static constexpr uint32_t kAnswerLimitMs = 500;

  using CommandLink::CommandLink;

  bool IdentifyDevice() { return CommandLink::IdentifyDevice(kAnswerLimitMs); }
  int32_t FindBaudRate() { return CommandLink::FindBaudRate(kAnswerLimitMs); }
};

}  // namespace korvena
