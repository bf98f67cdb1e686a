// kalibro-cli: the service program's functions from a shell.
#include <cstdio>
#include <exception>
#include <iostream>

#include "kalibro_cli.h"

int main(int argc, char** argv) {
  try {
    return korvena::cli::RunKalibroCli({argv + 1, argv + argc}, std::cout, std::cerr);
  } catch (const std::exception& error) {
    // Only printing the failure itself can get here.
    std::fprintf(stderr, "kalibro-cli: %s\n", error.what());
    return 1;
  }
}
