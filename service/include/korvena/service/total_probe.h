#pragma once
// Telling the running total of an open receipt without printing: a close
// paid by card alone with an amount the device must refuse. The device
// checks the payments against the total: below it answers 3 (short), above
// it 1 (a card may not pay more than is due), and only an amount equal to a
// total of 0 or more would close the receipt.
#include <cstdint>
#include <optional>
#include <string>

namespace korvena::service {

// A card amount (cents, above 0) strictly between totals `a` and `b` and
// above 0, so the device refuses it whichever of the two the receipt has:
// 3 for the larger, 1 for the smaller. Nothing when no such amount exists
// (the totals lie within a cent of each other, or of 0 below).
std::optional<int64_t> SeparatingCardAmount(int64_t a, int64_t b);

// ESC ";K;;" amount CR: the card amount as the only payment.
std::string CardProbeFrame(int64_t cents);

// ESC ";K;-1" CR: refused with 2 when no receipt is open, with 1 (a bad
// amount) when one is, since the device checks for the open document first.
std::string OpenReceiptProbeFrame();

}  // namespace korvena::service
