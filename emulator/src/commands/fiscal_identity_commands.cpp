// What the device stores about its owner and its own operating state: the
// tax identity (DIČ, DKP, IČ DPH, IČO), the four VAT coefficients, the
// register of operating flags with test mode and the automatic deposit, and
// commissioning. Every value lives in the info table, where the info query
// reports it and a saved state keeps it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "korvena/platform/decimal_text.h"
#include "model/device_dates.h"
#include "model/sales_info.h"

namespace korvena::emu {
namespace {

constexpr int kInfoRegister = 1;
constexpr int kInfoCommissioningDate = 16;
// The amount of the automatic deposit. No program reads it back; the device
// keeps it beside the other values so a saved state holds it too.
constexpr int kInfoAutomaticDeposit = 66;

constexpr uint32_t kTestModeBit = 65536;
constexpr uint32_t kCommissionedBit = 131072;
constexpr uint32_t kAutomaticDepositBit = 524288;

constexpr int64_t kLargestVatCoefficient = 10000;  // 100.00 %
// Digits before and after the point of an automatic deposit amount.
constexpr std::size_t kAmountWholeDigits = 8;
constexpr std::size_t kAmountDecimals = 2;

// An identity value: the command that sets it, where it is kept, how long it may be.
struct IdentityField {
  const char* command;
  int info;
  std::size_t longest;
};

constexpr IdentityField kIdentityFields[] = {
    {"STDIC", 3, 16},
    {"STDKP", 2, 17},
    {"STICDPH", 4, 16},
    {"STICO", 9, 16},
};

// The flags STP may set or clear, by the name it takes. The others (service
// check, disconnections, daily closing, initialisation) are the device's own
// doing; test mode has a command of its own. Commissioning is set only by
// STUP; STP may only clear it, before an older fiscal memory is paired.
struct RegisterFlag {
  const char* name;
  uint32_t bit;
  bool clearOnly = false;
};

constexpr RegisterFlag kSettableFlags[] = {
    {"T0", 1},
    {"T1", 2},
    {"T2", 4},
    {"TIME", 16},
    {"HV", 32},
    {"FILE", 64},
    {"DL", 128},
    {"DPH", 4096},
    {"ADU", 8192},
    {"NODISP", 262144},
    {"AVV", kAutomaticDepositBit},
    {"UDP", kCommissionedBit, true},
};

// The command has exactly `count` arguments.
bool HasArguments(const Command& command, std::size_t count) { return command.ArgCount() == count; }

// "1" sets, "0" clears; anything else is no switch.
std::optional<bool> Switch(const std::string& text) {
  if (text == "1") return true;
  if (text == "0") return false;
  return std::nullopt;
}

uint32_t Register(const DeviceState& state) {
  const auto value = state.info.find(kInfoRegister);
  if (value == state.info.end()) return 0;
  return static_cast<uint32_t>(DecimalDigits(value->second, UINT32_MAX).value_or(0));
}

void ChangeRegister(DeviceState& state, uint32_t bit, bool set) {
  const uint32_t flags = Register(state);
  state.info[kInfoRegister] = std::to_string(set ? flags | bit : flags & ~bit);
}

// Digits with at most one point and two decimals after it ("150", "99.90").
bool IsAmount(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  if (whole.size() > kAmountWholeDigits || !DecimalDigits(whole, UINT64_MAX)) return false;
  if (point == std::string_view::npos) return true;
  const std::string_view decimals = text.substr(point + 1);
  return decimals.size() <= kAmountDecimals && DecimalDigits(decimals, UINT64_MAX).has_value();
}

// ESC ";STDIC;" password ";" value CR and its three siblings: the text is
// kept as sent, code page 852 bytes.
void SetIdentity(Device& device, const Command& command, const IdentityField& field) {
  if (!PasswordAccepted(device, command)) return;
  if (!HasArguments(command, 2) || command.Arg(1).size() > field.longest) return Answer(device, kBadArgument);
  device.state().info[field.info] = command.Arg(1);
  Answer(device, kDone);
}

// ESC ";STKDPH;" password ";" k1 ";" k2 ";" k3 ";" k4 CR, each 0..10000 in
// units of 0.01 %. All four or none.
void SetVatCoefficients(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  constexpr std::size_t kRates = 4;
  if (!HasArguments(command, 1 + kRates)) return Answer(device, kBadArgument);
  uint64_t coefficients[kRates] = {};
  for (std::size_t k = 0; k < kRates; ++k) {
    const auto value = DecimalDigits(command.Arg(1 + k), kLargestVatCoefficient);
    if (!value) return Answer(device, kBadArgument);
    coefficients[k] = *value;
  }
  for (std::size_t k = 0; k < kRates; ++k)
    device.state().info[10 + static_cast<int>(k)] = std::to_string(coefficients[k]);
  Answer(device, kDone);
}

// ESC ";STP;" password ";" flag ";" 1 or 0 CR.
void SetRegisterFlag(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  const std::optional<bool> set = Switch(command.Arg(2));
  if (!HasArguments(command, 3) || !set) return Answer(device, kBadArgument);
  for (const RegisterFlag& flag : kSettableFlags) {
    if (command.Arg(1) != flag.name) continue;
    if (*set && flag.clearOnly) break;
    ChangeRegister(device.state(), flag.bit, *set);
    return Answer(device, kDone);
  }
  Answer(device, kBadArgument);
}

// ESC ";STTEST;" 1 or 0 CR: the one register command without a password.
void SetTestMode(Device& device, const Command& command) {
  const std::optional<bool> set = Switch(command.Arg(0));
  if (!HasArguments(command, 1) || !set) return Answer(device, kBadArgument);
  ChangeRegister(device.state(), kTestModeBit, *set);
  Answer(device, kDone);
}

// ESC ";STAUVKLAD;" password ";" amount CR switches the automatic deposit on;
// an empty amount is taken as it comes.
void SetAutomaticDeposit(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  if (!HasArguments(command, 2)) return Answer(device, kBadArgument);
  const std::string& amount = command.Arg(1);
  if (!amount.empty() && !IsAmount(amount)) return Answer(device, kBadArgument);
  device.state().info[kInfoAutomaticDeposit] = amount;
  ChangeRegister(device.state(), kAutomaticDepositBit, true);
  Answer(device, kDone);
}

// ESC ";STUP;" password CR puts the device into fiscal operation, once: the
// dates from then on start today.
void Commission(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  if (!HasArguments(command, 1)) return Answer(device, kBadArgument);
  DeviceState& state = device.state();
  if (Register(state) & kCommissionedBit) return Answer(device, kWrongState);
  ChangeRegister(state, kCommissionedBit, true);
  const std::string today = TodayText();
  for (const int info : {kInfoCommissioningDate, kInfoLastClosingDate, kInfoNextClosingDate})
    state.info[info] = today;
  Answer(device, kDone);
}

}  // namespace

void RegisterFiscalIdentityCommands(Device& device) {
  for (const IdentityField& field : kIdentityFields)
    device.Register(field.command,
                    [&field](Device& target, const Command& command) { SetIdentity(target, command, field); });
  device.Register("STKDPH", SetVatCoefficients);
  device.Register("STP", SetRegisterFlag);
  device.Register("STTEST", SetTestMode);
  device.Register("STAUVKLAD", SetAutomaticDeposit);
  device.Register("STUP", Commission);
}

}  // namespace korvena::emu
