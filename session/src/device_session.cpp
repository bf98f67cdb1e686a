#include "korvena/session/device_session.h"

#include "korvena/protocol/device_status.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/line_rates.h"

namespace korvena::session {
namespace {

using Hold = std::lock_guard<std::recursive_mutex>;

}  // namespace

DeviceSession::DeviceSession(Port& port, Clock& clock, std::function<void()> beforeExchange)
    : link_(port, clock), beforeExchange_(std::move(beforeExchange)) {}

uint32_t DeviceSession::Limit(int32_t units) const { return static_cast<uint32_t>(units * state_.TimeoutUnit); }

void DeviceSession::Fail(SessionFailure::Kind kind, int status, std::string reason) {
  failure_ = {kind, status, std::move(reason)};
}

bool DeviceSession::Connect(OpenObserver* progress) {
  const Hold hold(exchange_);
  const OpenOutcome outcome =
      link_.OpenAndIdentify(state_.PortNumber, state_.PortBaud, static_cast<uint32_t>(state_.TimeoutUnit), progress);
  switch (outcome.kind) {
    case OpenOutcome::kIdentifiedBySearch:
      state_.PortBaud = outcome.baud;
      return true;
    case OpenOutcome::kIdentified:
      return true;
    case OpenOutcome::kCannotOpen:
      Fail(SessionFailure::kCannotOpen, 0, link_.port().OpenProblem());
      return false;
    case OpenOutcome::kNotFound:
      Fail(SessionFailure::kNotFound);
      return false;
  }
  return false;
}

bool DeviceSession::Login(const std::string& password) {
  const Hold hold(exchange_);
  link_.SendText(protocol::CommandFrame("TESTPASSWORD", {password}));
  link_.ReadResponse(Limit(kShortReplyUnits));  // its content says nothing; info 0 does
  const std::string status = QueryInfo(protocol::info::kStatus);
  if (status.empty()) return false;  // QueryInfo said why
  if (status == std::to_string(protocol::status::kWrongPassword)) {
    Fail(SessionFailure::kWrongPassword, protocol::status::kWrongPassword);
    return false;
  }
  state_.LoginPassword = password;
  return true;
}

void DeviceSession::Close() {
  const Hold hold(exchange_);
  link_.port().Close();
}

std::string DeviceSession::QueryInfo(int n) {
  const Hold hold(exchange_);
  if (beforeExchange_) beforeExchange_();
  link_.SendText(protocol::InfoQueryFrame(n));
  std::string answer = link_.ReadResponse(Limit(kQueryInfoUnits));
  if (answer.empty()) Fail(SessionFailure::kNoAnswer);
  return answer;
}

bool DeviceSession::SendCommand(std::string_view frame) {
  const Hold hold(exchange_);
  if (beforeExchange_) beforeExchange_();
  link_.SendText(frame);
  const std::string answer = link_.ReadResponse(Limit(kSendCommandUnits));
  lastAnswer_ = answer;
  if (answer == "0") return true;
  QueryInfo(protocol::info::kStatus);
  if (answer.empty())
    Fail(SessionFailure::kNoAnswer);
  else
    Fail(SessionFailure::kRefused, protocol::StatusOfAnswer(answer).value_or(-1));
  return false;
}

std::string DeviceSession::Exchange(std::string_view frame, uint32_t limitMs) {
  const Hold hold(exchange_);
  link_.SendText(frame);
  return link_.ReadResponse(limitMs);
}

bool DeviceSession::Send(std::string_view frame) {
  const Hold hold(exchange_);
  return link_.SendText(frame);
}

std::string DeviceSession::ReadLine(uint32_t limitMs) {
  const Hold hold(exchange_);
  return link_.ReadResponse(limitMs);
}

void DeviceSession::Wait(uint32_t ms) { link_.clock().Sleep(ms); }

void DeviceSession::SetLineSpeed(int32_t baud) {
  const Hold hold(exchange_);
  link_.port().SetPort(baud);
  state_.PortBaud = baud;
}

int32_t DeviceSession::FindDevice() {
  const Hold hold(exchange_);
  const uint32_t limit = Limit(kShortReplyUnits);
  if (link_.IdentifyDevice(limit)) return state_.PortBaud;
  const int32_t found = link_.FindBaudRate(limit);
  // Without a device the search leaves the line at its last rate.
  state_.PortBaud = found != 0 ? found : protocol::kLineRates.back();
  if (found == 0) Fail(SessionFailure::kNotFound);
  return found;
}

ByteStream DeviceSession::ReadBulk(uint32_t expected, uint32_t silenceMs, const std::atomic<bool>* stop,
                                   const std::function<void(std::size_t count)>& progress) {
  const Hold hold(exchange_);
  link_.port().SetPort(protocol::kBulkRate);
  ByteStreamRule rule;
  rule.firstByteMs = rule.quietMs = silenceMs;
  rule.expected = expected;
  rule.cap = expected;
  rule.stop = stop;
  ByteStream stream = link_.ReadByteStream(rule, progress);
  if (state_.PortBaud != protocol::kBulkRate) link_.port().SetPort(state_.PortBaud);
  if (stream.stopped) {
    Fail(SessionFailure::kStopped);
    return stream;
  }
  link_.ReadResponse(silenceMs);  // the device's closing line
  return stream;
}

}  // namespace korvena::session
