#include "korvena/operations/passwords_rounding.h"

#include "korvena/operations/item_list.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"

namespace korvena::operations {
namespace {

// The device takes no empty password; an empty one means "0".
constexpr const char* kEmptyPasswordSentAs = "0";

// The kind STZTYP takes for an entry, chosen by its first letter.
const char* RoundingKind(const std::string& entry) {
  if (entry.empty()) return nullptr;
  switch (entry.front()) {
    case 'A':
    case 'a':
      return "0.5";
    case 'H':
    case 'h':
      return "0.99999999";
    case 'P':
    case 'p':
      return "50";
    default:
      return nullptr;
  }
}

}  // namespace

Outcome ChangePassword(DeviceSession& session, const std::string& newPassword) {
  const std::string sent = newPassword.empty() ? std::string(kEmptyPasswordSentAs) : newPassword;
  Outcome outcome;
  // From now on the device checks every configuration command against the
  // new password, so the session's commands must carry it.
  if (outcome.Send(session, protocol::CommandFrame("STPASS", {Password(session), sent})))
    session.state().LoginPassword = sent;
  return outcome;
}

Currencies ReadCurrencies(DeviceSession& session) {
  Currencies currencies;
  for (int n = 1; n <= kCurrencies; ++n) {
    const std::string reply = session.QueryInfo(protocol::info::Currency(n));
    const std::size_t comma = reply.find(',');
    Currency& currency = currencies[static_cast<std::size_t>(n - 1)];
    currency.symbol = comma == std::string::npos ? reply : reply.substr(0, comma);
    currency.rate = comma == std::string::npos ? reply : reply.substr(comma + 1);
  }
  return currencies;
}

Outcome WriteCurrency(DeviceSession& session, int n, const Currency& currency) {
  Outcome outcome;
  outcome.Send(session, protocol::CommandFrame("STKZ", {Password(session), std::to_string(n), currency.symbol, currency.rate}));
  return outcome;
}

Outcome WriteCurrencies(DeviceSession& session, const Currencies& currencies) {
  Outcome outcome;
  for (int n = 1; n <= kCurrencies; ++n) {
    const Currency& currency = currencies[static_cast<std::size_t>(n - 1)];
    if (currency.symbol.empty()) continue;  // an unused currency; its number stays with its row
    const Outcome one = WriteCurrency(session, n, currency);
    if (!one.ok) outcome.Fail(one.failure);
  }
  return outcome;
}

std::vector<std::string> ReadRoundingEntries(DeviceSession& session) {
  return SplitItemList(session.QueryInfo(protocol::info::kRoundingSettings));
}

std::optional<int> FirstBadRoundingEntry(const RoundingEntries& entries) {
  for (int i = 0; i < kRoundingEntries; ++i)
    if (RoundingKind(entries[static_cast<std::size_t>(i)]) == nullptr) return i;
  return std::nullopt;
}

Outcome WriteRoundingEntries(DeviceSession& session, const RoundingEntries& entries) {
  std::vector<std::string> fields = {Password(session)};
  for (const std::string& entry : entries) {
    const char* kind = RoundingKind(entry);
    fields.emplace_back(kind != nullptr ? kind : "");
    fields.push_back(entry.empty() ? std::string() : entry.substr(1));
  }
  Outcome outcome;
  outcome.Send(session, protocol::CommandFrame("STZTYP", fields));
  return outcome;
}

}  // namespace korvena::operations
