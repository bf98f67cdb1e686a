#pragma once
// Runs one of the built programs as a child process, the way a technician or
// a script would, and keeps what it printed.
#include <string>
#include <vector>

namespace korvena::emu {

struct ProgramRun {
  std::string output;  // standard output, byte for byte
  int exitStatus = -1;  // -1 when it did not end normally
  double seconds = 0;   // wall time from start to end
};

// build/bin/<program> with `arguments`, started in `folder`, with this
// process's environment (so KORVPORT_COM<n> set by EmuProcess reaches it).
ProgramRun RunBuiltProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& folder);

}  // namespace korvena::emu
