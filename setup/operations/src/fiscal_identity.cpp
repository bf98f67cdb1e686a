#include "korvena/operations/fiscal_identity.h"

#include "korvena/operations/device_integer.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/register_flags.h"

namespace korvena::operations {
namespace {

namespace info = protocol::info;
namespace flag = protocol::flag;

// Each identity value: the command that sets it and the info that reports it.
struct IdentityValue {
  const char* command;
  int info;
  std::string TaxIdentity::*field;
};
constexpr IdentityValue kIdentityValues[] = {
    {"STDIC", info::kDic, &TaxIdentity::dic},
    {"STDKP", info::kDkp, &TaxIdentity::dkp},
    {"STICDPH", info::kIcDph, &TaxIdentity::icDph},
    {"STICO", info::kIco, &TaxIdentity::ico},
};

// The flags STP writes, in the order the device is always sent them.
constexpr uint32_t kStpWriteOrder[] = {flag::kT0,  flag::kT1, flag::kT2,  flag::kAdu,      flag::kTime,
                                       flag::kHv,  flag::kDl, flag::kDph, flag::kNoDisplay, flag::kFile};

// Version numbers above which the printer initialisation and the automatic
// deposit may be changed.
constexpr int32_t kFileFlagAfterVersion = 13021;
constexpr int32_t kDepositFlagAfterVersion = 13022;

const char* OnOff(bool on) { return on ? "1" : "0"; }

}  // namespace

TaxIdentity ReadTaxIdentity(DeviceSession& session) {
  TaxIdentity identity;
  for (const IdentityValue& value : kIdentityValues) identity.*value.field = session.QueryInfo(value.info);
  return identity;
}

TaxIdentityWritten WriteTaxIdentity(DeviceSession& session, const TaxIdentity& identity) {
  TaxIdentityWritten written;
  for (std::size_t i = 0; i < std::size(kIdentityValues); ++i) {
    const IdentityValue& value = kIdentityValues[i];
    const std::string& text = identity.*value.field;
    // An empty value leaves the device's as it is.
    if (text.empty()) continue;
    written.outcome.Send(session, protocol::CommandFrame(value.command, {Password(session), text}));
    written.readBack[i] = session.QueryInfo(value.info);
  }
  return written;
}

std::array<std::optional<int32_t>, 4> ReadVatCoefficients(DeviceSession& session) {
  std::array<std::optional<int32_t>, 4> coefficients;
  for (int rate = 1; rate <= info::kVatRates; ++rate)
    coefficients[static_cast<std::size_t>(rate - 1)] = ParseDeviceInteger(session.QueryInfo(info::VatCoefficient(rate)));
  return coefficients;
}

VatCoefficientsWritten WriteVatCoefficients(DeviceSession& session, const VatCoefficients& coefficients) {
  VatCoefficientsWritten written;
  written.outcome.Send(session, protocol::CommandFrame("STKDPH", {Password(session), std::to_string(coefficients[0]),
                                                                  std::to_string(coefficients[1]),
                                                                  std::to_string(coefficients[2]),
                                                                  std::to_string(coefficients[3])}));
  for (int rate = 1; rate <= info::kVatRates; ++rate)
    written.readBack[static_cast<std::size_t>(rate - 1)] = session.QueryInfo(info::VatCoefficient(rate));
  return written;
}

uint32_t ReadRegisterFlags(DeviceSession& session) {
  return static_cast<uint32_t>(ToInteger(session.QueryInfo(info::kRegisterFlags)));
}

bool RegisterFlagChangeable(uint32_t bit, int32_t deviceVersion) {
  if (bit == flag::kFile) return deviceVersion > kFileFlagAfterVersion;
  if (bit == flag::kAutomaticDeposit) return deviceVersion > kDepositFlagAfterVersion;
  if (bit == flag::kTestMode) return true;
  for (const uint32_t written : kStpWriteOrder)
    if (written == bit) return true;
  return false;
}

RegisterFlagsWritten WriteRegisterFlags(DeviceSession& session, uint32_t current, uint32_t wanted,
                                        const std::string& depositAmount) {
  RegisterFlagsWritten written;
  const auto changed = [&](uint32_t bit) { return ((current ^ wanted) & bit) != 0; };
  const auto on = [&](uint32_t bit) { return (wanted & bit) != 0; };
  for (const uint32_t bit : kStpWriteOrder) {
    if (!changed(bit)) continue;
    for (const protocol::RegisterFlagInfo& entry : protocol::RegisterFlagTable())
      if (entry.bit == bit)
        written.outcome.Send(session, protocol::CommandFrame("STP", {Password(session), entry.stpName, OnOff(on(bit))}));
  }
  if (changed(flag::kTestMode)) written.outcome.Send(session, protocol::CommandFrame("STTEST", {OnOff(on(flag::kTestMode))}));
  if (changed(flag::kAutomaticDeposit)) {
    if (on(flag::kAutomaticDeposit))
      written.outcome.Send(session, protocol::CommandFrame("STAUVKLAD", {Password(session), depositAmount}));
    else
      written.outcome.Send(session, protocol::CommandFrame("STP", {Password(session), "AVV", "0"}));
  }
  written.readBack = session.QueryInfo(info::kRegisterFlags);
  return written;
}

Commissioned Commission(DeviceSession& session) {
  Commissioned done;
  done.outcome.Send(session, protocol::CommandFrame("STUP", {Password(session)}));
  const int numbers[] = {info::kCommissioningDate, info::kLastServiceDate, info::kLastClosingDate,
                         info::kAutomaticClosing};
  for (std::size_t i = 0; i < std::size(numbers); ++i) done.values[i] = {numbers[i], session.QueryInfo(numbers[i])};
  return done;
}

}  // namespace korvena::operations
