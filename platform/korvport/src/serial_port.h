#pragma once
// The one open serial line of a process, behind the KORVPORT exports.
#include <cstddef>
#include <cstdint>
#include <string>

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

  bool Open(int32_t port, int32_t baud);
  bool Close();
  bool ReadByte(uint8_t& byte);
  bool WriteBytes(const uint8_t* bytes, std::size_t count);
  bool SetSpeed(int32_t baud);
  void DiscardInput();

 private:
  bool FillBuffer(int waitMs);

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
};

}  // namespace korvena
