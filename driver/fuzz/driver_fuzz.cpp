// Any configuration file, any characters an application writes and any
// answers from the device: the driver must keep its host running and answer
// every call with a defined result.
//
// The input is read with FuzzedDataProvider: a flags byte (from the end), the
// INI text, the characters written, then for every frame the driver sends a
// delay and the bytes the device answers with. The identification command is
// answered "0" unless the flags say otherwise, so most runs get past the start.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "korvena/driver/driver.h"
#include "korvena/link/scripted_port.h"

namespace {

using korvena::driver::Driver;

const std::string& ScratchDir() {
  static const std::string dir = [] {
    char name[] = "/tmp/kvorw32-fuzz-XXXXXX";
    return std::string(mkdtemp(name) ? name : "/tmp");
  }();
  return dir;
}

// Every name the driver makes stays inside the scratch folder: without '/'
// a file name cannot leave the folder it is relative to.
std::string InsideScratch(std::string text) {
  std::replace(text.begin(), text.end(), '/', '_');
  return text;
}

void EmptyScratch() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(ScratchDir(), ignored))
    std::filesystem::remove_all(entry.path(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const uint8_t flags = input.ConsumeIntegral<uint8_t>();
  const std::string ini = InsideScratch(input.ConsumeRandomLengthString(4096));
  const std::string typed = InsideScratch(input.ConsumeRandomLengthString(40000));
  std::ofstream(ScratchDir() + "/KVORWXX.INI", std::ios::binary) << ini;

  korvena::VirtualClock clock((flags & 0x01) ? 0xFFFFFF00u : 0u);
  // Coarse steps keep the 30-second and 5-minute waits cheap.
  korvena::ScriptedPort port(clock, (flags & 0x02) ? 1 : 97);
  port.openResult = (flags & 0x04) ? 0 : 1;
  const bool deviceIdentifies = (flags & 0x08) == 0;
  port.onFrame = [&](const std::string& frame) {
    if (deviceIdentifies && frame == "\x1b;IV;0\r") return port.Send("0\r");
    if (input.remaining_bytes() == 0) return;
    const uint16_t delay = input.ConsumeIntegral<uint16_t>();
    port.SendAt(clock.Ticks() + delay, input.ConsumeRandomLengthString(1 << 16));
  };

  Driver driver(port, clock,
                korvena::driver::DriverHost{.iniPath = ScratchDir() + "/KVORWXX.INI",
                                            .workDir = ScratchDir(),
                                            .today = [] { return korvena::LocalDate{2024, 2, 29}; },
                                            .showWarning = [](const std::string&, const std::string&) {},
                    .portLibraryProblem = ""});
  const uint16_t started = (flags & 0x10) ? driver.StartLibProcEx(1, "days", nullptr, "9600", true)
                                          : driver.StartLibProc();
  if (started != 0 && started != 1 && started != 5 && started != 7) __builtin_trap();

  for (const char c : typed) {
    const uint16_t result = driver.Write(static_cast<uint8_t>(c));
    if (!driver.started() && result != 65535) __builtin_trap();
    if (c == '\r')
      for (int i = 0; i < 4 && driver.Read() != 13; ++i) {
      }
  }
  driver.ExitLibProc();
  if (driver.Read() != 255) __builtin_trap();
  EmptyScratch();
  return 0;
}
