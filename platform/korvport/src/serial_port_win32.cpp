// The serial line on the Win32 communications API.
// Our header first: <windows.h> makes SetPort a macro for its printer API.
#include "serial_port.h"

#include <windows.h>

#include <algorithm>

#include "korvena/platform/line_settings.h"

namespace korvena {
namespace {

// A write that makes no progress for this long has lost its line.
constexpr DWORD kWriteStallMs = 2000;
constexpr DWORD kQueueBytes = 4096;
constexpr DWORD kLongestReadWaitMs = 20;

HANDLE Handle(void* handle) { return static_cast<HANDLE>(handle); }

// Reads return what is there at once, or wait at most `waitMs` (1 up to
// MAXDWORD - 1) for the first byte: the port itself does the waiting.
bool SetReadWait(HANDLE port, DWORD waitMs) {
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
  timeouts.ReadTotalTimeoutConstant = waitMs;
  timeouts.WriteTotalTimeoutConstant = kWriteStallMs;
  return SetCommTimeouts(port, &timeouts) != 0;
}

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

// The system's own words for `error`, without the line break it ends with.
std::string SystemText(DWORD error) {
  char text[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' ')) --length;
  if (length == 0) return "error " + std::to_string(error);
  return std::string(text, length);
}

}  // namespace

std::string ComDevicePath(int32_t port) {
  if (port < 1 || port > 20) return {};
  return "\\\\.\\COM" + std::to_string(port);
}

bool SerialPort::RefuseForSystemError(unsigned long error, const std::string& what) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
      return Refuse(KORVPORT_NO_DEVICE, what);
    // Windows refuses a COM port that another program holds with "access
    // denied"; a port has no permissions of its own to deny.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return Refuse(KORVPORT_BUSY, what);
    default:
      return Refuse(KORVPORT_SYSTEM_ERROR, what, SystemText(error));
  }
}

bool SerialPort::Open(int32_t port, int32_t baud) {
  Close();
  const std::string path = ComDevicePath(port);
  if (path.empty()) return Refuse(KORVPORT_NO_DEVICE, "COM" + std::to_string(port));
  if (!IsPlausibleBaud(baud)) return Refuse(KORVPORT_BAD_RATE, std::to_string(baud));
  // No sharing: one process at a time owns a COM port.
  const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return RefuseForSystemError(GetLastError(), path);
  if (!SetupComm(handle, kQueueBytes, kQueueBytes) || !SetReadWait(handle, kReadWaitMs)) {
    const DWORD error = GetLastError();
    CloseHandle(handle);
    return RefuseForSystemError(error, path);
  }
  if (!SetLine(handle, static_cast<uint32_t>(baud))) {
    const DWORD error = GetLastError();
    CloseHandle(handle);
    if (error == ERROR_INVALID_PARAMETER) return Refuse(KORVPORT_BAD_RATE, std::to_string(baud) + " on " + path);
    return RefuseForSystemError(error, path);
  }
  handle_ = handle;
  return Opened();
}

bool SerialPort::IsOpen() const { return handle_ != nullptr; }

bool SerialPort::Close() {
  if (handle_ == nullptr) return true;
  const HANDLE handle = Handle(handle_);
  handle_ = nullptr;
  bufferStart_ = bufferEnd_ = 0;
  return CloseHandle(handle) != 0;
}

bool SerialPort::FillBuffer(uint32_t waitMs) {
  // A long wait goes in slices: a read that waits on a quiet port is not
  // always woken by the byte that comes meanwhile (seen under Wine, with the
  // byte handed over only at the read's time-out, past the caller's
  // deadline). A slice bounds that delay to a few milliseconds.
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    const DWORD rest = waitMs > elapsed ? waitMs - elapsed : 0;
    const DWORD wait = std::clamp<DWORD>(rest, kReadWaitMs, kLongestReadWaitMs);
    // A longer wait than Read's own is asked for this once.
    const bool longer = wait != kReadWaitMs;
    DWORD got = 0;
    const bool read = (!longer || SetReadWait(Handle(handle_), wait)) &&
                      ReadFile(Handle(handle_), buffer_, sizeof buffer_, &got, nullptr) != 0;
    if (longer) SetReadWait(Handle(handle_), kReadWaitMs);
    if (!read) {
      // A port whose read fails at once (an adapter pulled out) must still
      // cost the caller its wait, or its polling loop spins.
      Sleep(rest);
      return false;
    }
    if (got > 0) {
      bufferStart_ = 0;
      bufferEnd_ = got;
      return true;
    }
    // The port's own time-out has waited the slice.
    if (GetTickCount() - start >= waitMs) return false;
  }
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
