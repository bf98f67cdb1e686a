#include "commands/reports_cash.h"

#include <optional>
#include <string>
#include <utility>

#include "korvena/operations/sales.h"
#include "commands/command_session.h"
#include "shell/kalibro_texts.h"
#include "commands/value_read_back.h"
#include "forms/vv_form.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

// The direction of a cash movement: how its dialog is titled, what goes
// before the amount and which counters it moves.
struct CashMovement {
  const char* title;
  operations::Outcome (*move)(operations::DeviceSession&, const std::string& amount);
  const char* countLabel;
  const char* totalLabel;
};

constexpr CashMovement kDeposit = {kDepositCaption, operations::Deposit, "vCntVklad", "vVklad"};
constexpr CashMovement kWithdrawal = {kWithdrawalCaption, operations::Withdraw, "vCntVyber", "vVyber"};

void MoveCash(CommandSession& session, const CashMovement& movement) {
  TVVform dialog(session.ui(), session.dialogOwner());
  dialog.setWindowTitle(Text(movement.title));
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  // Sent even when empty: the device judges the amount.
  movement.move(session.device(), ToWindows1250(dialog.ValueText->text()));
  ReadBackValue(session, movement.countLabel);
  ReadBackValue(session, movement.totalLabel);
  ReadBackValue(session, "vWeeprom");
  ReadBackValue(session, "vCRC");
}

// The first and the last value of an interval, as typed; nullopt when either
// box is cancelled or left empty.
std::optional<std::pair<std::string, std::string>> AskInterval(CommandSession& session, const char* firstPrompt,
                                                                const char* lastPrompt) {
  const auto ask = [&session](const char* prompt) -> std::string {
    const std::optional<QString> answer = session.ui().AskText(QString(), Text(prompt), QString());
    return answer ? ToWindows1250(*answer) : std::string();
  };
  std::string first = ask(firstPrompt);
  if (first.empty()) return std::nullopt;
  std::string last = ask(lastPrompt);
  if (last.empty()) return std::nullopt;
  return std::make_pair(std::move(first), std::move(last));
}

using IntervalOperation = operations::Outcome (*)(operations::DeviceSession&, const std::string&, const std::string&);

void IntervalReport(CommandSession& session, IntervalOperation report, const char* firstPrompt,
                    const char* lastPrompt) {
  const auto interval = AskInterval(session, firstPrompt, lastPrompt);
  if (!interval) return;
  report(session.device(), interval->first, interval->second);
}

}  // namespace

void menuDXClick(CommandSession& session) { operations::RunningReport(session.device()); }

void menuDZClick(CommandSession& session) {
  operations::DailyClosing(session.device());
  ReadBackValue(session, "vDUDate");
  ReadBackValue(session, "vDDate");
  ReadBackValue(session, "vDUDocs");
}

void menuMXClick(CommandSession& session) {
  IntervalReport(session, operations::IntervalReportByNumbers, kFirstClosingNumberPrompt, kLastClosingNumberPrompt);
}

void menuMZClick(CommandSession& session) {
  IntervalReport(session, operations::IntervalReportByDates, kFirstClosingDatePrompt, kLastClosingDatePrompt);
}

void menuVkladClick(CommandSession& session) { MoveCash(session, kDeposit); }

void menuVyberClick(CommandSession& session) { MoveCash(session, kWithdrawal); }

}  // namespace korvena::kalibro
