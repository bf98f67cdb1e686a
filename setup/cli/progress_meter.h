#pragma once
// A progress bar for a long transfer, redrawn in place on standard error
// when that is a terminal, so a script that collects the output gets none.
#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace korvena::cli {

class ProgressMeter {
 public:
  // Draws on `out`; nullptr draws nothing.
  ProgressMeter(std::ostream* out, std::string label);
  // On standard error when it is a terminal, else silent.
  static ProgressMeter OnTerminal(std::string label);
  ~ProgressMeter();
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  // `share` (0..1) done of a transfer of `totalBytes` (when known).
  void Show(double share, std::optional<uint64_t> totalBytes);

 private:
  std::ostream* out_;
  std::string label_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point drawn_{};
  bool anything_ = false;
};

// One line of the bar: the label, the bar, the share, the bytes and the
// rate (when the total is known) and the time left.
std::string ProgressLine(const std::string& label, double share, std::optional<uint64_t> totalBytes, double seconds);

}  // namespace korvena::cli
