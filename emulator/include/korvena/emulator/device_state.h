#pragma once
// Everything the emulated device remembers. Each command family reads and
// changes what it needs; add fields here as the device learns new commands.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "korvena/emulator/loader_state.h"
#include "korvena/emulator/sales_records.h"

namespace korvena::emu {

struct DeviceState {
  // Line speed of the device's serial port.
  uint32_t baud = 9600;

  // Answers of the info query ESC ";IV;" n CR, by info number. Info 0
  // answers "0" to the identification.
  std::map<int, std::string> info{{0, "0"}};

  // A command's status that the next query of info 0 reports in place of
  // info 0's own value, once: kept for good it would fail every later
  // identification.
  std::optional<std::string> statusOnce;

  // The service password that TESTPASSWORD checks and the set commands carry.
  std::string servicePassword;

  // Receipts, invoices, cash movements, reports, LDX data and SD-card days.
  SalesRecords sales;

  // Template upload and firmware boot loader.
  LoaderState loader;
};

}  // namespace korvena::emu
