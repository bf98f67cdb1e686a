// The C exports of the port library: a thin layer over the process's one
// SerialPort. No C++ exception may cross into the caller.
#include "korvport.h"

#include <algorithm>
#include <cstring>

#include "serial_port.h"

namespace {

korvena::SerialPort& ThePort() {
  static korvena::SerialPort port;
  return port;
}

// Runs `call`; an exception (out of memory naming the device) is a failure:
// false, or nothing for a call that returns nothing.
template <typename Call>
auto Guarded(Call call) noexcept -> decltype(call()) {
  try {
    return call();
  } catch (...) {
    return decltype(call())();
  }
}

}  // namespace

extern "C" {

KORVPORT_API uint8_t KORVPORT_CALL Open(int32_t port, int32_t baud) {
  return Guarded([=] { return ThePort().Open(port, baud); }) ? 1 : 0;
}

KORVPORT_API uint8_t KORVPORT_CALL Close(void) {
  return Guarded([] { return ThePort().Close(); }) ? 1 : 0;
}

KORVPORT_API uint8_t KORVPORT_CALL Read(void* buffer, int32_t option, int32_t count) {
  if (buffer == nullptr || count != 1) return 0;
  return Guarded([buffer] { return ThePort().ReadByte(*static_cast<uint8_t*>(buffer)); }) ? 1 : 0;
}

KORVPORT_API uint8_t KORVPORT_CALL Write(const void* bytes, int32_t option, int32_t count) {
  if (count < 0 || (bytes == nullptr && count > 0)) return 0;
  const auto* data = static_cast<const uint8_t*>(bytes);
  return Guarded([=] { return ThePort().WriteBytes(data, static_cast<std::size_t>(count)); }) ? 1 : 0;
}

KORVPORT_API void KORVPORT_CALL SetPort(int32_t baud) {
  Guarded([baud] { ThePort().SetSpeed(baud); });
}

KORVPORT_API void KORVPORT_CALL Flush(void) {
  Guarded([] { ThePort().DiscardInput(); });
}

KORVPORT_API uint8_t KORVPORT_CALL WaitRead(int32_t timeoutMs) {
  const uint32_t wait = timeoutMs > 0 ? static_cast<uint32_t>(timeoutMs) : 0;
  return Guarded([wait] { return ThePort().WaitForByte(wait); }) ? 1 : 0;
}

KORVPORT_API int32_t KORVPORT_CALL OpenError(void) {
  return ThePort().openError();
}

KORVPORT_API int32_t KORVPORT_CALL OpenErrorText(char* text, int32_t size) {
  const std::string& problem = ThePort().openProblem();
  if (text != nullptr && size > 0) {
    const std::size_t copied = std::min(problem.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(text, problem.data(), copied);
    text[copied] = '\0';
  }
  return static_cast<int32_t>(problem.size());
}

}
