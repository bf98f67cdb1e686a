// Paying and closing the open receipt (K) or invoice (KF): six amounts, one
// per means of payment, a missing one 0. What the document collected during
// its lines goes into the info values now, with the payments and the
// document counters.
//
// Answers: "0" done; "1" a bad amount, or more than six, or other means
// than cash paying more than is due (change comes from the cash drawer
// only); "2" no such document open; "3" the payments do not cover the total.
#include <algorithm>
#include <string>

#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "model/day_figures.h"
#include "model/printed_journal.h"
#include "model/sales_info.h"
#include "model/sales_numbers.h"

namespace korvena::emu {
namespace {

using Kind = OpenDocument::Kind;

// The VAT of each rate the document used, below its total.
void PrintVatSummary(Device& device) {
  DeviceState& state = device.state();
  const auto& pending = state.sales.open.pendingCents;
  for (int rate = 1; rate <= kVatRates; ++rate) {
    const auto base = pending.find(InfoBaseOfRate(rate));
    const auto vat = pending.find(InfoVatOfRate(rate));
    if (base == pending.end() && vat == pending.end()) continue;
    const int64_t baseCents = base == pending.end() ? 0 : base->second;
    const int64_t vatCents = vat == pending.end() ? 0 : vat->second;
    PrintOpenDocumentLine(device, Columns("DPH " + Fixed(VatCoefficient(state, rate), 2) + "% zo " + Money(baseCents),
                                          Money(vatCents)));
  }
}

void CommitPending(DeviceState& state) {
  for (const auto& [info, cents] : state.sales.open.pendingCents) AddToInfoCents(state, info, cents);
  for (const auto& [info, count] : state.sales.open.pendingCounts) AddToInfoCount(state, info, count);
}

void CloseDocument(Device& device, const Command& command, Kind kind) {
  DeviceState& state = device.state();
  OpenDocument& open = state.sales.open;
  if (open.kind != kind) return Answer(device, kWrongState);
  if (command.ArgCount() > kPaymentMeans) return Answer(device, kBadArgument);
  int64_t payments[kPaymentMeans] = {};
  int64_t paid = 0;
  for (int means = 0; means < kPaymentMeans; ++means) {
    const std::string& text = command.Arg(static_cast<std::size_t>(means));
    if (text.empty()) continue;
    const auto amount = Decimal(text, 100);
    if (!amount || *amount < 0) return Answer(device, kBadArgument);
    payments[means] = *amount;
    paid = SaturatingAdd(paid, *amount);
  }
  if (paid < open.totalCents) return Answer(device, kPaymentShort);
  if (paid - payments[0] > std::max<int64_t>(open.totalCents, 0)) return Answer(device, kBadArgument);
  const int64_t change = paid - open.totalCents;

  PrintOpenDocumentLine(device, kRule);
  PrintOpenDocumentLine(device, Columns("SPOLU", Money(open.totalCents)));
  PrintVatSummary(device);
  for (int means = 0; means < kPaymentMeans; ++means)
    if (payments[means] != 0) PrintOpenDocumentLine(device, Columns(PaymentName(means), Money(payments[means])));
  if (change > 0) PrintOpenDocumentLine(device, Columns("VYDAVOK", Money(change)));
  PrintOpenDocumentLine(device, kDoubleRule);

  CommitPending(state);
  payments[0] -= change;  // the drawer keeps the cash less the change
  for (int means = 0; means < kPaymentMeans; ++means) AddToInfoCents(state, kInfoPayment1 + means, payments[means]);
  state.info[kInfoDocuments] = std::to_string(open.number);
  AddToInfoCount(state, kInfoSalesDocuments, 1);
  ++state.sales.documentsToday;
  FileOpenDocument(state, open.number);
  open = OpenDocument{};
  Answer(device, kDone);
}

}  // namespace

void RegisterPaymentCommands(Device& device) {
  device.Register("K", [](Device& d, const Command& c) { CloseDocument(d, c, Kind::kReceipt); });
  device.Register("KF", [](Device& d, const Command& c) { CloseDocument(d, c, Kind::kInvoice); });
}

}  // namespace korvena::emu
