// Opening a receipt or an invoice and the lines of a receipt. Each line is
// printed at once; what it adds to the turnover, the GT of its kind and the
// base and VAT of its rate waits in the open document until it is paid.
//
// Answers: "0" done; "1" a bad or missing argument, or a storno of nothing
// sold; "2" not now (a line with no receipt open, or a document open already).
#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "model/printed_journal.h"
#include "model/sales_info.h"
#include "model/sales_numbers.h"
#include "model/vat_classes.h"

namespace korvena::emu {
namespace {

// A line's or an invoice's amount beyond this is more than the device prints.
constexpr int64_t kLargestAmountCents = 10'000'000'000;
constexpr int kModes = 5;  // MOD A..E

using Kind = OpenDocument::Kind;

// How a line stands to the items sold: an item a storno may cancel later, a
// storno, or neither.
enum class ItemRole { kSold, kCancelled, kNone };

struct LineKind {
  const char* name;
  int sign;
  const char* label;  // printed before the text
  int gtInfo;         // its GT value; the count follows
  ItemRole role;
};
constexpr LineKind kLineKinds[] = {
    {"L", 1, "", kInfoGtItems, ItemRole::kSold},
    {"LS", -1, "STORNO ", kInfoGtStorno, ItemRole::kCancelled},
    {"LZ", -1, "ZLAVA ", kInfoGtDiscounts, ItemRole::kNone},
    {"LP", 1, "PRIRAZKA ", kInfoGtSurcharges, ItemRole::kNone},
    {"LM", -1, "ZAPORNA POLOZKA ", kInfoGtNegativeItems, ItemRole::kNone},
    {"LV", -1, "VRATENY TOVAR ", kInfoGtReturnedGoods, ItemRole::kNone},
};

OpenDocument& Open(Device& device, Kind kind) {
  OpenDocument& open = device.state().sales.open;
  open = OpenDocument{};
  open.kind = kind;
  open.number = InfoCount(device.state(), kInfoDocuments) + 1;
  return open;
}

void AddPending(std::map<int, int64_t>& pending, int info, int64_t value) {
  pending[info] = SaturatingAdd(pending[info], value);
}

// ESC ";S;" mode
void StartReceipt(Device& device, const Command& command) {
  if (device.state().sales.open.kind != Kind::kNone) return Answer(device, kWrongState);
  const auto mode = Whole(command.Arg(0), 0, kModes - 1);
  if (command.ArgCount() != 1 || !mode) return Answer(device, kBadArgument);
  const OpenDocument& open = Open(device, Kind::kReceipt);
  PrintOpenDocumentLine(device, kDoubleRule);
  PrintOpenDocumentLine(device, Columns("POKLADNICNY DOKLAD c. " + std::to_string(open.number),
                                        std::string("MOD ") + static_cast<char>('A' + *mode)));
  PrintOpenDocumentLine(device, kRule);
  Answer(device, kDone);
}

// ESC ";F;" amount ";" text: an invoice paid at the till. Its VAT was
// charged on the invoice itself, so it counts in GTfa and the payments
// only, not in the turnover or the bases of the VAT rates.
void StartInvoice(Device& device, const Command& command) {
  if (device.state().sales.open.kind != Kind::kNone) return Answer(device, kWrongState);
  const auto amount = Decimal(command.Arg(0), 100);
  const std::string& text = command.Arg(1);
  if (command.ArgCount() != 2 || !amount || *amount <= 0 || text.size() > kPaperWidth)
    return Answer(device, kBadArgument);
  OpenDocument& open = Open(device, Kind::kInvoice);
  open.totalCents = *amount;
  AddPending(open.pendingCents, kInfoGtInvoices, *amount);
  AddPending(open.pendingCounts, kInfoGtInvoices + 1, 1);
  PrintOpenDocumentLine(device, kDoubleRule);
  PrintOpenDocumentLine(device, "FAKTURA c. " + std::to_string(open.number));
  if (!text.empty()) PrintOpenDocumentLine(device, text);
  PrintOpenDocumentLine(device, Columns("SUMA FAKTURY", Money(*amount)));
  PrintOpenDocumentLine(device, kRule);
  Answer(device, kDone);
}

// Takes `quantity` off the items a storno line names; false when they do not
// hold that much.
bool CancelSold(OpenDocument& open, const SoldItem& storno) {
  const auto matches = [&](const SoldItem& item) {
    return item.text == storno.text && item.priceCents == storno.priceCents && item.vatClass == storno.vatClass;
  };
  int64_t standing = 0;
  for (const SoldItem& item : open.items)
    if (matches(item)) standing = SaturatingAdd(standing, item.quantity);
  if (standing < storno.quantity) return false;
  int64_t left = storno.quantity;
  for (SoldItem& item : open.items) {
    if (!matches(item) || left == 0) continue;
    const int64_t taken = std::min(item.quantity, left);
    item.quantity -= taken;
    left -= taken;
  }
  return true;
}

// ESC ";" kind ";" quantity ";" unit price ";" VAT letter ";" text
void AddLine(Device& device, const Command& command, const LineKind& kind) {
  DeviceState& state = device.state();
  OpenDocument& open = state.sales.open;
  if (open.kind != Kind::kReceipt) return Answer(device, kWrongState);
  const auto quantity = Decimal(command.Arg(0), 1000);
  const auto price = Decimal(command.Arg(1), 100);
  const auto vatClass = FindVatClass(command.Arg(2));
  const std::string& text = command.Arg(3);
  if (command.ArgCount() != 4 || !quantity || !price || *quantity < 0 || *price < 0 || !vatClass ||
      text.size() > kPaperWidth)
    return Answer(device, kBadArgument);
  // Every amount the device takes is exact in a double; a larger one is refused.
  const int64_t amount = std::llround(static_cast<double>(*quantity) * static_cast<double>(*price) / 1000.0);
  if (amount > kLargestAmountCents) return Answer(device, kBadArgument);

  const SoldItem item{text, *price, vatClass->letter, *quantity};
  if (kind.role == ItemRole::kCancelled && !CancelSold(open, item)) return Answer(device, kBadArgument);
  if (kind.role == ItemRole::kSold) open.items.push_back(item);

  const int64_t signedAmount = kind.sign * amount;
  const VatSplit split = SplitVat(*vatClass, signedAmount, VatCoefficient(state, vatClass->rate));
  AddPending(open.pendingCents, InfoBaseOfRate(vatClass->rate), split.base);
  if (vatClass->rate != 0) AddPending(open.pendingCents, InfoVatOfRate(vatClass->rate), split.vat);
  AddPending(open.pendingCents, kind.gtInfo, split.Gross());
  AddPending(open.pendingCounts, kind.gtInfo + 1, 1);
  AddPending(open.pendingCents, kInfoNetTurnover, split.Gross());
  if (kind.sign < 0) AddPending(open.pendingCents, kInfoNegativeTurnover, split.Gross());
  open.totalCents = SaturatingAdd(open.totalCents, split.Gross());

  std::string heading = kind.label + text;
  heading.resize(std::min(heading.size(), kPaperWidth));
  PrintOpenDocumentLine(device, heading);
  PrintOpenDocumentLine(device, Columns("  " + Fixed(*quantity, 3) + " x " + Money(*price),
                                        Money(signedAmount) + " " + vatClass->letter));
  Answer(device, kDone);
}

}  // namespace

void RegisterReceiptCommands(Device& device) {
  device.Register("S", StartReceipt);
  device.Register("F", StartInvoice);
  for (const LineKind& kind : kLineKinds)
    device.Register(kind.name, [&kind](Device& d, const Command& c) { AddLine(d, c, kind); });
}

}  // namespace korvena::emu
