#pragma once
// The tax identity, the VAT coefficients, the register flags and the
// commissioning. Texts are bytes as the device keeps them.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "korvena/operations/outcome.h"

namespace korvena::operations {

// In the order the identity dialog shows them and the writes go.
struct TaxIdentity {
  std::string dic;    // info 3, STDIC
  std::string dkp;    // info 2, STDKP
  std::string icDph;  // info 4, STICDPH
  std::string ico;    // info 9, STICO
};

TaxIdentity ReadTaxIdentity(DeviceSession& session);

struct TaxIdentityWritten {
  Outcome outcome;
  // Each value sent (an empty one is left as the device has it), read back
  // right after its command; empty where nothing was sent.
  std::array<std::optional<std::string>, 4> readBack;  // dic, dkp, icDph, ico
};
TaxIdentityWritten WriteTaxIdentity(DeviceSession& session, const TaxIdentity& identity);

// The four VAT coefficients in 0.01 %, rates 1..4.
using VatCoefficients = std::array<int32_t, 4>;
inline constexpr int32_t kHighestVatCoefficient = 10000;  // 100.00 %

// Info 10..13; nullopt for a rate whose value is no integer.
std::array<std::optional<int32_t>, 4> ReadVatCoefficients(DeviceSession& session);

struct VatCoefficientsWritten {
  Outcome outcome;
  std::array<std::string, 4> readBack;  // info 10..13 after the write, as answered
};
// STKDPH with all four, then reads them back. Values outside 0..10000 are
// the caller's to refuse before (see ValidVatCoefficient).
VatCoefficientsWritten WriteVatCoefficients(DeviceSession& session, const VatCoefficients& coefficients);
constexpr bool ValidVatCoefficient(int32_t value) { return value >= 0 && value <= kHighestVatCoefficient; }

// Info 1; throws ConversionError (device_integer.h) when the answer is no number.
uint32_t ReadRegisterFlags(DeviceSession& session);

// Whether the service program may change `bit` on a device of `deviceVersion`.
bool RegisterFlagChangeable(uint32_t bit, int32_t deviceVersion);

struct RegisterFlagsWritten {
  Outcome outcome;
  std::string readBack;  // info 1 afterwards
};
// Sends what differs between `current` and `wanted`, in the device's order:
// STP for T0, T1, T2, ADU, TIME, HV, DL, DPH, NODISP, FILE; then STTEST for
// test mode; then the automatic deposit (STAUVKLAD with `depositAmount`
// when switched on, STP AVV 0 when off). Then reads info 1 back.
RegisterFlagsWritten WriteRegisterFlags(DeviceSession& session, uint32_t current, uint32_t wanted,
                                        const std::string& depositAmount = {});

struct Commissioned {
  Outcome outcome;
  // Info 16, 17, 61 and 62 read afterwards, in that order.
  std::array<std::pair<int, std::string>, 4> values;
};
Commissioned Commission(DeviceSession& session);

}  // namespace korvena::operations
