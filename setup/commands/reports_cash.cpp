#include "reports_cash.h"

#include <optional>
#include <string>
#include <utility>

#include "korvena/protocol/frame.h"
#include "command_session.h"
#include "kalibro_texts.h"
#include "value_read_back.h"
#include "vv_form.h"
#include "windows1250.h"

namespace korvena::kalibro {
namespace {

// The direction of a cash movement: how its dialog is titled, what goes
// before the amount and which counters it moves.
struct CashMovement {
  const char* title;
  const char* sign;
  const char* countLabel;
  const char* totalLabel;
};

constexpr CashMovement kDeposit = {kDepositCaption, "", "vCntVklad", "vVklad"};
constexpr CashMovement kWithdrawal = {kWithdrawalCaption, "-", "vCntVyber", "vVyber"};

void MoveCash(CommandSession& session, const CashMovement& movement) {
  TVVform dialog(session.ui(), session.dialogOwner());
  dialog.setWindowTitle(Text(movement.title));
  if (session.ui().ExecDialog(dialog) != QDialog::Accepted) return;
  // Sent even when empty: the device judges the amount.
  session.SendCommand(protocol::CommandFrame("V", {movement.sign + ToWindows1250(dialog.ValueText->text())}));
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

void IntervalReport(CommandSession& session, const char* command, const char* firstPrompt, const char* lastPrompt) {
  const auto interval = AskInterval(session, firstPrompt, lastPrompt);
  if (!interval) return;
  session.SendCommand(protocol::CommandFrame(command, {interval->first, interval->second}));
}

}  // namespace

void menuDXClick(CommandSession& session) { session.SendCommand(protocol::CommandFrame("DX")); }

void menuDZClick(CommandSession& session) {
  session.SendCommand(protocol::CommandFrame("DZ"));
  ReadBackValue(session, "vDUDate");
  ReadBackValue(session, "vDDate");
  ReadBackValue(session, "vDUDocs");
}

void menuMXClick(CommandSession& session) {
  IntervalReport(session, "MI", kFirstClosingNumberPrompt, kLastClosingNumberPrompt);
}

void menuMZClick(CommandSession& session) {
  IntervalReport(session, "MD", kFirstClosingDatePrompt, kLastClosingDatePrompt);
}

void menuVkladClick(CommandSession& session) { MoveCash(session, kDeposit); }

void menuVyberClick(CommandSession& session) { MoveCash(session, kWithdrawal); }

}  // namespace korvena::kalibro
