#include "korvena/loaders/firmware_upload.h"

#include <cstdio>
#include <string>

#include "korvena/loaders/xmodem_block.h"
#include "korvena/loaders/xor_chain.h"
#include "korvena/platform/tick_clock.h"

namespace korvena::loaders {
namespace {

std::string ProgressText(uint32_t acknowledged, uint32_t total, uint32_t size, uint32_t failures, uint32_t retries) {
  char text[160];
  std::snprintf(text, sizeof text, "Packet [%u/%u], data [%.1fk/%.1fk] retry [%u/%u]", acknowledged, total,
                (acknowledged + 1.0) * kBlockDataSize / 1024.0, size / 1024.0, failures, retries);
  return text;
}

XmodemBlock NextBlock(XorChain& chain, uint8_t number) {
  BlockData data;
  for (uint8_t& byte : data) byte = chain.Next();
  return BuildXmodemBlock(number, data);
}

}  // namespace

std::optional<uint8_t> FirmwareUpload::AwaitReply() {
  // The polls keep a 5 ms rhythm from the send, whatever each Read costs.
  const uint32_t start = clock_.Ticks();
  for (int poll = 1; poll <= kReplyPolls; ++poll) {
    const uint32_t due = start + static_cast<uint32_t>(poll) * kReplyPollMs;
    const uint32_t now = clock_.Ticks();
    if (!TickReached(now, due)) clock_.Sleep(due - now);
    uint8_t byte = 0;
    if (port_.Read(byte) != 0) return byte;
  }
  return std::nullopt;
}

bool FirmwareUpload::Run(const FirmwareImage& image) {
  console_ << "size (" << image.number << ")= " << image.size << '\n' << std::flush;
  const uint32_t total = DisplayedBlockCount(image.size);
  uint32_t acknowledged = 0;
  uint32_t failures = 0;  // in a row; an acknowledged block resets it
  uint32_t retries = 0;
  uint8_t number = 1;
  XorChain chain(image.stored, image.ChainSeed());
  do {
    const XmodemBlock block = NextBlock(chain, number++);
    for (uint32_t tries = 0; tries < kTriesPerBlock; ++tries) {
      port_.Write(block.data(), kBlockWriteOption, static_cast<int32_t>(block.size()));
      console_ << " > " << ProgressText(acknowledged, total, image.size, failures, retries) << '\r' << std::flush;
      if (AwaitReply() == kAck) {
        failures = 0;
        ++acknowledged;
        break;
      }
      ++failures;
      ++retries;
    }
    if (failures >= kTriesPerBlock) {
      console_ << "\nV Update Failed\n" << std::flush;
      return false;
    }
  } while (acknowledged <= total);
  port_.Write(&kEot, kBlockWriteOption, 1);
  console_ << "\nV Update Success\n" << std::flush;
  clock_.Sleep(kPauseAfterEndMs);
  return true;
}

}  // namespace korvena::loaders
