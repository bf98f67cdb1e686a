#include "bulk_readers.h"

#include <QFile>
#include <exception>

#include "korvena/protocol/frame.h"
#include "device_integer.h"
#include "korvena/platform/whole_files.h"
#include "windows1250.h"

namespace korvena::kalibro {
namespace {

// The transfer ends after this long without a byte; the closing line is
// waited for as long.
constexpr uint32_t kSilenceMs = 500;
constexpr uint32_t kFiscalMemoryBytes = 2097152;
constexpr const char* kFiscalMemoryFile = "korvena.bin";
// The device needs a moment after READFP before the line changes speed.
constexpr uint32_t kFiscalMemoryPauseMs = 20;
constexpr uint32_t kLeftoverLineMs = 100;
constexpr uint32_t kCountLineMs = 500;
// A count that is no number reads on until the device falls silent.
constexpr int32_t kUnknownCount = 100000000;

}  // namespace

QString SdDayFileName(const QString& day) { return day + ".tx"; }

TBulkReadThread::TBulkReadThread(WorkerLine line, std::string fileName)
    : line_(line), fileName_(std::move(fileName)) {}

void TBulkReadThread::run() {
  try {
    Work();
  } catch (const std::exception&) {
    // Nothing may escape the thread (memory running out, say): the read
    // ends as one whose file could not be written.
    outcome_ = Outcome::kNotSaved;
  }
  ReadDone = true;
}

void TBulkReadThread::TransferToFile(uint32_t expected) {
  const double total = expected;
  const ByteStream stream =
      line_.session.ReadBulk(expected, kSilenceMs, &line_.stopRequested, [this, total](std::size_t count) {
        ReadProgress.store(static_cast<int>(static_cast<double>(count) * 100.0 / total), std::memory_order_relaxed);
      });
  if (stream.stopped) {
    outcome_ = Outcome::kStopped;
    return;
  }
  outcome_ = WriteWholeFile(fileName_, stream.bytes) ? Outcome::kSaved : Outcome::kNotSaved;
}

TReadFPThread::TReadFPThread(WorkerLine line) : TBulkReadThread(line, kFiscalMemoryFile) {}

void TReadFPThread::Work() {
  line_.session.Send(protocol::CommandFrame("READFP", {""}));
  line_.session.Wait(kFiscalMemoryPauseMs);
  TransferToFile(kFiscalMemoryBytes);
}

TReadDataThread::TReadDataThread(WorkerLine line, const QString& day)
    : TBulkReadThread(line, QFile::encodeName(SdDayFileName(day)).toStdString()), day_(ToWindows1250(day)) {}

void TReadDataThread::Work() {
  line_.session.ReadLine(kLeftoverLineMs);  // drops a line left over from earlier exchanges
  line_.session.Send(protocol::CommandFrame("READSD", {day_}));
  const int32_t count = ParseDeviceInteger(line_.session.ReadLine(kCountLineMs)).value_or(kUnknownCount);
  if (count > 0) TransferToFile(static_cast<uint32_t>(count));
}

}  // namespace korvena::kalibro
