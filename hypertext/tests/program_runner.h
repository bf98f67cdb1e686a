#pragma once
// Runs the real programs in a scratch folder, for the tests of file naming
// and of what is left on disk.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "korvena/emulator/program_run.h"

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

struct ProgramRun {
  std::string out;
  int status = -1;
};

// Runs the built program in `folder` with the arguments; captures standard output.
inline ProgramRun RunProgram(const ScratchFolder& folder, const std::string& program,
                             std::initializer_list<std::string> arguments) {
  const emu::ProgramRun run = emu::RunBuiltProgram(program, arguments, folder.Path());
  return {run.output, run.exitStatus};
}

}  // namespace korvena::hypertext::testing
