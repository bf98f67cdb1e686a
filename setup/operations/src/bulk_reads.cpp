#include "korvena/operations/bulk_reads.h"

#include "korvena/operations/device_integer.h"
#include "korvena/protocol/frame.h"

namespace korvena::operations {
namespace {

// The transfer ends after this long without a byte; the closing line is
// waited for as long.
constexpr uint32_t kSilenceMs = 500;
// The device needs a moment after READFP before the line changes speed.
constexpr uint32_t kFiscalMemoryPauseMs = 20;
constexpr uint32_t kLeftoverLineMs = 100;
constexpr uint32_t kCountLineMs = 500;
// A count that is no number reads on until the device falls silent.
constexpr int32_t kUnknownCount = 100000000;

BulkRead Transfer(DeviceSession& session, uint32_t expected, const std::atomic<bool>* stop,
                  const BulkProgress& progress) {
  const ByteStream stream = session.ReadBulk(expected, kSilenceMs, stop, [&](std::size_t count) {
    if (progress) progress(count, expected);
  });
  return {stream.bytes, stream.stopped, true};
}

}  // namespace

BulkRead ReadFiscalMemory(DeviceSession& session, const std::atomic<bool>* stop, const BulkProgress& progress) {
  session.Send(protocol::CommandFrame("READFP", {""}));
  session.Wait(kFiscalMemoryPauseMs);
  return Transfer(session, kFiscalMemoryBytes, stop, progress);
}

BulkRead ReadSdDay(DeviceSession& session, const std::string& day, const std::atomic<bool>* stop,
                   const BulkProgress& progress) {
  session.ReadLine(kLeftoverLineMs);  // drops a line left over from earlier exchanges
  session.Send(protocol::CommandFrame("READSD", {day}));
  const int32_t count = ParseDeviceInteger(session.ReadLine(kCountLineMs)).value_or(kUnknownCount);
  if (count <= 0) return {{}, false, false};
  return Transfer(session, static_cast<uint32_t>(count), stop, progress);
}

}  // namespace korvena::operations
