// tekstor: compiles a DTX template source into the HTX file for the device.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "korvena/hypertext/tekstor.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // The compiler writes its own CR LF line ends.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  try {
    return korvena::hypertext::RunTekstor(std::vector<std::string>(argv + 1, argv + argc), std::cout);
  } catch (const std::exception& e) {
    std::cerr << "tekstor: " << e.what() << '\n';
    return 1;
  }
}
