#include "korvena/emulator/device.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>

#include "commands/command_families.h"
#include "korvena/protocol/frame.h"

namespace korvena::emu {
namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kNul = 0x00;
// A frame longer than any command the device knows is line noise.
constexpr std::size_t kLongestFrame = 1 << 16;

}  // namespace

uint64_t SteadyMilliseconds() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

const std::string& Command::Field(std::size_t n) const {
  static const std::string empty;
  return n < fields.size() ? fields[n] : empty;
}

Device::Device(DeviceSettings settings) : settings_(settings) {
  state_.baud = settings_.baud;
  unknown_ = [](Device& device, const Command&) { device.Reply("1"); };
  RegisterIdentityCommands(*this);
  RegisterDriverCommands(*this);
  RegisterReceiptCommands(*this);
  RegisterPaymentCommands(*this);
  RegisterCashCommands(*this);
  RegisterReportCommands(*this);
  RegisterCopyCommands(*this);
  RegisterCrcCommands(*this);
  RegisterLoaderCommands(*this);
  RegisterSetupCommands(*this);
  RegisterPasswordCurrencyRoundingCommands(*this);
  RegisterHeaderFooterCommands(*this);
  RegisterFiscalIdentityCommands(*this);
  RegisterServiceCommands(*this);
  RegisterFiscalMemoryCommands(*this);
}

Device::~Device() = default;

void Device::Receive(std::string_view bytes, uint32_t pcBaud) {
  for (const char c : bytes) Receive(static_cast<uint8_t>(c), pcBaud);
}

void Device::Receive(uint8_t byte, uint32_t pcBaud) {
  if (settings_.silent) return;
  ++receivedCount_;
  if (settings_.dropReceivedEvery != 0 && receivedCount_ % settings_.dropReceivedEvery == 0) return;
  if (pcBaud != state_.baud) {
    inFrame_ = false;  // garbage at the wrong speed spoils a frame in progress
    frame_.clear();
    return;
  }
  if (mode_) {
    const std::shared_ptr<InputMode> mode = mode_;
    mode->Receive(*this, byte);
    return;
  }
  ParseCommandByte(byte);
}

void Device::ParseCommandByte(uint8_t byte) {
  if (byte == kEsc) {
    inFrame_ = true;
    frame_.assign(1, static_cast<char>(byte));
    return;
  }
  if (!inFrame_) return;
  if (byte == kCr || byte == kNul) {
    inFrame_ = false;
    std::string frame = std::move(frame_);
    frame_.clear();
    Dispatch(std::move(frame), static_cast<char>(byte));
    return;
  }
  if (frame_.size() >= kLongestFrame) {
    inFrame_ = false;
    frame_.clear();
    return;
  }
  frame_.push_back(static_cast<char>(byte));
}

void Device::Dispatch(std::string frame, char terminator) {
  Command command{std::move(frame), terminator, {}};
  command.fields = protocol::CommandFields(command.frame);
  const LineFault::Kind fault = FaultOn(command);
  if (fault == LineFault::kDeaf) return;
  if (settings_.keepHistory) received_.push_back(command.frame);
  muted_ = fault == LineFault::kMute;
  const auto handler = handlers_.find(command.name());
  if (handler != handlers_.end())
    handler->second(*this, command);
  else
    unknown_(*this, command);
  muted_ = false;
}

LineFault::Kind Device::FaultOn(const Command& command) {
  const LineFault& fault = settings_.fault;
  if (fault.kind == LineFault::kNone) return LineFault::kNone;
  if (faultLiftsAt_) {
    if (settings_.monotonicMs() < *faultLiftsAt_) return fault.kind;
    faultLiftsAt_.reset();
    settings_.fault.kind = LineFault::kNone;  // once lifted, for good
    return LineFault::kNone;
  }
  const bool counted =
      fault.counted.empty() || std::find(fault.counted.begin(), fault.counted.end(), command.name()) != fault.counted.end();
  if (!counted || ++faultFrames_ != fault.afterFrame) return LineFault::kNone;
  faultLiftsAt_ = settings_.monotonicMs() + fault.lastsMs;
  return fault.kind;
}

Transmission Device::TakeOutput() {
  Transmission next = std::move(output_.front());
  output_.pop_front();
  return next;
}

void Device::Reply(std::string_view text) {
  std::string line(text);
  line.push_back(static_cast<char>(kCr));
  Send(line);
}

void Device::Send(std::string_view bytes, uint32_t baud, uint32_t pauseMs) {
  if (settings_.silent || muted_) return;
  Transmission transmission{{}, baud != 0 ? baud : state_.baud, pauseMs};
  for (const char c : bytes) {
    ++sentCount_;
    if (settings_.dropSentEvery != 0 && sentCount_ % settings_.dropSentEvery == 0) continue;
    transmission.bytes.push_back(c);
  }
  if (transmission.bytes.empty()) return;
  if (!output_.empty() && output_.back().baud == transmission.baud && pauseMs == 0)
    output_.back().bytes += transmission.bytes;
  else
    output_.push_back(std::move(transmission));
}

void Device::SetInputMode(std::unique_ptr<InputMode> mode) {
  mode_ = std::move(mode);
  inFrame_ = false;
  frame_.clear();
}

void Device::Register(const std::string& name, CommandHandler handler) {
  if (!handlers_.emplace(name, std::move(handler)).second)
    throw std::logic_error("the device command " + name + " is registered twice");
}

void Device::RegisterInfoSource(int number, InfoSource source) {
  if (!infoSources_.emplace(number, std::move(source)).second)
    throw std::logic_error("info " + std::to_string(number) + " has two sources");
}

std::string Device::InfoValue(int number) {
  if (const auto source = infoSources_.find(number); source != infoSources_.end()) return source->second(*this);
  const auto value = state_.info.find(number);
  return value != state_.info.end() ? value->second : std::string();
}

void Device::Override(const std::string& name, CommandHandler handler) { handlers_[name] = std::move(handler); }

void Device::Print(const std::string& line) {
  if (settings_.keepHistory) journal_.push_back(line);
  if (onJournal) onJournal(line);
}

}  // namespace korvena::emu
