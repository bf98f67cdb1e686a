#include "korvena/platform/module_path.h"

#include <windows.h>

namespace korvena {
namespace {

std::string FileNameOf(HMODULE module) {
  char buffer[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(module, buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return {};
  return std::string(buffer, length);
}

}  // namespace

std::string ProgramPath() { return FileNameOf(nullptr); }

std::string ModulePathOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module))
    return {};
  return FileNameOf(module);
}

}  // namespace korvena
