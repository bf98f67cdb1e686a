// Cash put into the drawer or taken out of it: ESC ";V;" amount for a
// deposit, ESC ";V;-" amount for a withdrawal. Each prints a slip with a
// document number of its own and counts in the day's deposits or
// withdrawals.
//
// Answers: "0" done; "1" an empty, zero or unreadable amount; "2" a receipt
// or invoice is open.
#include <string>
#include <vector>

#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "model/printed_journal.h"
#include "model/sales_info.h"
#include "model/sales_numbers.h"

namespace korvena::emu {
namespace {

void MoveCash(Device& device, const Command& command) {
  DeviceState& state = device.state();
  if (state.sales.open.kind != OpenDocument::Kind::kNone) return Answer(device, kWrongState);
  const auto amount = Decimal(command.Arg(0), 100);
  if (command.ArgCount() != 1 || !amount || *amount == 0) return Answer(device, kBadArgument);
  const bool deposit = *amount > 0;
  const int64_t cents = deposit ? *amount : -*amount;
  const int64_t number = InfoCount(state, kInfoDocuments) + 1;
  AddToInfoCents(state, deposit ? kInfoDeposits : kInfoWithdrawals, cents);
  AddToInfoCount(state, deposit ? kInfoDepositCount : kInfoWithdrawalCount, 1);
  state.info[kInfoDocuments] = std::to_string(number);
  ++state.sales.documentsToday;
  PrintDocument(device, number,
                {kDoubleRule,
                 (deposit ? "PRIJMOVY DOKLAD c. " : "VYDAVKOVY DOKLAD c. ") + std::to_string(number),
                 Columns(deposit ? "VKLAD" : "VYBER", Money(cents)), kDoubleRule});
  Answer(device, kDone);
}

}  // namespace

void RegisterCashCommands(Device& device) { device.Register("V", MoveCash); }

}  // namespace korvena::emu
