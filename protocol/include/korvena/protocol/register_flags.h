#pragma once
// The register flags: the bits of info 1, the names STP sets them by, and
// what each means. Some only the device itself sets (the fault flags among
// them).
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvena::protocol {

namespace flag {
inline constexpr uint32_t kT0 = 1;
inline constexpr uint32_t kT1 = 2;
inline constexpr uint32_t kT2 = 4;
inline constexpr uint32_t kTime = 16;
inline constexpr uint32_t kHv = 32;
inline constexpr uint32_t kFile = 64;
inline constexpr uint32_t kDl = 128;
inline constexpr uint32_t kServiceDue = 256;
inline constexpr uint32_t kDisplayDisconnected = 512;
inline constexpr uint32_t kPrinterDisconnected = 1024;
inline constexpr uint32_t kFiscalMemoryDisconnected = 2048;
inline constexpr uint32_t kDph = 4096;
inline constexpr uint32_t kAdu = 8192;
inline constexpr uint32_t kDailyClosing = 16384;
inline constexpr uint32_t kInitialisation = 32768;
inline constexpr uint32_t kTestMode = 65536;
inline constexpr uint32_t kCommissioned = 131072;
inline constexpr uint32_t kNoDisplay = 262144;
inline constexpr uint32_t kAutomaticDeposit = 524288;
}  // namespace flag

struct RegisterFlagInfo {
  uint32_t bit;
  std::string_view name;     // English, for JSON and the command line
  std::string_view stpName;  // the name STP sets it by; "" when STP does not
  std::string_view meaning;
};

// Every flag, by ascending bit.
std::span<const RegisterFlagInfo> RegisterFlagTable();

// The flag named `name` (its English or its STP name, without regard to case).
std::optional<RegisterFlagInfo> FindRegisterFlag(std::string_view name);

}  // namespace korvena::protocol
