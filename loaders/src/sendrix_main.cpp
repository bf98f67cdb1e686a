// sendrix: loads an HTX file into the device.
//   sendrix -cx -hy [-vz]
#include <cstdio>
#include <exception>
#include <iostream>

#include "korvena/link/korvport_port.h"
#include "korvena/loaders/sendrix.h"

int main(int argc, char** argv) {
  try {
    korvena::KorvportPort port;
    if (!port.bound()) {
      std::fprintf(stderr, "%s: %s\n", "sendrix", port.problem().c_str());
      return 1;
    }
    korvena::SystemClock clock;
    return korvena::loaders::RunSendrix({argv + 1, argv + argc}, port, clock, std::cout);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "sendrix: %s\n", error.what());
    return 1;
  }
}
