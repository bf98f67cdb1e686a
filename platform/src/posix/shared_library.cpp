#include "korvena/platform/shared_library.h"

#include <dlfcn.h>

#include <utility>

namespace korvena {

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), problem_(std::move(other.problem_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    problem_ = std::move(other.problem_);
  }
  return *this;
}

SharedLibrary::~SharedLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

SharedLibrary SharedLibrary::Load(const std::string& file) {
  SharedLibrary library;
  // Local: its symbols stay out of the process's global scope as well.
  library.handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library.handle_ == nullptr) {
    const char* reason = dlerror();
    library.problem_ = reason != nullptr ? reason : file + ": cannot be loaded";
  }
  return library;
}

void* SharedLibrary::Function(const char* name) {
  if (handle_ == nullptr) return nullptr;
  dlerror();
  void* function = dlsym(handle_, name);
  if (function == nullptr) {
    const char* reason = dlerror();
    problem_ = reason != nullptr ? reason : std::string(name) + ": not found";
  }
  return function;
}

}  // namespace korvena
