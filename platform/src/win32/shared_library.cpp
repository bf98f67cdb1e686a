#include "korvena/platform/shared_library.h"

#include <windows.h>

#include <utility>

namespace korvena {
namespace {

std::string LastError(const std::string& what) {
  const DWORD code = GetLastError();
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      text, sizeof text, nullptr);
  std::string reason(text, length);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) reason.pop_back();
  return what + ": " + (reason.empty() ? "error " + std::to_string(code) : reason);
}

}  // namespace

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), problem_(std::move(other.problem_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = std::exchange(other.handle_, nullptr);
    problem_ = std::move(other.problem_);
  }
  return *this;
}

SharedLibrary::~SharedLibrary() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

SharedLibrary SharedLibrary::Load(const std::string& file) {
  SharedLibrary library;
  library.handle_ = LoadLibraryA(file.c_str());
  if (library.handle_ == nullptr) library.problem_ = LastError(file);
  return library;
}

void* SharedLibrary::Function(const char* name) {
  if (handle_ == nullptr) return nullptr;
  // GetProcAddress looks only into this module: nothing else can stand in.
  void* function = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
  if (function == nullptr) problem_ = LastError(name);
  return function;
}

}  // namespace korvena
