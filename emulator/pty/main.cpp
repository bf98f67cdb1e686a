// korvena-emu: an emulated Korvena device on a pseudo-terminal. It prints
// KORVPORT_COM<n>=<path> at once, then serves until it is stopped.
#include <signal.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device_link.h"
#include "emu_options.h"
#include "korvena/emulator/device.h"
#include "korvena/emulator/state_file.h"
#include "korvena/platform/whole_files.h"
#include "korvena/protocol/frame_log.h"
#include "line_server.h"
#include "port_holders.h"
#include "pty_line.h"
#include "state_lock.h"

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

using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

// Opens the journal or the frame log; null, with the reason said, when the
// file is refused (a link, a FIFO, a folder) or cannot be opened.
File OpenLog(const char* what, const std::string& path, korvena::LogStart start) {
  File file(korvena::OpenLogFile(path, start), &std::fclose);
  if (!file) std::fprintf(stderr, "korvena-emu: cannot open the %s %s: %s\n", what, path.c_str(), korvena::FileErrorText(errno).c_str());
  return file;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "korvena-emu: %s\n", message.c_str());
  return 1;
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

  // First the lock: a second emulator on the state file touches nothing,
  // not even the frame log the first one may be writing.
  StateLock stateLock;
  if (!options.statePath.empty()) {
    if (!stateLock.Take(options.statePath, error)) return Fail(error);
    // Ours alone now: what lies beside it was left by a run that was killed.
    korvena::RemoveStaleTemporaryFiles(options.statePath);
  }

  File journal(nullptr, &std::fclose);
  if (!options.journalPath.empty() && !(journal = OpenLog("journal", options.journalPath, korvena::LogStart::kAppend)))
    return 1;
  File logFile(nullptr, &std::fclose);
  if (!options.logPath.empty() && !(logFile = OpenLog("frame log", options.logPath, korvena::LogStart::kEmpty)))
    return 1;
  // On disk line by line: the log is read while the emulator runs.
  korvena::protocol::FrameLog frameLog(
      [file = logFile.get()](const std::string& line) {
        std::fputs(line.c_str(), file);
        std::fflush(file);
      },
      korvena::protocol::LocalTimeOfDayMs);

  // Serves for days: printed lines go to the journal file, nothing is kept.
  options.device.keepHistory = false;
  Device device(options.device);
  StateFile stateFile(options.statePath);
  if (!options.statePath.empty() && !stateFile.Load(device.state(), error)) return Fail(error);
  for (const auto& [number, text] : options.info) device.state().info[number] = text;

  PtyLine line;
  if (!line.Create(options.device.baud))
    return Fail(std::string("cannot create a pseudo-terminal: ") + std::strerror(errno));
  PortHolders holders;
  if (!holders.Watch(line.slavePath()))
    return Fail("cannot watch the pseudo-terminal " + line.slavePath() + ": " + std::strerror(errno));
  DeviceLink link;
  if (!options.linkPath.empty() && !link.Make(options.linkPath, line.slavePath(), error)) return Fail(error);

  // Written at once, then after every change: a device configured before a
  // crash or a restart stays configured. A change that cannot be kept ends
  // the run before the PC is told it was made.
  const auto saveState = [&] {
    if (options.statePath.empty() || stateFile.SaveIfChanged(device.state())) return true;
    std::fprintf(stderr, "korvena-emu: cannot write the state file %s: %s; the change is not kept, and the device stops\n",
                 options.statePath.c_str(), korvena::FileErrorText(errno).c_str());
    return false;
  };
  if (!saveState()) return 1;
  FILE* journalFile = journal ? journal.get() : stderr;
  device.onJournal = [journalFile](const std::string& printed) {
    std::fprintf(journalFile, "%s\n", printed.c_str());
    std::fflush(journalFile);
  };

  InstallSignalHandlers();
  std::printf("KORVPORT_COM%d=%s\n", options.com, line.slavePath().c_str());
  std::fflush(stdout);

  LineServer server(device, line, holders, options.pace);
  server.afterInput = saveState;
  if (logFile) server.log = &frameLog;
  const bool kept = server.Run(stopRequested);
  frameLog.Flush();
  return kept ? 0 : 1;
}
