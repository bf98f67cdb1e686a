// The write pipeline: characters into the command buffer, and at the CR the
// command sent, its answer read and turned into the result code.
#include <array>
#include <optional>

#include "korvena/platform/decimal_text.h"
#include "korvena/driver/driver.h"
#include "korvena/platform/tick_clock.h"
#include "korvena/protocol/frame.h"

namespace korvena::driver {
namespace {

constexpr auto kEscByte = static_cast<uint8_t>(protocol::kEsc);
constexpr auto kCrByte = static_cast<uint8_t>(protocol::kCr);
constexpr uint8_t kLfByte = 0x0A;
constexpr uint32_t kGeneralLimitMs = 30000;
const std::string kGetLdx = protocol::CommandFrame("GETLDX");

// Commands after which the device has LDX data for the PC.
constexpr std::array<std::string_view, 13> kLdxProducing = {"K",  "KF", "V",   "DX",  "DZ",   "MI",  "MD",
                                                            "C",  "CQ", "CDI", "CDD", "CDIM", "CDDM"};

bool IsLdxProducing(std::string_view name) {
  for (const std::string_view producing : kLdxProducing)
    if (name == producing) return true;
  return false;
}

// A decimal integer from 0 to 65535, digits only; nullopt for anything else.
std::optional<uint16_t> ResultNumber(std::string_view line) {
  const auto number = DecimalDigits(line, 65535);
  if (!number) return std::nullopt;
  return static_cast<uint16_t>(*number);
}

std::string WriteLogEntry(uint8_t c) {
  switch (c) {
    case kEscByte: return "write <ESC>";
    case kCrByte: return "write <CR>";
    case kLfByte: return "write <LF>";
    default: return "write " + std::string(1, static_cast<char>(c));
  }
}

const char* SettingFlag(bool on) { return on ? "-1" : "0"; }

// Empties the command buffer whatever way the command ends.
struct ClearOnExit {
  CommandBuffer& buffer;
  ~ClearOnExit() { buffer.Clear(); }
};

}  // namespace

uint16_t Driver::Write(uint8_t character) {
  if (!started_) return kNotStarted;
  if (settings_.debug) Log(WriteLogEntry(character));
  if (character != kCrByte) {
    command_.Append(static_cast<char>(character));
    return kOk;
  }
  ClearOnExit clear{command_};
  return ProcessCommand();
}

CommandOutcome Driver::Execute(std::string_view command, const ExecuteOptions& options) {
  CommandOutcome outcome;
  if (!started_) return outcome;
  if (command.find(static_cast<char>(kCrByte)) != std::string_view::npos || command.size() > CommandBuffer::kCapacity) {
    outcome.result = kFailed;
    return outcome;
  }
  Capture capture{options, &outcome};
  capture_ = &capture;
  // Whatever happens, a command a till has half typed through the exports
  // is as it was, and the exports write their files again.
  struct Restore {
    Driver& driver;
    std::string typed;
    ~Restore() {
      driver.capture_ = nullptr;
      driver.command_.Clear();
      for (const char c : typed) driver.command_.Append(c);
    }
  } restore{*this, command_.text()};
  command_.Clear();
  for (const char c : command) command_.Append(c);
  outcome.result = ProcessCommand();
  const std::string_view name = command_.Field(1);
  if (name == "IV" || name == "INFO") outcome.answer = answer_;
  return outcome;
}

uint16_t Driver::ProcessCommand() {
  const std::string& text = command_.text();
  if (text.empty() || static_cast<uint8_t>(text.front()) != kEscByte) return kOk;
  const std::string_view name = command_.Field(1);
  if (settings_.debug) Log("extract " + std::string(name) + "  -  " + std::string(command_.Field(2)));
  port_.Flush();
  if (name == "IV" || name == "INFO") return InfoCommand();
  if (name == "GETLDX") return LdxCommand();
  if (name == "READSD") return SdCommand();
  if (name == "MIP" || name == "MDP") return AcknowledgedCommand();
  return GeneralCommand();
}

bool Driver::Send(std::string_view text) { return settings_.crc ? link_.SendTextWithCrc(text) : link_.SendText(text); }

uint16_t Driver::InfoCommand() {
  if (settings_.iv && command_.Field(1) == "IV")
    Send(protocol::InfoFrame(command_.Field(2)));
  else
    Send(protocol::FrameOfText(command_.text()));
  return ReadAnswer(T() * 10);
}

uint16_t Driver::GeneralCommand() {
  const std::string_view name = command_.Field(1);
  Log("KVwrite_4");
  Send(protocol::FrameOfText(command_.text()));  // a failed send shows as a missing answer
  const uint16_t result = ReadGeneralResult(kGeneralLimitMs);
  // The device has printed the document: whatever happens to its LDX data,
  // the result must say so, or the till may print it a second time.
  if (WantsLdx() && result == kOk && IsLdxProducing(name)) RequestLdx();
  if (settings_.debug)
    Log("KorvenaWrite -> " + std::string(name) + ", LDX=" + SettingFlag(settings_.ldx) +
        ", Result=" + std::to_string(result) + ", CRC=" + SettingFlag(settings_.crc));
  return result;
}

uint16_t Driver::AcknowledgedCommand() {
  const uint16_t result = Send(protocol::FrameOfText(command_.text())) && WaitForAcknowledgement() ? kOk : kFailed;
  if (WantsLdx() && result == kOk) RequestLdx();  // as after a general command
  return result;
}

uint16_t Driver::LdxCommand() {
  return Send(protocol::FrameOfText(command_.text())) && FetchLdx() == FetchOutcome::kFetched ? kOk : kFailed;
}

uint16_t Driver::SdCommand() {
  // The day names the file as well: "../x" or "/etc/x" would write outside
  // FileDir, so only digits go to the device.
  const std::string_view day = command_.Field(2);
  if (day.empty() || day.find_first_not_of("0123456789") != std::string_view::npos) {
    Log("ReadSD day refused: " + std::string(day));
    return kFailed;
  }
  return Send(protocol::CommandFrame("READSD", {day})) && ReadSdData() ? kOk : kFailed;
}

uint16_t Driver::ReadGeneralResult(uint32_t limitMs) {
  const uint32_t start = clock_.Ticks();
  const std::string line = link_.ReadResponse(limitMs);
  const uint32_t elapsed = TicksSince(start, clock_.Ticks());
  if (settings_.debug) Log("ReadData -> " + line);
  uint16_t result;
  if (!line.empty())
    result = ResultNumber(line).value_or(kFailed);
  else
    result = elapsed >= limitMs ? kNoAnswer : kOk;  // a bare CR before the limit
  if (settings_.debug) Log("ReadData Res -> " + std::to_string(result));
  return result;
}

uint16_t Driver::ReadAnswer(uint32_t limitMs) {
  const uint32_t start = clock_.Ticks();
  answer_ = link_.ReadResponse(limitMs);
  answerRead_ = 0;
  const uint32_t elapsed = TicksSince(start, clock_.Ticks());
  if (settings_.debug) Log("ReadInfo -> " + answer_);
  return elapsed >= limitMs ? kNoAnswer : kOk;
}

bool Driver::WaitForAcknowledgement() {
  for (int step = 0; step < kAcknowledgementSteps; ++step) {
    const std::string line = link_.ReadResponse(kAcknowledgementStepMs);
    if (!line.empty()) return line == "0";
  }
  return false;
}

void Driver::RequestLdx() {
  if (Send(kGetLdx)) FetchLdx();
}

}  // namespace korvena::driver
