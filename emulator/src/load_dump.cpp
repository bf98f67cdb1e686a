#include "load_dump.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvena::emu {

void DumpLoad(const Device& device, const std::string& name, const std::string& bytes) {
  const std::string& folder = device.settings().loader.dumpDir;
  if (folder.empty()) return;
  const std::string path = folder + "/" + name;
  const std::string temp = path + ".tmp~";
  FILE* out = std::fopen(temp.c_str(), "wb");
  bool written = out != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (out != nullptr) written = std::fclose(out) == 0 && written;
  if (!written || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "korvena-emu: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    std::remove(temp.c_str());
  }
}

}  // namespace korvena::emu
