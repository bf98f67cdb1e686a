// The two bulk transfers: LDX data after GETLDX, SD-card data after READSD.
#include "korvena/platform/decimal_text.h"
#include "korvena/driver/driver.h"
#include "korvena/driver/driver_files.h"
#include "korvena/platform/tick_clock.h"
#include "korvena/platform/whole_files.h"

namespace korvena::driver {
namespace {

constexpr int32_t kSdBaud = 115200;
constexpr std::size_t kLdxTrailerBytes = 2;

// The announced SD length, signed; 0 when the line is not a decimal number.
int64_t AnnouncedLength(std::string_view line) {
  const bool negative = !line.empty() && line.front() == '-';
  if (!line.empty() && (line.front() == '-' || line.front() == '+')) line.remove_prefix(1);
  const auto length = static_cast<int64_t>(DecimalDigits(line, INT64_MAX).value_or(0));
  return negative ? -length : length;
}

}  // namespace

Driver::FetchOutcome Driver::FetchLdx() {
  uint32_t deadline = clock_.Ticks() + T() * 10;
  if (settings_.debug) Log("ReadLDX -> " + std::to_string(deadline));
  std::string data;
  for (;;) {
    uint8_t byte = 0;
    if (port_.Read(byte) == 1) {
      data.push_back(static_cast<char>(byte));
      deadline = clock_.Ticks() + T();
      if (data.size() >= kTransferLimitBytes) break;
    }
    if (TickPassed(clock_.Ticks(), deadline)) break;
  }
  if (settings_.debug) Log("ReadLDX -> " + std::to_string(deadline));
  // The device ends its LDX data with two bytes of its own.
  data.resize(data.size() >= kLdxTrailerBytes ? data.size() - kLdxTrailerBytes : data.size());
  if (data.empty()) return FetchOutcome::kNoData;

  if (!WriteWholeFile(InWorkDir(settings_.ldxFileName), data)) return FetchOutcome::kFileError;
  if (settings_.ldx && !AppendToFile(InWorkDir(DailyLdxFileName(settings_.fileDir, host_.today())), data))
    return FetchOutcome::kFileError;
  return FetchOutcome::kFetched;
}

bool Driver::ReadSdData() {
  const std::string announced = link_.ReadResponse(T() * 5);
  const int64_t length = AnnouncedLength(announced);
  if (settings_.debug) Log("ReadSD len-> " + announced);
  if (settings_.baud != kSdBaud) port_.SetPort(kSdBaud);

  const std::string_view named = command_.Field(3);
  const std::string target =
      !named.empty() ? std::string(named) : settings_.fileDir + std::string(command_.Field(2)) + ".tx";
  if (settings_.debug) Log("ReadSD -> " + target);

  std::string data;
  uint32_t lastByte = clock_.Ticks();
  for (;;) {
    uint8_t byte = 0;
    if (port_.Read(byte) != 0) {
      data.push_back(static_cast<char>(byte));
      lastByte = clock_.Ticks();
    }
    if (static_cast<int64_t>(data.size()) == length || data.size() >= kTransferLimitBytes) break;
    if (TicksSince(lastByte, clock_.Ticks()) > T() * 10) break;
  }
  const bool written = WriteWholeFile(InWorkDir(target), data);

  if (settings_.baud != kSdBaud) port_.SetPort(settings_.baud);
  link_.ReadResponse(T() * 5);  // the device's closing line
  return written;
}

}  // namespace korvena::driver
