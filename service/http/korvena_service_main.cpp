// korvena-service: the shop's fiscal service over HTTP and JSON.
#include <exception>

#include "korvena/service/service_log.h"
#include "service_program.h"

int main(int argc, char** argv) {
  try {
    return korvena::service::RunServiceProgram(argc, argv);
  } catch (const std::exception& error) {
    korvena::service::LogLine("%s", error.what());
    return 1;
  }
}
