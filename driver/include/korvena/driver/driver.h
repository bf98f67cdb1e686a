#pragma once
// KvorW32's core: all the library's state and its start, write and read
// operations, over a Port and a Clock. The C exports wrap one process-wide
// instance; tests make fresh ones on an emulated port and a virtual clock.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "korvena/driver/command_buffer.h"
#include "korvena/driver/debug_log.h"
#include "korvena/driver/result_codes.h"
#include "korvena/link/driver_link.h"
#include "korvena/platform/local_date.h"

namespace korvena::driver {

// An LDX or SD transfer ends at this size even if the device goes on sending,
// and then counts as failed.
inline constexpr std::size_t kTransferLimitBytes = 64u << 20;

// What the library takes from the process around it.
struct DriverHost {
  std::string iniPath;  // KVORWXX.INI, beside the library file or in /etc/korvena
  // Directory that names without one are relative to (KORVENA.DBG,
  // KORVENA.LDX, a relative FileDir); "" is the current directory.
  std::string workDir;
  std::function<LocalDate()> today;
  std::function<void(const std::string& caption, const std::string& text)> showWarning;
  // Why the port library could not be bound; "" when it was. A start then
  // fails as for a port that cannot be opened, and the debug log says why.
  std::string portLibraryProblem;
  std::size_t transferLimitBytes = kTransferLimitBytes;
};

// Settings, as the last start left them; they survive ExitLibProc.
struct DriverSettings {
  bool debug = false;
  bool ldx = false;
  bool iv = false;
  bool crc = false;
  int32_t timeoutMs = 0;  // T; 0 until StartLibProc has read the configuration
  int32_t baud = 0;
  std::string ldxFileName = "KORVENA.LDX";
  std::string fileDir;  // ends with a path delimiter once set
};

// What a whole command brought back (Driver::Execute).
struct CommandOutcome {
  uint16_t result = kNotStarted;  // the code the write exports give at its CR
  std::string answer;             // the answer line of IV or INFO
  std::string ldx;                // LDX data fetched after it, less its two sum bytes
  std::string sd;                 // the data READSD brought
};

struct ExecuteOptions {
  // Fetch the LDX data after a command that produces it, as Ldx=1 does.
  bool fetchLdx = false;
  // Write KORVENA.LDX, the daily file and the SD file as the character
  // exports do; otherwise the data is only handed back.
  bool writeFiles = false;
};

// The MIP and MDP acknowledgement is waited for in steps of this length...
inline constexpr uint32_t kAcknowledgementStepMs = 10000;
// ...at most this many times (5 minutes); then the command gives 1.
inline constexpr int kAcknowledgementSteps = 30;

class Driver {
 public:
  Driver(Port& port, Clock& clock, DriverHost host);
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  uint16_t StartLibProc();
  uint16_t StartLibProcEx(uint8_t port, const char* fileDir, const char* fileLD, const char* baudRate,
                          bool showErrors);
  void ExitLibProc();

  // One character of a command; the result code of the write exports.
  uint16_t Write(uint8_t character);
  // The next character of the answer buffer; kReadNotStarted, or CR at its end.
  uint8_t Read();

  // One whole command, from ESC up to its CR (not included), through the
  // same rules as the characters of the write exports, with its answer and
  // data handed back. A command with a CR inside or longer than the command
  // buffer is refused with kFailed before anything is sent; one that does
  // not start with ESC is discarded with kOk, as at a CR.
  CommandOutcome Execute(std::string_view command, const ExecuteOptions& options = {});

  bool started() const { return started_; }
  const DriverSettings& settings() const { return settings_; }

 private:
  class StartLog;
  enum class FetchOutcome { kFetched, kNoData, kFileError, kCut };

  // The write pipeline, at a CR.
  uint16_t ProcessCommand();
  uint16_t InfoCommand();
  uint16_t GeneralCommand();
  uint16_t AcknowledgedCommand();
  uint16_t LdxCommand();
  uint16_t SdCommand();

  // While Execute runs: where the data goes, and what it asked for.
  struct Capture {
    ExecuteOptions options;
    CommandOutcome* outcome;
  };
  bool WantsLdx() const { return settings_.ldx || (capture_ != nullptr && capture_->options.fetchLdx); }
  bool WritesFiles() const { return capture_ == nullptr || capture_->options.writeFiles; }

  bool Send(std::string_view text);
  uint16_t ReadGeneralResult(uint32_t limitMs);
  uint16_t ReadAnswer(uint32_t limitMs);
  bool WaitForAcknowledgement();
  // GETLDX and the LDX fetch after it, after a command that produced data;
  // its outcome goes to the debug log only.
  void RequestLdx();
  FetchOutcome FetchLdx();
  // Logs that `file` could not be written.
  FetchOutcome FileError(const std::string& file);
  bool ReadSdData();
  // The SD data into `file`: replacing it only when the transfer is known to
  // be whole, else only where no file stood. True when whole and written.
  bool WriteSdFile(const std::string& file, const ByteStream& stream, std::optional<int64_t> length);
  // True when the SD data is all the device announced; logs what it lacks.
  bool SdTransferWhole(const ByteStream& stream, std::optional<int64_t> length);

  uint16_t ReportStartError(uint16_t code, const std::string& message, bool showErrors);
  // The rate the search found, into the settings file that was read.
  void WriteBackBaudRate(int32_t baud);
  std::string InWorkDir(const std::string& name) const;
  uint32_t T() const { return static_cast<uint32_t>(settings_.timeoutMs); }
  void Log(std::string_view message) {
    if (settings_.debug) log_.Write(message);
  }

  Port& port_;
  Clock& clock_;
  DriverLink link_;
  DriverHost host_;
  DriverSettings settings_;
  DebugLog log_;
  bool started_ = false;
  CommandBuffer command_;
  std::string answer_;
  std::size_t answerRead_ = 0;  // characters of answer_ already handed out
  Capture* capture_ = nullptr;
};

}  // namespace korvena::driver
