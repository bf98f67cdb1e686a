// Commands the template and firmware loaders rely on: STHTX packets and the
// STHTXLEN check that completes a template, and RESET into the boot loader.
#include <optional>
#include <string_view>

#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "korvena/platform/decimal_text.h"
#include "model/boot_loader.h"
#include "persistence/load_dump.h"

namespace korvena::emu {
namespace {

constexpr std::size_t kPacketSize = 8;
constexpr std::size_t kHtxCapacity = 65536;
// The console loader has no login and always sends this password.
constexpr std::string_view kConsoleLoaderPassword = "846";

std::optional<uint32_t> DecimalArgument(const std::string& text) {
  const auto value = DecimalDigits(text, UINT32_MAX);
  if (!value) return std::nullopt;
  return static_cast<uint32_t>(*value);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The 8 bytes of a packet written as 16 hexadecimal digits.
std::optional<std::string> PacketBytes(const std::string& hex) {
  if (hex.size() != 2 * kPacketSize) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]);
    const int low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(high << 4 | low));
  }
  return bytes;
}

uint32_t ByteSum(std::string_view bytes) {
  uint32_t sum = 0;
  for (const char c : bytes) sum += static_cast<uint8_t>(c);
  return sum;
}

// The template commands take the service password (the service program's
// login) or the console loader's fixed one; others are answered 512.
bool LoaderPasswordAccepted(Device& device, const Command& command) {
  return command.Arg(0) == kConsoleLoaderPassword || PasswordAccepted(device, command);
}

// The switch that makes the first packets ask to be sent again, as if
// spoilt on the line.
bool AskAgainBySwitch(Device& device) {
  LoaderState& state = device.state().loader;
  if (state.htxPacketsAskedAgain >= device.settings().loader.htxResends) return false;
  ++state.htxPacketsAskedAgain;
  Answer(device, kSendAgain);
  return true;
}

// ESC ";STHTX;" password ";" number ";" hex ";" sum. Packets must come in
// order; packet 0 starts a new template.
void StoreHtxPacket(Device& device, const Command& command) {
  if (!LoaderPasswordAccepted(device, command) || AskAgainBySwitch(device)) return;
  const auto number = DecimalArgument(command.Arg(1));
  const auto bytes = PacketBytes(command.Arg(2));
  const auto sum = DecimalArgument(command.Arg(3));
  if (!number || !bytes || !sum || *sum != ByteSum(*bytes) % 256) {
    Answer(device, kSendAgain);
    return;
  }
  LoaderState& state = device.state().loader;
  if (*number == 0) {
    state.htxIncoming.clear();
    state.htxNextPacket = 0;
  }
  if (*number != state.htxNextPacket || state.htxIncoming.size() + kPacketSize > kHtxCapacity) {
    Answer(device, kBadArgument);
    return;
  }
  state.htxIncoming += *bytes;
  ++state.htxNextPacket;
  Answer(device, kDone);
}

// ESC ";STHTXLEN;" password ";" size ";" sum: the template is the first
// `size` bytes of the packets when their sum matches. The console loader
// sends a 16-bit sum, the service program only its low byte; both are taken.
void CompleteHtx(Device& device, const Command& command) {
  if (!LoaderPasswordAccepted(device, command)) return;
  LoaderState& state = device.state().loader;
  const auto size = DecimalArgument(command.Arg(1));
  const auto sum = DecimalArgument(command.Arg(2));
  const bool sized = size && sum && *size <= state.htxIncoming.size();
  const std::string htx = sized ? state.htxIncoming.substr(0, *size) : std::string();
  const uint32_t total = ByteSum(htx) % 65536;
  state.htxIncoming.clear();
  state.htxNextPacket = 0;
  if (!sized || (*sum != total && *sum != total % 256)) {
    Answer(device, kBadArgument);
    return;
  }
  state.htx = htx;
  Answer(device, kDone);
  DumpLoad(device, "htx.bin", state.htx);
}

// The answer goes out at the old speed, before the restart.
void Reset(Device& device, const Command&) {
  Answer(device, kDone);
  EnterBootLoader(device);
}

}  // namespace

void RegisterLoaderCommands(Device& device) {
  device.Register("STHTX", StoreHtxPacket);
  device.Register("STHTXLEN", CompleteHtx);
  device.Register("RESET", Reset);
  if (device.settings().loader.startInBootLoader) EnterBootLoader(device);
}

}  // namespace korvena::emu
