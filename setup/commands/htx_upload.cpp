#include "htx_upload.h"

#include <QCoreApplication>
#include <QFile>
#include <string>

#include "command_session.h"
#include "file_error.h"
#include "kalibro_texts.h"
#include "korvena/link/htx_packets.h"
#include "korvena/protocol/device_status.h"
#include "korvena/platform/whole_files.h"
#include "progress_form.h"

namespace korvena::kalibro {
namespace {

// The device's "spoilt on the way, send it again", and "done", as they are answered.
const std::string kSendAgain = std::to_string(protocol::status::kSendAgain);
const std::string kDone = std::to_string(protocol::status::kDone);
constexpr int kMostResendsPerPacket = 4;
constexpr int kMostFinishResends = 1;

struct UploadCounters {
  int sent = 0;
  int resends = 0;
  // Packets the device did not take: their last reply was not "0" (nothing,
  // a refusal, or still "send again" after the last resend). Shown only;
  // the finish command's reply alone decides the outcome.
  int errors = 0;
};

struct ResentExchange {
  std::string reply;  // the last one
  int resends = 0;
};

// Writes `command` and reads its reply; while the reply asks for it, writes
// it again, at most `mostResends` times.
ResentExchange ExchangeWithResends(CommandSession& session, const std::string& command, uint32_t limitMs,
                                   int mostResends) {
  ResentExchange exchange{session.Exchange(command, limitMs)};
  while (exchange.resends < mostResends && exchange.reply == kSendAgain) {
    exchange.reply = session.Exchange(command, limitMs);
    ++exchange.resends;
  }
  return exchange;
}

// The file's packets, each with its resends, under a progress window.
void SendPackets(CommandSession& session, const std::string& file, uint32_t limitMs) {
  const std::size_t size = file.size();
  TProgressForm progress(session.dialogOwner());
  progress.setWindowTitle(Text(kWritingHtx));
  progress.PBar->setMaximum(static_cast<int>(size / kHtxPacketSize + 1));
  progress.SetStep(1);
  progress.show();
  UploadCounters counters;
  const auto packets = static_cast<uint32_t>((size + kHtxPacketSize - 1) / kHtxPacketSize);
  for (uint32_t number = 0; number < packets; ++number) {
    QCoreApplication::processEvents();
    // Past the file's end a packet carries zeros, as from a zero-filled buffer.
    const std::string command = HtxPacketCommand(session.state().LoginPassword, number, HtxPacketAt(file, number));
    const ResentExchange packet = ExchangeWithResends(session, command, limitMs, kMostResendsPerPacket);
    ++counters.sent;
    counters.resends += packet.resends;
    if (packet.reply != kDone) ++counters.errors;
    progress.StepIt();
    progress.LBar->setText(Text(kHtxProgress).arg(counters.sent).arg(counters.resends).arg(counters.errors));
  }
}

}  // namespace

void popupSendrixClick(CommandSession& session) {
  FileDialogRequest request;
  request.filters = {Text(kHtxFileFilter)};
  request.mustExist = true;
  const QString chosen = session.ui().AskOpenFileName(request);
  if (chosen.isEmpty()) return;

  const std::string path = QFile::encodeName(chosen).toStdString();
  const FileContents file = ReadWholeFile(path, kHtxBufferSize);
  // The device's buffer holds 5120 bytes; a longer file would go out cut.
  if (file.status == FileContents::kTooLarge) {
    session.ui().ShowError(Text(kHtxFileTooLarge).arg(chosen));
    return;
  }
  if (file.status != FileContents::kRead) throw FileError(FileError::kCannotOpen, path, file.status);

  // Every exchange of the upload waits the short reply time for its answer.
  const uint32_t limitMs =
      static_cast<uint32_t>(session::DeviceSession::kShortReplyUnits * session.state().TimeoutUnit);
  SendPackets(session, file.bytes, limitMs);
  // The device is told the sum's low byte only.
  const auto fileSum = static_cast<uint16_t>(HtxFileSum(file.bytes) % 256);
  const std::string finishCommand =
      HtxLengthCommand(session.state().LoginPassword, static_cast<uint32_t>(file.bytes.size()), fileSum);
  const ResentExchange finish = ExchangeWithResends(session, finishCommand, limitMs, kMostFinishResends);
  session.ui().ShowInformation(Text(finish.reply == kDone ? kHtxLoaded : kHtxNotLoaded));
}

}  // namespace korvena::kalibro
