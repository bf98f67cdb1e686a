// The C exports of the port library: a thin layer over the process's one
// SerialPort. No C++ exception may cross into the caller.
#include "korvport.h"

#include "serial_port.h"

namespace {

korvena::SerialPort& ThePort() {
  static korvena::SerialPort port;
  return port;
}

// Runs `call`; an exception (out of memory naming the device) is a failure.
template <typename Call>
uint8_t Guarded(Call call) noexcept {
  try {
    return call() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // namespace

extern "C" {

KORVPORT_API uint8_t KORVPORT_CALL Open(int32_t port, int32_t baud) {
  return Guarded([=] { return ThePort().Open(port, baud); });
}

KORVPORT_API uint8_t KORVPORT_CALL Close(void) {
  return Guarded([] { return ThePort().Close(); });
}

KORVPORT_API uint8_t KORVPORT_CALL Read(void* buffer, int32_t option, int32_t count) {
  if (buffer == nullptr || count != 1) return 0;
  return Guarded([buffer] {
    uint8_t byte = 0;
    if (!ThePort().ReadByte(byte)) return false;
    *static_cast<uint8_t*>(buffer) = byte;
    return true;
  });
}

KORVPORT_API uint8_t KORVPORT_CALL Write(const void* bytes, int32_t option, int32_t count) {
  if (count < 0 || (bytes == nullptr && count > 0)) return 0;
  const auto* data = static_cast<const uint8_t*>(bytes);
  return Guarded([=] { return ThePort().WriteBytes(data, static_cast<std::size_t>(count)); });
}

KORVPORT_API void KORVPORT_CALL SetPort(int32_t baud) {
  Guarded([baud] {
    ThePort().SetSpeed(baud);
    return true;
  });
}

KORVPORT_API void KORVPORT_CALL Flush(void) {
  Guarded([] {
    ThePort().DiscardInput();
    return true;
  });
}

}
