#pragma once
// The info values the sales model keeps up to date, where the info query
// reports them and a saved state keeps them. Amounts are texts with two
// decimals ("14884.55"), counts plain numbers.
//
// Grand totals, never reset: the net and negative turnover (20, 21), the GT
// value and count of each line kind and of invoices, the document numbers
// (50, 51). The day's figures, reset by the daily closing: deposits and
// withdrawals (36..39), the base and VAT of each rate (40..48) and the
// payments by means (52..57).
#include <cstdint>

#include "korvena/emulator/device_state.h"

namespace korvena::emu {

inline constexpr int kInfoVatCoefficient1 = 10;  // ..13, in 0.01 %

inline constexpr int kInfoNetTurnover = 20;       // everything sold, less what was taken back
inline constexpr int kInfoNegativeTurnover = 21;  // the negative lines alone

// The GT value of a line kind or of invoices; its count is the next number.
inline constexpr int kInfoGtNegativeItems = 22;
inline constexpr int kInfoGtStorno = 24;
inline constexpr int kInfoGtDiscounts = 26;
inline constexpr int kInfoGtSurcharges = 28;
inline constexpr int kInfoGtItems = 30;
inline constexpr int kInfoGtReturnedGoods = 32;
inline constexpr int kInfoGtInvoices = 116;

inline constexpr int kInfoDeposits = 36;
inline constexpr int kInfoDepositCount = 37;
inline constexpr int kInfoWithdrawals = 38;
inline constexpr int kInfoWithdrawalCount = 39;

inline constexpr int kInfoBaseRate0 = 40;  // z0; rate r (1..4) has its base at 39 + 2r, its VAT at 40 + 2r
inline constexpr int kVatRates = 4;
inline constexpr int InfoBaseOfRate(int rate) { return rate == 0 ? kInfoBaseRate0 : 39 + 2 * rate; }
inline constexpr int InfoVatOfRate(int rate) { return 40 + 2 * rate; }

inline constexpr int kInfoDocuments = 50;       // number of the last document of any kind
inline constexpr int kInfoSalesDocuments = 51;  // receipts and invoices closed
inline constexpr int kInfoPayment1 = 52;        // ..57, the six means of payment
inline constexpr int kPaymentMeans = 6;

inline constexpr int kInfoLastClosingDate = 61;
inline constexpr int kInfoNextClosingDate = 62;
inline constexpr int kInfoDocumentsAtClosing = 63;

// The value as a count or as cents; 0 when it is missing or no number.
int64_t InfoCount(const DeviceState& state, int number);
int64_t InfoCents(const DeviceState& state, int number);

void AddToInfoCents(DeviceState& state, int number, int64_t cents);
void AddToInfoCount(DeviceState& state, int number, int64_t count);

// The VAT coefficient of rate 1..4 in 0.01 %; 0 for rate 0 and when it is not set.
int64_t VatCoefficient(const DeviceState& state, int rate);

}  // namespace korvena::emu
