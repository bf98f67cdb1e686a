#pragma once
// A compiled template (HTX file) into the device, 8 bytes a packet, each
// packet sent again while the device asks for it.
#include <cstdint>
#include <functional>
#include <string>

#include "korvena/link/htx_packets.h"
#include "korvena/operations/outcome.h"

namespace korvena::operations {

struct HtxProgress {
  int sent = 0;     // packets sent
  int total = 0;    // packets to send
  int resends = 0;  // sent again on the device's request
  // Packets the device did not take: their last reply was not "0" (nothing,
  // a refusal, or still "send again" after the last resend).
  int errors = 0;
};

struct HtxUploaded {
  bool loaded = false;  // the device took the template (STHTXLEN answered 0)
  std::string finishReply;
  HtxProgress progress;
};

// The largest template the device's buffer holds.
inline constexpr std::size_t kLargestHtx = kHtxBufferSize;

// STHTX for packets 0 to ceil(size/8)-1, each up to 4 times more while the
// device answers 1024, then STHTXLEN with the size and the sum's low byte
// (once more on 1024). `onPacket` hears the progress after each packet.
HtxUploaded UploadHtx(DeviceSession& session, const std::string& file,
                      const std::function<void(const HtxProgress&)>& onPacket = {});

// The two halves of UploadHtx, for a window that shows the packets' progress
// and closes it before the finish.
HtxProgress SendHtxPackets(DeviceSession& session, const std::string& file,
                           const std::function<void(const HtxProgress&)>& onPacket = {});
HtxUploaded FinishHtxUpload(DeviceSession& session, const std::string& file, const HtxProgress& progress);

}  // namespace korvena::operations
