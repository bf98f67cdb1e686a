#pragma once
// The two bulk reads that copy device data into files in the current
// directory: the whole fiscal memory into "korvena.bin" and one SD-card day
// into day + ".tx". Each is a worker thread run through
// CommandSession::RunWorker on the worker's session, while the window follows
// ReadProgress. The files hold the bytes exactly as they came.
#include <QString>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <string>

#include "korvena/operations/bulk_reads.h"
#include "korvena/session/device_session.h"

namespace korvena::kalibro {

// What a worker gets of the connection.
struct WorkerLine {
  session::DeviceSession& session;  // on the plain port; the UI thread keeps off it meanwhile
  const std::atomic<bool>& stopRequested;  // the window is closing
};

class TBulkReadThread : public QThread {
 public:
  enum class Outcome {
    kSaved,        // the file holds what came, possibly nothing
    kNothingRead,  // the device announced no data: no file
    kNotSaved,     // the file could not be written
    kStopped,      // the window closed meanwhile: nothing was written
  };

  // Shared with the UI thread while the worker runs: set when the worker has
  // finished (on every path), and the share of the expected bytes read so
  // far in percent.
  std::atomic<bool> ReadDone{false};
  std::atomic<int> ReadProgress{0};

  // Once the worker has finished.
  Outcome outcome() const { return outcome_; }
  // In the file system's encoding, relative to the current directory.
  const std::string& fileName() const { return fileName_; }

 protected:
  TBulkReadThread(WorkerLine line, std::string fileName);

  // The worker's read (an operation); run() saves what it brought.
  virtual operations::BulkRead Read() = 0;
  // Hands the share read so far to the window, in percent.
  void Progress(std::size_t count, std::size_t expected) {
    ReadProgress.store(static_cast<int>(static_cast<double>(count) * 100.0 / static_cast<double>(expected)),
                       std::memory_order_relaxed);
  }

  WorkerLine line_;

 private:
  void run() final;

  std::string fileName_;
  Outcome outcome_ = Outcome::kNothingRead;
};

// The fiscal memory: READFP, then up to 2 MiB into "korvena.bin".
class TReadFPThread final : public TBulkReadThread {
 public:
  explicit TReadFPThread(WorkerLine line);

 private:
  operations::BulkRead Read() override;
};

// One SD-card day, as typed (not checked): READSD with the day, the count
// the device announces, then that many bytes into day + ".tx".
class TReadDataThread final : public TBulkReadThread {
 public:
  TReadDataThread(WorkerLine line, const QString& day);

 private:
  operations::BulkRead Read() override;

  std::string day_;  // in the PC's code page, as the device gets it
};

// The file an SD-card day is saved in: the day followed by ".tx".
QString SdDayFileName(const QString& day);

}  // namespace korvena::kalibro
