#pragma once
// Runs the real programs in a scratch folder, for the tests of file naming
// and of what is left on disk.
#include <string>
#include <vector>

#include "korvena/emulator/program_run.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::hypertext::testing {

// Names of the folder's entries, sorted, separated by spaces.
inline std::string Listing(const ScratchFolder& folder) {
  std::string names;
  for (const std::string& name : folder.Names()) names += (names.empty() ? "" : " ") + name;
  return names;
}

struct ProgramRun {
  std::string out;
  int status = -1;
};

// Runs the built program in `folder` with the arguments; captures standard output.
inline ProgramRun RunProgram(const ScratchFolder& folder, const std::string& program,
                             const std::vector<std::string>& arguments) {
  const emu::ProgramRun run = emu::RunBuiltProgram(program, arguments, folder.path());
  return {run.output, run.exitStatus};
}

}  // namespace korvena::hypertext::testing
