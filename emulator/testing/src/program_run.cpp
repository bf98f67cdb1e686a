#include "korvena/emulator/program_run.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "korvena/emulator/emu_process.h"

extern char** environ;

namespace korvena::emu {

ProgramRun RunBuiltProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& folder) {
  ProgramRun run;
  int out[2];
  if (pipe(out) != 0) return run;
  std::vector<std::string> words = {EmuProcess::BuildDir() + "/bin/" + program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  const auto start = std::chrono::steady_clock::now();
  pid_t child = -1;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned == 0) {
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(out[0], buffer, sizeof buffer)) > 0) run.output.append(buffer, static_cast<std::size_t>(got));
    int status = 0;
    waitpid(child, &status, 0);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  close(out[0]);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return run;
}

}  // namespace korvena::emu
