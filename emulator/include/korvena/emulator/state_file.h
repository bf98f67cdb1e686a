#pragma once
// The device's settings and totals in a file, so a device configured by a
// program is still configured after the emulator restarts: the info values,
// the service password, the day's counters and the recorded daily closings.
// One "name=value" line each (a line per closing); values are bytes (texts
// in code page 852), with '%', '=', control bytes and bytes from 0x7F up
// written as %XX.
#include <optional>
#include <string>

#include "korvena/emulator/device_state.h"

namespace korvena::emu {

std::string SerializeState(const DeviceState& state);

// Applies the lines of `text` to `state`; lines it does not know are left
// out. False when a line is not name=value or a value is badly escaped
// (`state` is then untouched).
bool ApplySerializedState(const std::string& text, DeviceState& state);

// The state file of one emulator run.
class StateFile {
 public:
  explicit StateFile(std::string path) : path_(std::move(path)) {}

  // Loads the file into `state`; true when there was none yet. False, with
  // `error` set, when it exists but cannot be read or understood.
  bool Load(DeviceState& state, std::string& error);
  // Writes the file whole when `state` differs from what was last written.
  // False when the write failed (the old file is then unchanged).
  bool SaveIfChanged(const DeviceState& state);

 private:
  std::string path_;
  std::string written_;
};

}  // namespace korvena::emu
