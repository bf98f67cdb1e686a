#pragma once
// The Port seam bound to the real port library, libkorvena.so. Its
// functions are bound by name through the library's own handle, never
// through the process's global symbols: a host application with functions
// of its own called Open, Read or Write cannot take their place. The six of
// every port library must be there; WaitRead and OpenErrorText are used when
// the library has them.
#include <string>

#include "korvena/link/port.h"
#include "korvena/platform/shared_library.h"
#include "korvport.h"

namespace korvena {

// The port library's file name; on Linux its soname adds the major version.
#if defined(_WIN32)
inline constexpr const char* kKorvportFileName = "KORVENA.DLL";
#else
inline constexpr const char* kKorvportFileName = "libkorvena.so";
#endif

// The port library KorvportPort binds for `folder`: a copy lying there (on
// Linux the soname first, then the plain name copied into a till's folder),
// else the bare soname for the platform's library search.
std::string KorvportFileFor(const std::string& folder);

class KorvportPort final : public Port {
 public:
  // Binds KorvportFileFor(preferredFolder).
  explicit KorvportPort(const std::string& preferredFolder = "");

  // False when the library or one of its six functions could not be bound;
  // every operation then fails (Open and Read give 0) and problem() says why.
  bool bound() const { return bound_; }
  // (A missing optional function is no problem: the library still works.)
  std::string problem() const { return bound_ ? std::string() : library_.problem(); }

  uint8_t Open(int32_t port, int32_t baud) override;
  uint8_t Close() override;
  uint8_t Read(uint8_t& byte) override;
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override;
  void SetPort(int32_t baud) override;
  void Flush() override;
  bool WaitRead(uint32_t ms) override;
  std::string OpenProblem() const override;

 private:
  SharedLibrary library_;
  bool bound_ = false;
  uint8_t(KORVPORT_CALL* open_)(int32_t, int32_t) = nullptr;
  uint8_t(KORVPORT_CALL* close_)() = nullptr;
  uint8_t(KORVPORT_CALL* read_)(void*, int32_t, int32_t) = nullptr;
  uint8_t(KORVPORT_CALL* write_)(const void*, int32_t, int32_t) = nullptr;
  void(KORVPORT_CALL* setPort_)(int32_t) = nullptr;
  void(KORVPORT_CALL* flush_)() = nullptr;
  uint8_t(KORVPORT_CALL* waitRead_)(int32_t) = nullptr;
  int32_t(KORVPORT_CALL* openErrorText_)(char*, int32_t) = nullptr;
};

}  // namespace korvena
