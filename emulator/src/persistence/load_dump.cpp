#include "persistence/load_dump.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "korvena/platform/whole_files.h"

namespace korvena::emu {

void DumpLoad(const Device& device, const std::string& name, const std::string& bytes) {
  const std::string& folder = device.settings().loader.dumpDir;
  if (folder.empty()) return;
  const std::string path = folder + "/" + name;
  if (!WriteWholeFile(path, bytes))
    std::fprintf(stderr, "korvena-emu: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
}

}  // namespace korvena::emu
