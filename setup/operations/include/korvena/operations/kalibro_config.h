#pragma once
// Kalibro's settings from "KvorWxx.ini" beside the program (on Linux,
// without one there, /etc/korvena/KvorWxx.ini), section "Setting". Read once at start-up and never written.
#include <cstdint>
#include <string>

namespace korvena::kalibro {

struct KalibroConfig {
  int32_t Com = 1;         // port to pre-select; taken only when 1..10
  int32_t BaudRate = 9600;  // initial PortBaud
  int32_t Timeout = 100;    // TimeoutUnit, already clamped to 100..5000
};

// The configuration file beside the running program.
std::string ConfigFilePath();

// A missing file or key gives its default.
KalibroConfig ReadKalibroConfig(const std::string& path);

// The COM dialog's item for the configured port: 0..9, item 0 when the port
// is out of range.
int ComItemFor(int32_t com);

}  // namespace korvena::kalibro
