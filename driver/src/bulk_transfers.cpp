// The two bulk transfers: LDX data after GETLDX, SD-card data after READSD.
#include "korvena/platform/decimal_text.h"
#include "korvena/driver/driver.h"
#include "korvena/driver/driver_files.h"
#include "korvena/platform/whole_files.h"

#include <cerrno>
#include <cstdio>
#include <optional>

namespace korvena::driver {
namespace {

constexpr int32_t kSdBaud = 115200;
constexpr std::size_t kLdxTrailerBytes = 2;

// The announced SD length, signed; nullopt when the line is not a decimal
// number (the transfer then reads as announcing 0).
std::optional<int64_t> AnnouncedLength(std::string_view line) {
  const bool negative = !line.empty() && line.front() == '-';
  if (!line.empty() && (line.front() == '-' || line.front() == '+')) line.remove_prefix(1);
  const auto length = DecimalDigits(line, INT64_MAX);
  if (!length) return std::nullopt;
  return negative ? -static_cast<int64_t>(*length) : static_cast<int64_t>(*length);
}

// The 16-bit sum of the data bytes, which the device sends after them.
uint16_t LdxSum(std::string_view data) {
  uint16_t sum = 0;
  for (const char c : data) sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(c));
  return sum;
}

std::string Hex4(uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value);
  return text;
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
  // The device ends its LDX data with two bytes of its own: the sum.
  if (data.size() >= kLdxTrailerBytes) {
    const std::size_t size = data.size() - kLdxTrailerBytes;
    const uint16_t sent = static_cast<uint16_t>(static_cast<uint8_t>(data[size]) << 8 | static_cast<uint8_t>(data[size + 1]));
    data.resize(size);
    // Kept all the same, as the till's record of what was printed; the log
    // tells a damaged copy.
    if (size > 0 && sent != LdxSum(data)) Log("ReadLDX sum -> " + Hex4(sent) + " != " + Hex4(LdxSum(data)));
  }
  if (data.empty()) return FetchOutcome::kNoData;
  if (capture_ != nullptr) capture_->outcome->ldx = data;
  if (!WritesFiles()) return FetchOutcome::kFetched;

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
  const std::optional<int64_t> length = AnnouncedLength(announced);
  if (settings_.debug) Log("ReadSD len-> " + announced);
  if (settings_.baud != kSdBaud) port_.SetPort(kSdBaud);

  const std::string_view named = command_.Field(3);
  const std::string target =
      !named.empty() ? std::string(named) : settings_.fileDir + std::string(command_.Field(2)) + ".tx";
  if (settings_.debug) Log("ReadSD -> " + target);

  ByteStreamRule rule;
  rule.firstByteMs = rule.quietMs = T() * 10;
  // A negative length is never reached: the data then runs until silence.
  if (length.value_or(0) >= 0) rule.expected = static_cast<uint64_t>(length.value_or(0));
  rule.cap = host_.transferLimitBytes;
  const ByteStream stream = link_.ReadByteStream(rule);
  if (capture_ != nullptr) capture_->outcome->sd = stream.bytes;
  const bool written = WritesFiles() ? WriteSdFile(InWorkDir(target), stream, length) : SdTransferWhole(stream, length);

  if (settings_.baud != kSdBaud) port_.SetPort(settings_.baud);
  link_.ReadResponse(T() * 5);  // the device's closing line
  return written;
}

bool Driver::SdTransferWhole(const ByteStream& stream, std::optional<int64_t> length) {
  // Nothing announced and nothing sent: a device that is not answering.
  if (!length && stream.bytes.empty()) {
    Log("ReadSD no data");
    return false;
  }
  const bool whole = !stream.cut && (!length || *length < 0 || stream.bytes.size() == static_cast<uint64_t>(*length));
  if (!whole)
    Log("ReadSD incomplete -> " + std::to_string(stream.bytes.size()) + " of " + std::to_string(length.value_or(0)));
  return whole;
}

bool Driver::WriteSdFile(const std::string& file, const ByteStream& stream, std::optional<int64_t> length) {
  if (!length && stream.bytes.empty()) return SdTransferWhole(stream, length);
  // Only a transfer known to be whole may replace the file: a stalled one
  // must not wipe the day that an earlier read or the daily LDX file holds.
  if (!SdTransferWhole(stream, length)) {
    if (!WriteNewFile(file, stream.bytes) && errno != EEXIST) FileError(file);
    return false;
  }
  if (WriteWholeFile(file, stream.bytes)) return true;
  FileError(file);
  return false;
}

}  // namespace korvena::driver
