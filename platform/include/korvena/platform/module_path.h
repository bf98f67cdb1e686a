#pragma once
// Where the running program or library file lies, so configuration files are
// found beside it and not in whatever directory the host happens to run in.
#include <string>

namespace korvena {

// Full path of the running program; "" when it cannot be told.
std::string ProgramPath();

// Full path of the shared library (or program) that contains `address`,
// typically the address of a function of that library; "" when unknown.
std::string ModulePathOf(const void* address);

}  // namespace korvena
