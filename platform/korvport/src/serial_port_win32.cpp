// The serial line on the Win32 communications API.
#include <windows.h>

#include <algorithm>

#include "korvena/platform/line_settings.h"
#include "serial_port.h"

namespace korvena {
namespace {

// How long one Read waits for a byte before answering "none"; callers poll in
// a loop against their own deadlines, so this only has to keep them off the CPU.
constexpr DWORD kReadWaitMs = 1;
// A write that makes no progress for this long has lost its line.
constexpr DWORD kWriteStallMs = 2000;
constexpr DWORD kQueueBytes = 4096;

HANDLE Handle(void* handle) { return static_cast<HANDLE>(handle); }

// 8 data bits, no parity, one stop bit, no flow control, at `baud`.
bool SetLine(HANDLE port, uint32_t baud) {
  DCB settings{};
  settings.DCBlength = sizeof settings;
  if (!GetCommState(port, &settings)) return false;
  settings.BaudRate = baud;
  settings.fBinary = TRUE;
  settings.fParity = FALSE;
  settings.ByteSize = 8;
  settings.Parity = NOPARITY;
  settings.StopBits = ONESTOPBIT;
  settings.fOutxCtsFlow = FALSE;
  settings.fOutxDsrFlow = FALSE;
  settings.fDtrControl = DTR_CONTROL_ENABLE;
  settings.fRtsControl = RTS_CONTROL_ENABLE;
  settings.fDsrSensitivity = FALSE;
  settings.fOutX = FALSE;
  settings.fInX = FALSE;
  settings.fErrorChar = FALSE;
  settings.fNull = FALSE;
  settings.fAbortOnError = FALSE;
  return SetCommState(port, &settings) != 0;
}

}  // namespace

std::string ComDevicePath(int32_t port) {
  if (port < 1 || port > 20) return {};
  return "\\\\.\\COM" + std::to_string(port);
}

bool SerialPort::Open(int32_t port, int32_t baud) {
  Close();
  const std::string path = ComDevicePath(port);
  if (path.empty() || !IsPlausibleBaud(baud)) return false;
  // No sharing: one process at a time owns a COM port.
  const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  // A read returns what is there at once, or waits at most kReadWaitMs for
  // the first byte: never long, never a busy loop.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
  timeouts.ReadTotalTimeoutConstant = kReadWaitMs;
  timeouts.WriteTotalTimeoutConstant = kWriteStallMs;
  if (!SetupComm(handle, kQueueBytes, kQueueBytes) || !SetCommTimeouts(handle, &timeouts) ||
      !SetLine(handle, static_cast<uint32_t>(baud))) {
    CloseHandle(handle);
    return false;
  }
  handle_ = handle;
  DiscardInput();
  return true;
}

bool SerialPort::Close() {
  if (handle_ == nullptr) return true;
  const HANDLE handle = Handle(handle_);
  handle_ = nullptr;
  bufferStart_ = bufferEnd_ = 0;
  return CloseHandle(handle) != 0;
}

bool SerialPort::FillBuffer(int waitMs) {
  DWORD got = 0;
  if (!ReadFile(Handle(handle_), buffer_, sizeof buffer_, &got, nullptr)) {
    // A port whose read fails at once (an adapter pulled out) must still
    // cost the caller its short wait, or its polling loop spins.
    Sleep(static_cast<DWORD>(waitMs));
    return false;
  }
  if (got == 0) return false;  // the port's own time-out has waited already
  bufferStart_ = 0;
  bufferEnd_ = got;
  return true;
}

bool SerialPort::ReadByte(uint8_t& byte) {
  if (handle_ == nullptr) return false;
  if (bufferStart_ == bufferEnd_ && !FillBuffer(static_cast<int>(kReadWaitMs))) return false;
  byte = buffer_[bufferStart_++];
  return true;
}

bool SerialPort::WriteBytes(const uint8_t* bytes, std::size_t count) {
  if (handle_ == nullptr) return false;
  std::size_t sent = 0;
  while (sent < count) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - sent, kQueueBytes));
    if (!WriteFile(Handle(handle_), bytes + sent, chunk, &written, nullptr) || written == 0) return false;
    sent += written;
  }
  return true;
}

bool SerialPort::SetSpeed(int32_t baud) {
  return handle_ != nullptr && IsPlausibleBaud(baud) && SetLine(Handle(handle_), static_cast<uint32_t>(baud));
}

void SerialPort::DiscardInput() {
  bufferStart_ = bufferEnd_ = 0;
  if (handle_ != nullptr) PurgeComm(Handle(handle_), PURGE_RXCLEAR);
}

}  // namespace korvena
