#include "service_process.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "korvena/emulator/emu_process.h"

namespace korvena::service {
namespace {

constexpr int kLongestStartMs = 20000;
constexpr std::string_view kListening = "listening on 127.0.0.1:";

}  // namespace

ServiceProcess::~ServiceProcess() {
  Kill();
  if (!errorsFile_.empty()) unlink(errorsFile_.c_str());
}

bool ServiceProcess::Start(const std::vector<std::string>& arguments, const std::string& program,
                           const std::vector<std::string>& environment) {
  Kill();
  if (errorsFile_.empty()) {
    std::string name = "/tmp/korvena-service-errors-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) return false;
    close(fd);
    errorsFile_ = name;
  }
  truncate(errorsFile_.c_str(), 0);
  std::vector<std::string> argv = {emu::EmuProcess::BuildDir() + "/bin/" + program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  bool listenGiven = false;
  for (const std::string& a : arguments) listenGiven = listenGiven || a.rfind("--listen", 0) == 0;
  if (!listenGiven) argv.insert(argv.end(), {"--listen", "127.0.0.1:0"});
  pid_ = fork();
  if (pid_ == 0) {
    const int errors = open(errorsFile_.c_str(), O_WRONLY | O_APPEND);
    if (errors >= 0) dup2(errors, STDERR_FILENO);
    for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    execv(raw[0], raw.data());
    _exit(127);
  }
  if (pid_ < 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLongestStartMs);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string said = errors();
    if (const std::size_t at = said.find(kListening); at != std::string::npos) {
      port_ = std::atoi(said.c_str() + at + kListening.size());
      return port_ > 0;
    }
    if (WaitForEnd(0)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  Kill();
  return false;
}

int ServiceProcess::Stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ServiceProcess::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

bool ServiceProcess::WaitForEnd(int limitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (pid_ > 0) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      pid_ = -1;
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::string ServiceProcess::errors() const {
  std::ifstream in(errorsFile_);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace korvena::service
