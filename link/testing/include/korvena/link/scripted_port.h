#pragma once
// A port whose peer is a test script: it records every call and every byte
// written, and hands out bytes the script queued, each from a given time on.
// Every Read that finds nothing advances the virtual clock by one step; a
// wait advances it by the steps such Reads would have taken.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "korvena/link/port.h"
#include "korvena/link/virtual_clock.h"

namespace korvena {

class ScriptedPort final : public Port {
 public:
  explicit ScriptedPort(VirtualClock& clock, uint32_t emptyReadStepMs = 1)
      : clock_(clock), step_(emptyReadStepMs) {}

  // Bytes the peer sends; readable from tick `at` on (now when omitted).
  void Send(std::string_view bytes);
  void SendAt(uint32_t at, std::string_view bytes);

  // Called after each written byte that ends a frame (CR or NUL) with the
  // frame, so a script can answer commands as a device would.
  std::function<void(const std::string& frame)> onFrame;

  // Behaviour switches.
  uint8_t openResult = 1;      // what Open returns
  std::string openProblem;     // what OpenProblem says
  uint8_t byteResult = 1;      // what Read returns when it stores a byte
  int writesBeforeFailure = -1;  // Write fails after this many successes (-1: never)

  // What happened.
  std::string written;             // every byte written, in order
  std::vector<std::string> calls;  // "Open 3 9600", "Close", "SetPort 38400", "Flush"
  int32_t baud = 0;                // the current line speed
  int emptyReads = 0;              // Reads that found nothing
  bool open = false;

  uint8_t Open(int32_t port, int32_t baudRate) override;
  uint8_t Close() override;
  uint8_t Read(uint8_t& byte) override;
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override;
  void SetPort(int32_t baudRate) override;
  void Flush() override;
  bool WaitRead(uint32_t ms) override;
  std::string OpenProblem() const override { return openProblem; }

 private:
  struct Incoming {
    uint32_t at;
    char byte;
  };
  VirtualClock& clock_;
  uint32_t step_;
  std::deque<Incoming> incoming_;
  std::string frame_;
};

}  // namespace korvena
