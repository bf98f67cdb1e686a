// korvena-service: the shop's fiscal service over HTTP and JSON.
#include <cstdio>
#include <exception>

#include "service_program.h"

int main(int argc, char** argv) {
  try {
    return korvena::service::RunServiceProgram(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "korvena-service: %s\n", error.what());
    return 1;
  }
}
