#include "korvena/operations/service.h"

#include <array>
#include <iterator>

#include "korvena/operations/device_integer.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/line_rates.h"

namespace korvena::operations {
namespace {

namespace info = protocol::info;

// Time for the device to switch its line speed after it has answered.
constexpr uint32_t kSpeedSwitchMs = 100;
// The version number from which the commissioned flag is cleared before pairing.
constexpr int32_t kLastVersionWithoutUnpairing = 13021;
// The printer type LOADMF takes for each printer of the emblem dialog, in its order.
constexpr std::array<int, kEmblemPrinters> kEmblemPrinterTypes = {1, 3, 1, 4, 5, 1, 6, 1};

std::string Number(int value) { return std::to_string(value); }

}  // namespace

std::string ReadClock(DeviceSession& session) { return session.QueryInfo(info::kClock); }

std::string ClockQuery() { return protocol::InfoQueryFrame(info::kClock); }

Outcome SetClock(DeviceSession& session, const DateTime& time) {
  Outcome outcome;
  outcome.Send(session, protocol::CommandFrame("STDATETIME", {Password(session), Number(time.hour), Number(time.minute), "0",
                                                              Number(time.date.day), Number(time.date.month),
                                                              Number(time.date.year)}));
  return outcome;
}

std::string ReadAutomaticClosing(DeviceSession& session) { return session.QueryInfo(info::kAutomaticClosing); }

AutomaticClosingSet SetAutomaticClosing(DeviceSession& session, const DateTime& time) {
  AutomaticClosingSet set;
  set.outcome.Send(session, protocol::CommandFrame("STDDATE", {Password(session), Number(time.hour), Number(time.minute),
                                                               Number(time.second), Number(time.date.day),
                                                               Number(time.date.month), Number(time.date.year)}));
  set.readBack = session.QueryInfo(info::kAutomaticClosing);
  return set;
}

LineSpeeds ReadLineSpeeds(DeviceSession& session) {
  // The low byte: the PC line's index in its high half, the internal one's
  // in its low three bits.
  const auto code = static_cast<uint32_t>(ToInteger(session.QueryInfo(info::kLineSpeeds))) & 0xFF;
  return {static_cast<int>(code / 16), static_cast<int>(code & 7)};
}

LineSpeedsSet SetLineSpeeds(DeviceSession& session, const LineSpeeds& speeds) {
  LineSpeedsSet set;
  set.outcome.Send(session, protocol::CommandFrame("STBRATE", {Password(session), Number(speeds.pc), Number(speeds.internal)}));
  session.Wait(kSpeedSwitchMs);
  // The PC follows only as far as the device did: if the device kept its
  // speed (it refused, or missed the command), it is found where it stayed.
  set.chosen = protocol::kLineRates.at(static_cast<std::size_t>(speeds.pc));
  session.SetLineSpeed(set.chosen);
  set.inUse = session.FindDevice();
  if (set.inUse == 0) set.outcome.Fail(session.lastFailure());
  return set;
}

int EmblemPrinterType(int printerIndex) { return kEmblemPrinterTypes.at(static_cast<std::size_t>(printerIndex)); }

Outcome LoadEmblem(DeviceSession& session, int printerType) {
  Outcome outcome;
  outcome.Send(session, protocol::CommandFrame("LOADMF", {Password(session), Number(printerType)}));
  return outcome;
}

Outcome ZeroOperatingMemory(DeviceSession& session) {
  Outcome outcome;
  outcome.Send(session, protocol::CommandFrame("STNGT", {Password(session)}));
  return outcome;
}

Outcome PairFiscalMemory(DeviceSession& session) {
  Outcome outcome;
  if (session.state().DeviceVersion > kLastVersionWithoutUnpairing)
    outcome.Send(session, protocol::CommandFrame("STP", {Password(session), "UDP", "0"}));
  outcome.Send(session, protocol::CommandFrame("STPAIRFP", {Password(session)}));
  return outcome;
}

FreeCommandAnswered SendFreeCommand(DeviceSession& session, const std::string& text) {
  FreeCommandAnswered answered;
  answered.outcome.Send(session, protocol::CommandFrame(text));
  answered.answer = session.lastAnswer();
  return answered;
}

}  // namespace korvena::operations
