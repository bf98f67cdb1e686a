#pragma once
// Runs the real korvena-emu as a child process for end-to-end tests and
// benchmarks: starts it, learns its pseudo-terminal, points KORVPORT_COM<n>
// at it, and stops it again.
#include <sys/types.h>

#include <string>
#include <vector>

namespace korvena::emu {

class EmuProcess {
 public:
  EmuProcess() = default;
  EmuProcess(const EmuProcess&) = delete;
  EmuProcess& operator=(const EmuProcess&) = delete;
  ~EmuProcess();

  // Starts build/bin/korvena-emu with `arguments` (found through the
  // KORVENA_BUILD_DIR environment variable, else beside the running test's
  // build folder). The journal goes to a file read by journal(), standard
  // error to one read by errors(). Sets KORVPORT_COM<com> in this process's
  // environment. False when it failed.
  bool Start(const std::vector<std::string>& arguments, int com = 1);
  // Ends the emulator (SIGTERM) and waits for it.
  void Stop();
  // Waits up to `limitMs` for the emulator to end by itself; true when it
  // has ended.
  bool Wait(int limitMs);
  // How the last run ended: its exit status, or -1 when it was ended by a
  // signal or has not ended yet. A Start that failed because the emulator
  // refused to serve leaves its status here.
  int exitStatus() const { return exitStatus_; }

  const std::string& path() const { return path_; }
  // "KORVPORT_COM<n>=<path>" for the environment of a child program.
  std::string EnvironmentEntry() const { return variable_ + "=" + path_; }
  // What the emulator printed as its journal so far.
  std::string journal() const;
  // What it wrote to standard error so far.
  std::string errors() const;

  // The build folder holding bin/ and lib/.
  static std::string BuildDir();

 private:
  // Copies what the last run wrote to standard error to ours, then removes
  // its files.
  void RemoveFiles();
  void Ended(int waitStatus);

  pid_t pid_ = -1;
  int exitStatus_ = -1;
  std::string path_;
  std::string variable_;
  std::string journalFile_;
  std::string errorsFile_;
};

}  // namespace korvena::emu
