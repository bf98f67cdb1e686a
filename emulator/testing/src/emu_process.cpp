#include "korvena/emulator/emu_process.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "korvena/platform/module_path.h"

namespace korvena::emu {

std::string EmuProcess::BuildDir() {
  if (const char* dir = std::getenv("KORVENA_BUILD_DIR"); dir != nullptr && *dir != '\0') return dir;
  // Tests live in <build>/tests, benchmarks in <build>/bench.
  std::string program = ProgramPath();
  program = program.substr(0, program.find_last_of('/'));
  return program.substr(0, program.find_last_of('/'));
}

bool EmuProcess::Start(const std::vector<std::string>& arguments, int com) {
  Stop();
  char journalTemplate[] = "/tmp/korvena-emu-journal-XXXXXX";
  const int journalFd = mkstemp(journalTemplate);
  if (journalFd < 0) return false;
  close(journalFd);
  journalFile_ = journalTemplate;

  int out[2];
  if (pipe(out) != 0) return false;
  std::vector<std::string> argv = {BuildDir() + "/bin/korvena-emu", "--com", std::to_string(com), "--journal",
                                   journalFile_};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  pid_ = fork();
  if (pid_ == 0) {
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
  std::string line;
  char c = 0;
  while (read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
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
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }
}

std::string EmuProcess::journal() const {
  std::ifstream in(journalFile_);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace korvena::emu
