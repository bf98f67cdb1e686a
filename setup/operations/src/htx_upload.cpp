#include "korvena/operations/htx_upload.h"

#include "korvena/link/htx_packets.h"
#include "korvena/protocol/device_status.h"

namespace korvena::operations {
namespace {

const std::string kSendAgain = std::to_string(protocol::status::kSendAgain);
const std::string kDone = std::to_string(protocol::status::kDone);
constexpr int kMostResendsPerPacket = 4;
constexpr int kMostFinishResends = 1;

struct ResentExchange {
  std::string reply;  // the last one
  int resends = 0;
};

// Writes `command` and reads its reply; while the reply asks for it, writes
// it again, at most `mostResends` times.
ResentExchange ExchangeWithResends(DeviceSession& session, const std::string& command, uint32_t limitMs,
                                   int mostResends) {
  ResentExchange exchange{session.Exchange(command, limitMs)};
  while (exchange.resends < mostResends && exchange.reply == kSendAgain) {
    exchange.reply = session.Exchange(command, limitMs);
    ++exchange.resends;
  }
  return exchange;
}

// Every exchange of the upload waits the short reply time for its answer.
uint32_t ReplyLimit(DeviceSession& session) { return session.Limit(session::DeviceSession::kShortReplyUnits); }

}  // namespace

HtxProgress SendHtxPackets(DeviceSession& session, const std::string& file,
                           const std::function<void(const HtxProgress&)>& onPacket) {
  HtxProgress progress;
  const auto packets = static_cast<uint32_t>((file.size() + kHtxPacketSize - 1) / kHtxPacketSize);
  progress.total = static_cast<int>(packets);
  for (uint32_t number = 0; number < packets; ++number) {
    // Past the file's end a packet carries zeros, as from a zero-filled buffer.
    const std::string command = HtxPacketCommand(Password(session), number, HtxPacketAt(file, number));
    const ResentExchange packet = ExchangeWithResends(session, command, ReplyLimit(session), kMostResendsPerPacket);
    ++progress.sent;
    progress.resends += packet.resends;
    if (packet.reply != kDone) ++progress.errors;
    if (onPacket) onPacket(progress);
  }
  return progress;
}

HtxUploaded FinishHtxUpload(DeviceSession& session, const std::string& file, const HtxProgress& progress) {
  HtxUploaded uploaded;
  uploaded.progress = progress;
  // The device is told the sum's low byte only.
  const auto fileSum = static_cast<uint16_t>(HtxFileSum(file) % 256);
  const std::string finish = HtxLengthCommand(Password(session), static_cast<uint32_t>(file.size()), fileSum);
  uploaded.finishReply = ExchangeWithResends(session, finish, ReplyLimit(session), kMostFinishResends).reply;
  uploaded.loaded = uploaded.finishReply == kDone;
  return uploaded;
}

HtxUploaded UploadHtx(DeviceSession& session, const std::string& file,
                      const std::function<void(const HtxProgress&)>& onPacket) {
  return FinishHtxUpload(session, file, SendHtxPackets(session, file, onPacket));
}

}  // namespace korvena::operations
