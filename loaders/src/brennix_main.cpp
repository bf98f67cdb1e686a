// brennix: loads firmware from korvena.fw in the current directory into the
// device. Its configuration, KvorWxx.ini, lies beside the program (on Linux,
// without one there, in /etc/korvena).
//   brennix -cx [-vz] [-r]
#include <cstdio>
#include <exception>
#include <iostream>

#include "korvena/link/korvport_port.h"
#include "korvena/loaders/brennix.h"
#include "korvena/platform/file_names.h"
#include "korvena/platform/module_path.h"
#include "korvena/platform/settings_file.h"

int main(int argc, char** argv) {
  using namespace korvena::loaders;
  try {
    korvena::KorvportPort port;
    if (!port.bound()) {
      std::fprintf(stderr, "%s: %s\n", "brennix", port.problem().c_str());
      return 1;
    }
    korvena::SystemClock clock;
    const std::string iniPath = korvena::SettingsFilePath(korvena::DirectoryOf(korvena::ProgramPath()), kBrennixIniName);
    return RunBrennix(iniPath, {argv + 1, argv + argc}, kFirmwareFileName, port, clock, std::cout);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "brennix: %s\n", error.what());
    return 1;
  }
}
