#pragma once
// The command line of korvena-emu. Every option is one row of a table in
// emu_options.cpp, so a new device switch is one new row.
#include <map>
#include <string>
#include <vector>

#include "korvena/emulator/device.h"

namespace korvena::emu {

struct EmuOptions {
  DeviceSettings device;
  int com = 1;               // n of the KORVPORT_COM<n>= line printed at start
  bool pace = false;         // send and receive at the line rate, as a real line would
  std::string linkPath;      // a symbolic link to the pseudo-terminal, when given
  std::string journalPath;   // where printed documents go; standard error when empty
  std::string statePath;     // the device's settings and totals across restarts, when given
  std::string logPath;       // every byte on the line, one frame per line, when given
  std::map<int, std::string> info;  // info values set from the command line
  bool help = false;
};

// Fills `options` from the arguments (without the program name). False with
// a message in `error` for an unknown option or a bad value.
bool ParseEmuOptions(const std::vector<std::string>& arguments, EmuOptions& options, std::string& error);

std::string EmuUsage();

}  // namespace korvena::emu
