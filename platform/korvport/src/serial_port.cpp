// What the serial line does the same way on every platform: handing out
// buffered bytes, waiting for them, and wording why an open failed.
#include "serial_port.h"

#include "korvena/platform/tick_clock.h"

namespace korvena {
namespace {

const char* ReasonWords(int32_t reason) {
  switch (reason) {
    case KORVPORT_NO_DEVICE: return "no such device";
    case KORVPORT_NO_PERMISSION: return "no permission";
    case KORVPORT_BUSY: return "busy, held by another program";
    case KORVPORT_BAD_RATE: return "bad rate";
    default: return "system error";
  }
}

}  // namespace

bool SerialPort::ReadByte(uint8_t& byte) {
  if (!IsOpen()) return false;
  if (bufferStart_ == bufferEnd_ && !FillBuffer(kReadWaitMs)) return false;
  byte = buffer_[bufferStart_++];
  return true;
}

bool SerialPort::WaitForByte(uint32_t timeoutMs) {
  if (bufferStart_ < bufferEnd_) return true;
  if (IsOpen()) return FillBuffer(timeoutMs);
  // Nothing can come; the caller still gets the wait it asked for.
  SleepMilliseconds(timeoutMs);
  return false;
}

bool SerialPort::Opened() {
  openError_ = KORVPORT_OPENED;
  openProblem_.clear();
  DiscardInput();
  return true;
}

bool SerialPort::Refuse(int32_t reason, const std::string& what, const std::string& systemText) {
  openError_ = reason;
  openProblem_ = std::string(ReasonWords(reason)) + ": " + what;
  if (!systemText.empty()) openProblem_ += ": " + systemText;
  return false;
}

}  // namespace korvena
