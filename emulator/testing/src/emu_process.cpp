#include "korvena/emulator/emu_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "korvena/platform/module_path.h"

namespace korvena::emu {
namespace {

constexpr int kLongestStartMs = 10000;

// A fresh empty file under /tmp; its name, or "" when none could be made.
std::string ScratchFile(const char* kind) {
  std::string name = std::string("/tmp/korvena-emu-") + kind + "-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return "";
  close(fd);
  return name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

EmuProcess::~EmuProcess() {
  Stop();
  RemoveFiles();
}

void EmuProcess::RemoveFiles() {
  // What the run said stays in the test's log, a sanitizer's report too.
  if (const std::string said = errors(); !said.empty()) std::fprintf(stderr, "korvena-emu said:\n%s", said.c_str());
  for (const std::string& file : {journalFile_, errorsFile_})
    if (!file.empty()) unlink(file.c_str());
}

std::string EmuProcess::BuildDir() {
  if (const char* dir = std::getenv("KORVENA_BUILD_DIR"); dir != nullptr && *dir != '\0') return dir;
  // Tests live in <build>/tests, benchmarks in <build>/bench.
  std::string program = ProgramPath();
  program = program.substr(0, program.find_last_of('/'));
  return program.substr(0, program.find_last_of('/'));
}

bool EmuProcess::Start(const std::vector<std::string>& arguments, int com) {
  Stop();
  RemoveFiles();
  exitStatus_ = -1;
  journalFile_ = ScratchFile("journal");
  errorsFile_ = ScratchFile("errors");
  if (journalFile_.empty() || errorsFile_.empty()) return false;

  int out[2];
  if (pipe(out) != 0) return false;
  std::vector<std::string> argv = {BuildDir() + "/bin/korvena-emu", "--com", std::to_string(com), "--journal",
                                   journalFile_};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  pid_ = fork();
  if (pid_ == 0) {
    const int errors = open(errorsFile_.c_str(), O_WRONLY | O_APPEND);
    if (errors >= 0) dup2(errors, STDERR_FILENO);
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    execv(raw[0], raw.data());
    _exit(127);
  }
  close(out[1]);
  if (pid_ < 0) {
    close(out[0]);
    return false;
  }
  // An emulator that neither serves nor ends (stuck opening a file, say)
  // must not hold up the tests for ever.
  std::string line;
  char c = 0;
  pollfd printed{out[0], POLLIN, 0};
  while (poll(&printed, 1, kLongestStartMs) == 1 && read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
  close(out[0]);
  const auto eq = line.find('=');
  if (line.rfind("KORVPORT_COM", 0) != 0 || eq == std::string::npos) {
    Stop();
    return false;
  }
  variable_ = line.substr(0, eq);
  path_ = line.substr(eq + 1);
  setenv(variable_.c_str(), path_.c_str(), 1);
  return true;
}

void EmuProcess::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  Ended(status);
}

bool EmuProcess::Wait(int limitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (pid_ > 0) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      Ended(status);
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void EmuProcess::Ended(int status) {
  pid_ = -1;
  exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string EmuProcess::journal() const { return ReadFile(journalFile_); }

std::string EmuProcess::errors() const { return ReadFile(errorsFile_); }

}  // namespace korvena::emu
