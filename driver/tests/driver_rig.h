#pragma once
// A Driver on an in-process port and a virtual clock, in a scratch folder that
// holds its KVORWXX.INI and receives KORVENA.DBG and the LDX and SD files.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "korvena/driver/driver.h"
#include "korvena/emulator/emulated_port.h"
#include "korvena/link/scripted_port.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::driver::testing {

// Starts just below the 32-bit wrap so deadlines cross it.
inline constexpr uint32_t kNearWrap = 0xFFFFFF00u;
inline constexpr LocalDate kToday{2024, 3, 7};

// The delimiter the driver puts between a folder and a name.
#if defined(_WIN32)
inline constexpr const char* kDelimiter = "\\";
#else
inline constexpr const char* kDelimiter = "/";
#endif

// What a missing file reads as in the assertions.
inline constexpr const char* kMissing = "<missing>";

// What every rig shares: the folder, the clock and the recorded warnings.
struct RigBase {
  ScratchFolder dir;
  VirtualClock clock{kNearWrap};
  std::vector<std::pair<std::string, std::string>> warnings;  // caption, text

  // Transfers are cut at `transferLimitBytes`.
  DriverHost Host(std::size_t transferLimitBytes = kTransferLimitBytes) {
    return DriverHost{.iniPath = dir / "KVORWXX.INI",
                      .workDir = dir.path(),
                      .today = [] { return kToday; },
                      .showWarning = [this](const std::string& caption,
                                            const std::string& text) { warnings.emplace_back(caption, text); },
                      .portLibraryProblem = "",
                      .transferLimitBytes = transferLimitBytes};
  }
  void Ini(const std::string& settings) { dir.Write("KVORWXX.INI", "[Setting]\r\n" + settings); }
};

// Feeds `text` character by character; the result of the last character.
uint16_t Type(Driver& driver, std::string_view text);
// Reads the answer buffer up to and including the first CR (at most 100 calls).
std::vector<int> ReadAll(Driver& driver);

// The driver on a scripted peer: `replies` maps each command frame the driver
// writes (ESC to CR) to the bytes the peer sends back; the identification
// command answers "0" unless replaced.
struct ScriptedRig : RigBase {
  ScriptedPort port{clock};
  std::map<std::string, std::string> replies{{"\x1b;IV;0\r", "0\r"}};
  Driver driver;

  explicit ScriptedRig(std::size_t transferLimitBytes = kTransferLimitBytes)
      : driver(port, clock, Host(transferLimitBytes)) {
    port.onFrame = [this](const std::string& frame) {
      const auto reply = replies.find(frame);
      if (reply != replies.end()) port.Send(reply->second);
    };
  }
  // StartLibProc with `settings`, expected to succeed; clears what it wrote.
  void Start(const std::string& settings = "");
  uint16_t Type(std::string_view text) { return testing::Type(driver, text); }
};

// The driver on the emulated device.
struct EmulatedRig : RigBase {
  explicit EmulatedRig(emu::DeviceSettings settings = {}) : device(settings) {}
  emu::Device device;
  emu::EmulatedPort port{device, clock};
  Driver driver{port, clock, Host()};

  void Start(const std::string& settings = "");
  uint16_t Type(std::string_view text) { return testing::Type(driver, text); }
};

}  // namespace korvena::driver::testing
