#pragma once
// A pseudo-terminal standing in for the device's end of a serial line. The
// PC side opens the slave path as its COM port; the emulator reads and
// writes the master.
#include <cstdint>
#include <string>

namespace korvena::emu {

class PtyLine {
 public:
  PtyLine() = default;
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;
  ~PtyLine();

  // Creates the pair, raw at `baud`. False with errno set when it cannot.
  bool Create(uint32_t baud);
  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }
  // The speed the PC side has set, which both ends share.
  uint32_t PcBaud() const;
  // Clears what the last program left on the line when it went: the
  // exclusive mode the port library sets, which outlives a program killed
  // before it could clear it (our own descriptor keeps the line open), and
  // the bytes it did not read, which are nobody's now.
  void LetGo();

 private:
  int master_ = -1;
  // Held open so the master never sees EIO between two PC sessions.
  int slave_ = -1;
  std::string slavePath_;
};

}  // namespace korvena::emu
