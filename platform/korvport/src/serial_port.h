#pragma once
// The one open serial line of a process, behind the KORVPORT exports.
#include <cstddef>
#include <cstdint>
#include <string>

#include "korvport.h"

namespace korvena {

// The device path of COM `port`: on Windows \\.\COM<port>; elsewhere
// $KORVPORT_COM<port> when set, else /dev/ttyS<port-1>. Empty for a number
// outside 1..20.
std::string ComDevicePath(int32_t port);

class SerialPort {
 public:
  SerialPort() = default;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;
  ~SerialPort() { Close(); }

  // False when the port cannot be opened; openError() and openProblem() then
  // say why.
  bool Open(int32_t port, int32_t baud);
  bool Close();
  bool ReadByte(uint8_t& byte);
  // True once ReadByte will give a byte; false after `timeoutMs` without one.
  bool WaitForByte(uint32_t timeoutMs);
  bool WriteBytes(const uint8_t* bytes, std::size_t count);
  bool SetSpeed(int32_t baud);
  void DiscardInput();

  // A KORVPORT_* reason of the last Open, and the same for a person.
  int32_t openError() const { return openError_; }
  const std::string& openProblem() const { return openProblem_; }

 private:
  // How long one ReadByte waits for a byte before answering "none"; callers
  // poll it against their own deadlines, so this only keeps them off the CPU.
  static constexpr uint32_t kReadWaitMs = 1;

  bool IsOpen() const;
  // Waits up to `waitMs` for bytes and fetches what came into the buffer;
  // false when nothing came. A line that fails at once still takes the whole
  // time, or the callers' polling loops would spin.
  bool FillBuffer(uint32_t waitMs);
  // Open's result once it has opened the line, and its failures.
  bool Opened();
  bool Refuse(int32_t reason, const std::string& what, const std::string& systemText = "");
  // A failure the system reported by its error number (errno, GetLastError).
  bool RefuseForSystemError(unsigned long error, const std::string& what);

#if defined(_WIN32)
  void* handle_ = nullptr;  // the COM port's HANDLE; nullptr while closed
#else
  int fd_ = -1;
#endif
  // Bytes fetched by one large read() and handed out one per ReadByte: a
  // read() per byte would cost microseconds each.
  uint8_t buffer_[4096];
  std::size_t bufferStart_ = 0;
  std::size_t bufferEnd_ = 0;
  int32_t openError_ = KORVPORT_OPENED;
  std::string openProblem_;
};

}  // namespace korvena
