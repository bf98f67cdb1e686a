#pragma once
// Runs the real programs in a scratch folder, for the tests of file naming
// and of what is left on disk.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace korvena::hypertext::testing {

// A fresh folder (no dot in its path, which would change file naming),
// removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/tekstor-test-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  void Write(const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(*this / name).parent_path());
    std::ofstream(*this / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(*this / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  bool Has(const std::string& name) const { return std::filesystem::exists(*this / name); }
  // Names of the entries, sorted, separated by spaces.
  std::string Listing() const {
    std::string names;
    std::vector<std::string> all;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) all.push_back(entry.path().filename());
    std::sort(all.begin(), all.end());
    for (const auto& name : all) names += (names.empty() ? "" : " ") + name;
    return names;
  }

 private:
  std::string path_;
};

inline std::string ProgramPath(const std::string& program) {
  if (const char* build = std::getenv("KORVENA_BUILD_DIR")) return std::string(build) + "/bin/" + program;
  return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "bin" / program).string();
}

struct ProgramRun {
  std::string out;
  int status = -1;
};

// Runs the program in `folder` with the arguments; captures standard output.
inline ProgramRun RunProgram(const ScratchFolder& folder, const std::string& program,
                             std::initializer_list<std::string> arguments) {
  std::string command = "cd '" + folder.Path() + "' && '" + ProgramPath(program) + "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace korvena::hypertext::testing
