// korvena-emu: an emulated Korvena device on a pseudo-terminal. It prints
// KORVPORT_COM<n>=<path> at once, then serves until it is stopped.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "emu_options.h"
#include "korvena/emulator/device.h"
#include "korvena/emulator/frame_log.h"
#include "korvena/emulator/state_file.h"
#include "line_server.h"
#include "pty_line.h"

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int) { stopRequested = true; }

void InstallSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace korvena::emu;
  EmuOptions options;
  std::string error;
  if (!ParseEmuOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "korvena-emu: %s\n\n%s", error.c_str(), EmuUsage().c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(EmuUsage().c_str(), stdout);
    return 0;
  }

  FILE* journal = stderr;
  if (!options.journalPath.empty() && (journal = std::fopen(options.journalPath.c_str(), "a")) == nullptr) {
    std::fprintf(stderr, "korvena-emu: cannot open %s: %s\n", options.journalPath.c_str(), std::strerror(errno));
    return 1;
  }

  FILE* logFile = nullptr;
  if (!options.logPath.empty() && (logFile = std::fopen(options.logPath.c_str(), "w")) == nullptr) {
    std::fprintf(stderr, "korvena-emu: cannot open %s: %s\n", options.logPath.c_str(), std::strerror(errno));
    return 1;
  }
  // On disk line by line: the log is read while the emulator runs.
  FrameLog frameLog(
      [logFile](const std::string& line) {
        std::fputs(line.c_str(), logFile);
        std::fflush(logFile);
      },
      LocalTimeOfDayMs);

  // Serves for days: printed lines go to the journal file, nothing is kept.
  options.device.keepHistory = false;
  Device device(options.device);
  StateFile stateFile(options.statePath);
  if (!options.statePath.empty() && !stateFile.Load(device.state(), error)) {
    std::fprintf(stderr, "korvena-emu: %s\n", error.c_str());
    return 1;
  }
  for (const auto& [number, text] : options.info) device.state().info[number] = text;
  // Written at once, then after every change: a device configured before a
  // crash or a restart stays configured.
  bool saveFailed = false;  // said once, not after every command
  const auto saveState = [&] {
    if (options.statePath.empty() || stateFile.SaveIfChanged(device.state()) || saveFailed) return;
    saveFailed = true;
    std::fprintf(stderr, "korvena-emu: cannot write the state file %s\n", options.statePath.c_str());
  };
  saveState();
  device.onJournal = [journal](const std::string& line) {
    std::fprintf(journal, "%s\n", line.c_str());
    std::fflush(journal);
  };

  PtyLine line;
  if (!line.Create(options.device.baud)) {
    std::fprintf(stderr, "korvena-emu: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
    return 1;
  }
  if (!options.linkPath.empty()) {
    unlink(options.linkPath.c_str());
    if (symlink(line.slavePath().c_str(), options.linkPath.c_str()) != 0) {
      std::fprintf(stderr, "korvena-emu: cannot link %s: %s\n", options.linkPath.c_str(), std::strerror(errno));
      return 1;
    }
  }

  InstallSignalHandlers();
  std::printf("KORVPORT_COM%d=%s\n", options.com, line.slavePath().c_str());
  std::fflush(stdout);

  LineServer server(device, line, options.pace);
  server.afterInput = saveState;
  if (logFile != nullptr) server.log = &frameLog;
  server.Run(stopRequested);
  frameLog.Flush();
  if (logFile != nullptr) std::fclose(logFile);

  if (!options.linkPath.empty()) unlink(options.linkPath.c_str());
  if (journal != stderr) std::fclose(journal);
  return 0;
}
