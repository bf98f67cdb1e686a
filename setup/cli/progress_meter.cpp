#include "progress_meter.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>

namespace korvena::cli {
namespace {

constexpr int kBarCells = 24;
// Redrawing more often only costs the terminal.
constexpr auto kRedrawEvery = std::chrono::milliseconds(200);

std::string Bytes(double bytes) {
  char text[32];
  if (bytes >= 1024.0 * 1024.0)
    std::snprintf(text, sizeof text, "%.1f MiB", bytes / (1024.0 * 1024.0));
  else if (bytes >= 1024.0)
    std::snprintf(text, sizeof text, "%.1f KiB", bytes / 1024.0);
  else
    std::snprintf(text, sizeof text, "%.0f B", bytes);
  return text;
}

std::string Duration(double seconds) {
  const long whole = std::lround(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

ProgressMeter::ProgressMeter(std::ostream* out, std::string label) : out_(out), label_(std::move(label)) {}

ProgressMeter ProgressMeter::OnTerminal(std::string label) {
  return ProgressMeter(isatty(STDERR_FILENO) == 1 ? &std::cerr : nullptr, std::move(label));
}

ProgressMeter::~ProgressMeter() {
  if (out_ != nullptr && anything_) *out_ << "\n" << std::flush;
}

void ProgressMeter::Show(double share, std::optional<uint64_t> totalBytes) {
  if (out_ == nullptr) return;
  const auto now = std::chrono::steady_clock::now();
  if (anything_ && now - drawn_ < kRedrawEvery && share < 1.0) return;
  drawn_ = now;
  anything_ = true;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  *out_ << "\r" << ProgressLine(label_, share, totalBytes, seconds) << "\x1b[K" << std::flush;
}

std::string ProgressLine(const std::string& label, double share, std::optional<uint64_t> totalBytes, double seconds) {
  share = std::clamp(share, 0.0, 1.0);
  const int filled = static_cast<int>(share * kBarCells);
  std::string line = label + " [" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(kBarCells - filled), ' ') + "] ";
  char percent[8];
  std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(share * 100));
  line += percent;
  if (totalBytes) {
    const double done = share * static_cast<double>(*totalBytes);
    line += "  " + Bytes(done) + " of " + Bytes(static_cast<double>(*totalBytes));
    if (seconds > 0) line += "  " + Bytes(done / seconds) + "/s";
  }
  if (share > 0 && share < 1) line += "  " + Duration(seconds * (1 - share) / share) + " left";
  return line;
}

}  // namespace korvena::cli
