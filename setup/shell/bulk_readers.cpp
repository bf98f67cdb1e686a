#include "shell/bulk_readers.h"

#include <QFile>
#include <exception>

#include "korvena/platform/whole_files.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

constexpr const char* kFiscalMemoryFile = "korvena.bin";

}  // namespace

QString SdDayFileName(const QString& day) { return day + ".tx"; }

TBulkReadThread::TBulkReadThread(WorkerLine line, std::string fileName)
    : line_(line), fileName_(std::move(fileName)) {}

void TBulkReadThread::run() {
  try {
    const operations::BulkRead read = Read();
    if (read.stopped)
      outcome_ = Outcome::kStopped;
    else if (read.announced)
      outcome_ = WriteWholeFile(fileName_, read.bytes) ? Outcome::kSaved : Outcome::kNotSaved;
  } catch (const std::exception&) {
    // Nothing may escape the thread (memory running out, say): the read
    // ends as one whose file could not be written.
    outcome_ = Outcome::kNotSaved;
  }
  ReadDone = true;
}

TReadFPThread::TReadFPThread(WorkerLine line) : TBulkReadThread(line, kFiscalMemoryFile) {}

operations::BulkRead TReadFPThread::Read() {
  return operations::ReadFiscalMemory(line_.session, &line_.stopRequested, [this](std::size_t count, std::size_t expected) { Progress(count, expected); });
}

TReadDataThread::TReadDataThread(WorkerLine line, const QString& day)
    : TBulkReadThread(line, QFile::encodeName(SdDayFileName(day)).toStdString()), day_(ToWindows1250(day)) {}

operations::BulkRead TReadDataThread::Read() {
  return operations::ReadSdDay(line_.session, day_, &line_.stopRequested, [this](std::size_t count, std::size_t expected) { Progress(count, expected); });
}

}  // namespace korvena::kalibro
