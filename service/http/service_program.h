#pragma once
// korvena-service as a program: its settings, tokens, journal, devices and
// HTTP front end, run until SIGTERM or SIGINT. The exit status: 0 after an
// orderly stop, 2 for a usage error, 1 when it cannot start.
#include "korvena/service/crash_points.h"

namespace korvena::service {

int RunServiceProgram(int argc, char** argv, const CrashHook& crash = {});

}  // namespace korvena::service
