#pragma once
// The emulated Korvena device: fed the bytes the PC sends, it produces the
// bytes the device would send back. It knows nothing of ports or time; the
// pseudo-terminal front end and the in-process test port carry its bytes.
//
// Commands arrive as frames ESC ";" name {";" argument} and end at CR (or at
// NUL, which ends the driver's CRC announcement). Each command family
// registers handlers by name; see src/commands/command_families.h.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "korvena/emulator/device_state.h"
#include "korvena/platform/local_date.h"
#include "korvena/emulator/fiscal_memory.h"

namespace korvena::emu {

// Milliseconds of the system's steady clock.
uint64_t SteadyMilliseconds();

// A device that stops answering for a while, from a chosen frame on: mute
// runs the frames it takes but answers none of them, deaf drops them
// unseen. Frame `afterFrame` (counted from 1 among the frames whose command
// is in `counted`, or among all when it is empty) is the first; the fault
// lifts `lastsMs` later.
struct LineFault {
  enum Kind { kNone, kMute, kDeaf };
  Kind kind = kNone;
  uint32_t afterFrame = 0;
  uint32_t lastsMs = 1000;
  std::vector<std::string> counted;
};

// Behaviour switches chosen when the device is made: faults and options.
struct DeviceSettings {
  uint32_t baud = 9600;         // the device's line speed at start
  bool silent = false;          // never answers anything
  uint32_t dropSentEvery = 0;   // loses every n-th byte it sends (0: none)
  uint32_t dropReceivedEvery = 0;  // loses every n-th byte it receives (0: none)
  std::string servicePassword = "0";  // the service password the device starts with
  uint32_t fiscalMemoryBytes = kFiscalMemoryBytes;  // how much READFP hands out
  LoaderSettings loader{};            // template upload and boot loader
  // Keeps every received frame and printed line for received() and
  // journal(), which tests read. A device that runs for days turns it off
  // and sees its journal through onJournal only.
  bool keepHistory = true;
  // The PC's local date and time, which the device's clock runs beside;
  // tests put a fixed one in.
  std::function<LocalDateTime()> pcClock = CurrentLocalDateTime;
  LineFault fault{};
  // A millisecond count that only goes forward, for lifting the fault;
  // tests put their own in.
  std::function<uint64_t()> monotonicMs = SteadyMilliseconds;
};

// What the device takes as its service password: 1 to 11 decimal digits.
bool IsServicePassword(std::string_view text);

// One received command frame.
struct Command {
  std::string frame;                // the bytes from ESC up to, not including, the terminator
  char terminator = '\r';           // CR, or NUL for an announcement
  std::vector<std::string> fields;  // split at ';': [0] ESC, [1] name, [2] first argument...

  const std::string& name() const { return Field(1); }
  // Field n, or "" when the frame has fewer fields.
  const std::string& Field(std::size_t n) const;
  // The n-th argument (0-based), i.e. field n + 2.
  const std::string& Arg(std::size_t n) const { return Field(n + 2); }
  // How many arguments follow the name.
  std::size_t ArgCount() const { return fields.size() > 2 ? fields.size() - 2 : 0; }
};

// Bytes the device sends, at the line speed it sends them. A PC side set to
// another speed receives noise, which the carriers drop.
struct Transmission {
  std::string bytes;
  uint32_t baud = 9600;
  // The device pauses this long before sending, e.g. to let the PC switch its
  // line speed first; nothing of it arrives before the PC reads again.
  uint32_t pauseMs = 0;
};

class Device;

// Something that takes the device's input byte by byte instead of the command
// parser, e.g. a boot loader. Installed with Device::SetInputMode.
class InputMode {
 public:
  virtual ~InputMode() = default;
  virtual void Receive(Device& device, uint8_t byte) = 0;
};

using CommandHandler = std::function<void(Device&, const Command&)>;

class Device {
 public:
  explicit Device(DeviceSettings settings = {});
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // --- the line, seen from the carriers ---
  // One byte sent by the PC at `pcBaud`. Bytes at another speed than the
  // device's are noise: they are dropped and break off a frame in progress.
  void Receive(uint8_t byte, uint32_t pcBaud);
  void Receive(std::string_view bytes, uint32_t pcBaud);
  bool HasOutput() const { return !output_.empty(); }
  // The oldest pending transmission; Peek only while HasOutput().
  const Transmission& PeekOutput() const { return output_.front(); }
  Transmission TakeOutput();
  // Drops everything not yet sent.
  void DiscardOutput() { output_.clear(); }

  // --- for command handlers ---
  // Sends `text` followed by CR at the device's line speed.
  void Reply(std::string_view text);
  // Sends raw bytes at the given line speed (the device's when 0), after a
  // pause of `pauseMs`.
  void Send(std::string_view bytes, uint32_t baud = 0, uint32_t pauseMs = 0);
  // Routes input to `mode` until it is cleared with nullptr.
  void SetInputMode(std::unique_ptr<InputMode> mode);
  // Feeds one byte to the command parser (for input modes that hand back).
  void ParseCommandByte(uint8_t byte);

  // Adds a command. Two families claiming one name is a mistake in the
  // model, so that throws std::logic_error.
  void Register(const std::string& name, CommandHandler handler);
  // Puts `handler` in place of the command's own, e.g. for a test's fault.
  void Override(const std::string& name, CommandHandler handler);
  // What the device does with a command no handler knows.
  void SetUnknownCommandHandler(CommandHandler handler) { unknown_ = std::move(handler); }

  // Info `number` worked out whenever it is asked for instead of read from
  // state().info, e.g. a clock, which moves on by itself. One source a
  // number; a second one is a mistake in the model (std::logic_error).
  using InfoSource = std::function<std::string(Device&)>;
  void RegisterInfoSource(int number, InfoSource source);
  // What the info query answers for `number`: its source's value, else the
  // stored one, else "".
  std::string InfoValue(int number);

  DeviceState& state() { return state_; }
  const DeviceSettings& settings() const { return settings_; }
  DeviceSettings& settings() { return settings_; }

  // Every command frame received, in order (terminator not included);
  // empty unless settings().keepHistory.
  const std::vector<std::string>& received() const { return received_; }

  // The printed documents as text, line by line (empty unless
  // settings().keepHistory); `onJournal` sees each line as it is printed.
  void Print(const std::string& line);
  const std::vector<std::string>& journal() const { return journal_; }
  std::function<void(const std::string&)> onJournal;

 private:
  void Dispatch(std::string frame, char terminator);
  // What the line fault does to `command`: nothing, mute it, or drop it.
  LineFault::Kind FaultOn(const Command& command);

  DeviceSettings settings_;
  DeviceState state_;
  std::map<std::string, CommandHandler> handlers_;
  std::map<int, InfoSource> infoSources_;
  CommandHandler unknown_;
  std::shared_ptr<InputMode> mode_;  // shared: a mode may replace itself while it runs
  std::deque<Transmission> output_;
  std::string frame_;
  bool inFrame_ = false;
  uint64_t sentCount_ = 0;
  uint64_t receivedCount_ = 0;
  uint32_t faultFrames_ = 0;               // frames counted towards the fault
  std::optional<uint64_t> faultLiftsAt_;   // while the fault holds
  bool muted_ = false;                     // the command running answers nothing
  std::vector<std::string> received_;
  std::vector<std::string> journal_;
};

}  // namespace korvena::emu
