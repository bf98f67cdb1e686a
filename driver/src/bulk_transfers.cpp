// The two bulk transfers: LDX data after GETLDX, SD-card data after READSD.
#include "korvena/platform/decimal_text.h"
#include "korvena/driver/driver.h"
#include "korvena/driver/driver_files.h"
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
  ByteStreamRule rule;
  rule.firstByteMs = T() * 10;
  rule.quietMs = T();
  rule.cap = host_.transferLimitBytes;
  rule.exactlyOne = true;
  if (settings_.debug) Log("ReadLDX -> " + std::to_string(clock_.Ticks() + rule.firstByteMs));
  ByteStream stream = link_.ReadByteStream(rule);
  if (settings_.debug) Log("ReadLDX -> " + std::to_string(stream.deadline));
  // Data cut short would read as complete, and the daily file only grows.
  if (stream.cut) return FetchOutcome::kCut;
  std::string& data = stream.bytes;
  // The device ends its LDX data with two bytes of its own.
  data.resize(data.size() >= kLdxTrailerBytes ? data.size() - kLdxTrailerBytes : data.size());
  if (data.empty()) return FetchOutcome::kNoData;

  // Each file on its own: the day's record must not lose a document because
  // the LDX file could not be written.
  FetchOutcome outcome = FetchOutcome::kFetched;
  const std::string ldxFile = InWorkDir(settings_.ldxFileName);
  if (!WriteWholeFile(ldxFile, data)) outcome = FileError(ldxFile);
  const std::string dailyFile = InWorkDir(DailyLdxFileName(settings_.fileDir, host_.today()));
  if (settings_.ldx && !AppendToFile(dailyFile, data)) outcome = FileError(dailyFile);
  return outcome;
}

Driver::FetchOutcome Driver::FileError(const std::string& file) {
  Log("file not written: " + file);
  return FetchOutcome::kFileError;
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

  ByteStreamRule rule;
  rule.firstByteMs = rule.quietMs = T() * 10;
  // A negative length is never reached: the data then runs until silence.
  if (length >= 0) rule.expected = static_cast<uint64_t>(length);
  rule.cap = host_.transferLimitBytes;
  const ByteStream stream = link_.ReadByteStream(rule);
  // Written as far as it came; cut at the cap it still counts as a failure.
  const bool written = WriteWholeFile(InWorkDir(target), stream.bytes);
  if (!written) FileError(target);

  if (settings_.baud != kSdBaud) port_.SetPort(settings_.baud);
  link_.ReadResponse(T() * 5);  // the device's closing line
  return written && !stream.cut;
}

}  // namespace korvena::driver
