#pragma once
// The port and clock Kalibro's link runs on: the real ones, with the window
// kept alive in between. Every wait on the device (a poll for a byte, a
// pause between attempts) lets the UI process its messages now and then, so
// the window repaints and answers while a sequence runs for seconds or
// minutes. A close request (Interrupt) ends the running sequence at its next
// step: every further use of the line throws SequenceInterrupted, which the
// command runner takes as a quiet end.
//
// Only the UI thread may use it; a worker thread reads the plain port. A
// quiet line is waited on in slices of kEventSliceMs, not polled.
#include <exception>
#include <functional>
#include <string>

#include "korvena/link/clock.h"
#include "korvena/link/port.h"

namespace korvena::kalibro {

class SequenceInterrupted : public std::exception {
 public:
  const char* what() const noexcept override { return "the sequence was interrupted"; }
};

class ResponsiveLine {
 public:
  // The UI is given its turn at most this often while the line is waited on.
  static constexpr uint32_t kEventSliceMs = 20;

  ResponsiveLine(Port& port, Clock& clock, std::function<void()> processEvents);

  Port& port() { return port_; }
  Clock& clock() { return clock_; }

  // Ends the running sequence at its next use of the line, and every later one.
  void Interrupt() { interrupted_ = true; }
  bool interrupted() const { return interrupted_; }

 private:
  // Gives the UI its turn when one is due; throws once interrupted.
  void KeepAlive();
  void ThrowIfInterrupted() const;

  class LinePort final : public Port {
   public:
    LinePort(ResponsiveLine& line, Port& inner) : line_(line), inner_(inner) {}
    uint8_t Open(int32_t port, int32_t baud) override;
    uint8_t Close() override { return inner_.Close(); }
    uint8_t Read(uint8_t& byte) override;
    bool WaitRead(uint32_t ms) override;
    std::string OpenProblem() const override;
    uint8_t Write(const void* bytes, int32_t option, int32_t count) override;
    void SetPort(int32_t baud) override;
    void Flush() override;

   private:
    ResponsiveLine& line_;
    Port& inner_;
  };

  class LineClock final : public Clock {
   public:
    LineClock(ResponsiveLine& line, Clock& inner) : line_(line), inner_(inner) {}
    uint32_t Ticks() override { return inner_.Ticks(); }
    // Sleeps in slices, the UI's turn between them.
    void Sleep(uint32_t ms) override;

   private:
    ResponsiveLine& line_;
    Clock& inner_;
  };

  Clock& innerClock_;
  std::function<void()> processEvents_;
  LinePort port_;
  LineClock clock_;
  uint32_t lastTurn_;
  bool interrupted_ = false;
};

}  // namespace korvena::kalibro
