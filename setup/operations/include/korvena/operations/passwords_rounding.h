#pragma once
// The service password, the four currencies and the rounding entries.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "korvena/operations/outcome.h"

namespace korvena::operations {

// STPASS from the logged-in password to `newPassword` (an empty one is sent
// as "0", which the device takes for none); the session carries the new one
// from then on when the device took it.
Outcome ChangePassword(DeviceSession& session, const std::string& newPassword);

struct Currency {
  std::string symbol;  // at most 3 bytes; empty for an unused row
  std::string rate;
};
inline constexpr int kCurrencies = 4;
using Currencies = std::array<Currency, kCurrencies>;

// Info 72..75, each "symbol,rate" (an answer without a comma is both).
Currencies ReadCurrencies(DeviceSession& session);
// STKZ for each row with a symbol; an empty row keeps the device's.
Outcome WriteCurrencies(DeviceSession& session, const Currencies& currencies);
// STKZ for currency `n` (1..4) alone.
Outcome WriteCurrency(DeviceSession& session, int n, const Currency& currency);

// The six rounding entries Za, Zb, Zc, Zhv, Zd, Zk, each a letter (A, H or
// P, either case) and its value: "A0.05".
inline constexpr int kRoundingEntries = 6;
using RoundingEntries = std::array<std::string, kRoundingEntries>;

// The items of info 150; fewer than six when the device has fewer.
std::vector<std::string> ReadRoundingEntries(DeviceSession& session);

// The index of the first entry whose letter is none of A, H, P; nullopt
// when all six are good.
std::optional<int> FirstBadRoundingEntry(const RoundingEntries& entries);
// STZTYP with each entry's kind (A 0.5, H 0.99999999, P 50) and value.
// The entries must be good (FirstBadRoundingEntry).
Outcome WriteRoundingEntries(DeviceSession& session, const RoundingEntries& entries);

}  // namespace korvena::operations
