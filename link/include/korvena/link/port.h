#pragma once
// The port library's operations as a seam: production code binds them to
// libkorvena.so (KorvportPort), tests to an emulated device or a scripted peer.
#include <cstdint>
#include <string>

namespace korvena {

class Port {
 public:
  virtual ~Port() = default;
  // 8-bit truth values exactly as the port library returns them: some callers
  // accept any non-zero value, others only 1.
  virtual uint8_t Open(int32_t port, int32_t baud) = 0;
  virtual uint8_t Close() = 0;
  // One byte into `byte`; non-zero when a byte arrived. Returns quickly either way.
  virtual uint8_t Read(uint8_t& byte) = 0;
  virtual uint8_t Write(const void* bytes, int32_t option, int32_t count) = 0;
  virtual void SetPort(int32_t baud) = 0;
  virtual void Flush() = 0;

  // Waits until Read can bring a byte or about `ms` milliseconds have passed;
  // false only when the time ran out with nothing to read. Callers wait here
  // after an empty Read instead of polling again at once. The default does
  // not wait: the next Read's own short wait keeps the caller off the CPU,
  // as it always did with a port library that has no such call.
  virtual bool WaitRead(uint32_t /*ms*/) { return true; }

  // Why the last Open failed, in words for the person who sees it; "" when
  // the port cannot tell.
  virtual std::string OpenProblem() const { return {}; }
};

}  // namespace korvena
