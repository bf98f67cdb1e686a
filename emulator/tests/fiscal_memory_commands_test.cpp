// READFP: the fiscal memory at 115200 and the closing line, read the way the
// service program reads them.
#include <gtest/gtest.h>

#include "korvena/emulator/emulated_port.h"
#include "korvena/emulator/fiscal_memory.h"
#include "korvena/link/command_link.h"

namespace korvena::emu {
namespace {

TEST(FiscalMemoryImage, RecordsOfClosingsThenErasedCells) {
  const std::string image = FiscalMemoryImage(kFiscalMemoryBytes);
  ASSERT_EQ(image.size(), kFiscalMemoryBytes);
  // Closing 1 of 1 January 2015: 1579.19 in 77 documents, one cancelled.
  EXPECT_EQ(image.substr(0, kFiscalRecordBytes),
            std::string("\x00\x00\x00\x01\x20\x15\x01\x01\x00\x02\x68\xDF\x00\x4D\x01", 15) + "\x31");
  // The 60th closing falls on 1 March 2015, the last on 28 December 2024.
  EXPECT_EQ(image.substr(59 * kFiscalRecordBytes + 4, 4), "\x20\x15\x03\x01");
  EXPECT_EQ(image.substr((kRecordedClosings - 1) * kFiscalRecordBytes + 4, 4), "\x20\x24\x12\x28");
  for (std::size_t at = 0; at < kRecordedClosings * kFiscalRecordBytes; at += kFiscalRecordBytes) {
    uint8_t sum = 0;
    for (std::size_t i = 0; i < kFiscalRecordBytes; ++i) sum = static_cast<uint8_t>(sum + image[at + i]);
    ASSERT_EQ(sum, 0) << "record at " << at;
  }
  EXPECT_EQ(image.find_first_not_of('\xFF', kRecordedClosings * kFiscalRecordBytes), std::string::npos);
  EXPECT_EQ(FiscalMemoryImage(1000), image.substr(0, 1000));
}

// The PC waits 20 ms after the command, reads at 115200 until it has the
// whole memory or 500 ms pass without a byte, goes back to 9600 and reads
// the closing line within 500 ms.
TEST(FiscalMemoryCommands, SendsTheMemoryAt115200AndTheClosingLineWhenThePcListensAgain) {
  for (const uint32_t size : {1000u, kFiscalMemoryBytes}) {
    SCOPED_TRACE(size);
    Device device(DeviceSettings{.fiscalMemoryBytes = size});
    VirtualClock clock;
    EmulatedPort port(device, clock);
    CommandLink link(port, clock);
    port.Open(1, 9600);
    link.SendText("\x1b;READFP;\r");
    clock.Sleep(20);
    port.SetPort(115200);
    ByteStreamRule rule;
    rule.firstByteMs = rule.quietMs = 500;
    rule.expected = kFiscalMemoryBytes;
    rule.cap = kFiscalMemoryBytes;
    const ByteStream memory = link.ReadByteStream(rule);
    port.SetPort(9600);
    EXPECT_EQ(link.ReadResponse(500), "0");
    EXPECT_TRUE(memory.bytes == FiscalMemoryImage(size));
    EXPECT_EQ(device.received(), std::vector<std::string>{"\x1b;READFP;"});
  }
}

}  // namespace
}  // namespace korvena::emu
