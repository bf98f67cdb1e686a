// Start and stop: the configuration file, the open-and-identify sequence with
// its log entries and messages, and ExitLibProc.
#include <cstdio>
#include <cstring>
#include <optional>

#include "korvena/driver/driver.h"
#include "korvena/driver/driver_config.h"
#include "korvena/platform/file_names.h"
#include "korvena/platform/ini_profile.h"

namespace korvena::driver {
namespace {

constexpr uint8_t kHighestPort = 20;
constexpr int32_t kDefaultBaud = 9600;

// The text, or nothing when it is longer than the platform takes.
std::optional<std::string> StartText(const char* text) {
  if (text == nullptr) return std::string();
  const std::size_t length = strnlen(text, kLongestStartText + 1);
  if (length > kLongestStartText) return std::nullopt;
  return std::string(text, length);
}

}  // namespace

// The open-and-identify progress as debug log entries.
class Driver::StartLog final : public OpenObserver {
 public:
  explicit StartLog(Driver& driver) : driver_(driver) {}
  void SleptAfterFailedOpen(int attempt) override { driver_.Log("sleeping = " + std::to_string(attempt)); }
  void IdentifyAttempted(int) override { driver_.Log("open ok test"); }
  void FinalOpen(bool opened, int32_t baud) override {
    driver_.Log(opened ? "open ok ->" + std::to_string(baud) : std::string("open err"));
    // The port library's reason, when it gives one, for whoever reads the log.
    if (const std::string problem = opened ? std::string() : driver_.port_.OpenProblem(); !problem.empty())
      driver_.Log("open problem: " + problem);
  }

 private:
  Driver& driver_;
};

Driver::Driver(Port& port, Clock& clock, DriverHost host)
    : port_(port), clock_(clock), link_(port, clock), host_(std::move(host)) {}

std::string Driver::InWorkDir(const std::string& name) const {
  if (name.empty() || IsAbsolutePath(name) || host_.workDir.empty()) return name;
  return WithPathDelimiter(host_.workDir) + name;
}

uint16_t Driver::StartLibProc() {
  // A second start must change nothing, not even the settings or the log.
  if (started_) return kStartRefused;
  DriverConfig config;
  try {
    config = ReadDriverConfig(host_.iniPath);
  } catch (...) {
    config = DriverConfig{};
  }
  settings_.debug = config.debug;
  settings_.ldx = config.ldx;
  settings_.iv = config.iv;
  settings_.crc = config.crc;
  settings_.timeoutMs = config.timeoutMs;
  if (settings_.debug) log_.Create(InWorkDir("KORVENA.DBG"));
  if (config.com < 0 || config.com > 255) return kStartRefused;
  return StartLibProcEx(static_cast<uint8_t>(config.com), config.fileDir.c_str(), config.fileLD.c_str(),
                        config.baudRate.c_str(), config.dispE);
}

uint16_t Driver::StartLibProcEx(uint8_t port, const char* fileDir, const char* fileLD, const char* baudRate,
                                bool showErrors) {
  if (started_ || port == 0 || port > kHighestPort) return kStartRefused;
  const std::optional<std::string> name = StartText(fileLD);
  const std::optional<std::string> dir = StartText(fileDir);
  const std::optional<std::string> rate = StartText(baudRate);
  for (const auto& [text, key] : {std::pair{&name, "FileLD"}, {&dir, "FileDir"}, {&rate, "BaudRate"}}) {
    if (text->has_value()) continue;
    Log(std::string(key) + " longer than " + std::to_string(kLongestStartText) + " characters: not started");
    return kStartRefused;
  }
  if (!name->empty()) settings_.ldxFileName = *name;
  if (!dir->empty()) settings_.fileDir = WithPathDelimiter(*dir);
  settings_.baud = ParseBaudRate(*rate).value_or(kDefaultBaud);

  Log("port open: " + std::to_string(port));
  const std::string cannotOpen = "Nemôžem otvoriť COM" + std::to_string(port) + ".";
  if (!host_.portLibraryProblem.empty()) {
    Log("port library: " + host_.portLibraryProblem);
    return ReportStartError(kCannotOpen, cannotOpen, showErrors);
  }
  StartLog progress(*this);
  const OpenOutcome outcome = link_.OpenAndIdentify(port, settings_.baud, T(), &progress);
  switch (outcome.kind) {
    case OpenOutcome::kCannotOpen:
      return ReportStartError(kCannotOpen, cannotOpen, showErrors);
    case OpenOutcome::kNotFound:
      // The link has closed the port already.
      ReportStartError(kNoDevice, "KORVENA.2010 nebol nájdený na COM porte !", showErrors);
      Log("nenajdeny");
      return kNoDevice;
    case OpenOutcome::kIdentifiedBySearch:
      settings_.baud = outcome.baud;
      WriteBackBaudRate(outcome.baud);
      break;
    case OpenOutcome::kIdentified:
      break;
  }
  started_ = true;
  command_.Clear();
  answer_.clear();
  answerRead_ = 0;
  return kStarted;
}

void Driver::WriteBackBaudRate(int32_t baud) {
  // The device answers all the same; the next start simply searches again.
  bool written = false;
  try {
    written = WriteProfileString(host_.iniPath, kIniSection, "BaudRate", std::to_string(baud));
  } catch (...) {
  }
  if (!written) Log("BaudRate not written: " + host_.iniPath);
}

uint16_t Driver::ReportStartError(uint16_t code, const std::string& message, bool showErrors) {
  if (showErrors && host_.showWarning) {
    char number[8];
    std::snprintf(number, sizeof number, "%3d", code);
    host_.showWarning("Chyba", std::string(number) + " " + message);
  }
  return code;
}

void Driver::ExitLibProc() {
  if (started_) {
    Log(port_.Close() == 1 ? "close ok" : "close err");
    started_ = false;
  }
  log_.Close();
}

uint8_t Driver::Read() {
  if (!started_) return kReadNotStarted;
  if (answerRead_ >= answer_.size()) return kAnswerEnd;
  return static_cast<uint8_t>(answer_[answerRead_++]);
}

}  // namespace korvena::driver
