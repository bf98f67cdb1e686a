#pragma once
// Sendrix's run: find the device, send the HTX file packet by packet, then
// its length and sum, and tell on the console how it went. The port, clock
// and console are seams, so tests run it against an emulated device.
#include <ostream>
#include <string>
#include <vector>

#include "korvena/link/loader_link.h"
#include "korvena/loaders/sendrix_arguments.h"

namespace korvena::loaders {

class Sendrix {
 public:
  static constexpr uint32_t kOpenBaud = 9600;
  static constexpr uint32_t kAnswerLimitMs = 500;
  static constexpr uint32_t kPauseBeforeLengthMs = 250;

  Sendrix(Port& port, Clock& clock, std::ostream& console) : port_(port), link_(port, clock), console_(console) {}

  // Everything after the command line.
  void Run(const SendrixSettings& settings);

 private:
  bool Upload();
  bool SendPackets(const std::string& file);
  // A message line, only when output is shown.
  void Say(const std::string& line);

  Port& port_;
  LoaderLink link_;
  std::ostream& console_;
  SendrixSettings settings_;
};

// The whole program from its arguments (without the program name); the
// process exit status.
int RunSendrix(const std::vector<std::string>& arguments, Port& port, Clock& clock, std::ostream& console);

}  // namespace korvena::loaders
