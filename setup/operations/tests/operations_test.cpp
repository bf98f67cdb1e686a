// The operations on the emulated device: the frames they send, what the
// device holds afterwards and what a refusal reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvena/emulator/emulated_port.h"
#include "korvena/operations/fiscal_identity.h"
#include "korvena/operations/header_footer.h"
#include "korvena/operations/passwords_rounding.h"
#include "korvena/operations/sales.h"
#include "korvena/operations/service.h"
#include "korvena/operations/texts_file.h"
#include "korvena/platform/scratch_folder.h"
#include "korvena/protocol/register_flags.h"

namespace korvena::operations {
namespace {

// Keeps every frame written on its way to the device.
class FramePort final : public Port {
 public:
  explicit FramePort(Port& device) : device_(device) {}
  std::string written;
  uint8_t Open(int32_t port, int32_t baud) override { return device_.Open(port, baud); }
  uint8_t Close() override { return device_.Close(); }
  uint8_t Read(uint8_t& byte) override { return device_.Read(byte); }
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override {
    written.append(static_cast<const char*>(bytes), static_cast<std::size_t>(count));
    return device_.Write(bytes, option, count);
  }
  void SetPort(int32_t baud) override { device_.SetPort(baud); }
  void Flush() override { device_.Flush(); }
  bool WaitRead(uint32_t ms) override { return device_.WaitRead(ms); }

 private:
  Port& device_;
};

struct Rig {
  explicit Rig(std::string password = "846") : device(emu::DeviceSettings{.servicePassword = password}) {
    EXPECT_TRUE(session.Connect());
    session.state().LoginPassword = password;
    frames.written.clear();
  }
  emu::Device device;
  VirtualClock clock;
  emu::EmulatedPort port{device, clock};
  FramePort frames{port};
  DeviceSession session{frames, clock};
  std::string Info(int n) { return device.state().info[n]; }
};

TEST(Operations, WritesCarryTheLoginPasswordAndAReadBackShowsTheEffect) {
  Rig rig;
  DocumentLines header;
  header[0] = "Potraviny";
  EXPECT_TRUE(WriteDocumentLines(rig.session, DocumentPart::kHeader, header).ok);
  EXPECT_EQ(rig.frames.written.substr(0, 21), "\x1b;HL;846;0;Potraviny\r");
  EXPECT_EQ(ReadDocumentLines(rig.session, DocumentPart::kHeader)[0], "Potraviny");

  const TaxIdentityWritten identity = WriteTaxIdentity(rig.session, {"2020000000", "", "", "40000000"});
  EXPECT_TRUE(identity.outcome.ok);
  EXPECT_EQ(identity.readBack[0], "2020000000");
  EXPECT_FALSE(identity.readBack[1]) << "an empty value is not sent";
  EXPECT_EQ(identity.readBack[3], "40000000");

  EXPECT_EQ(WriteVatCoefficients(rig.session, {2300, 1900, 500, 0}).readBack[0], "2300");
  EXPECT_EQ(ReadVatCoefficients(rig.session)[1], 1900);
}

TEST(Operations, ARefusalIsReportedWithTheDevicesStatusAndTheOthersStillGo) {
  Rig rig;
  rig.session.state().LoginPassword = "1";  // not the device's
  DocumentLines lines;
  const Outcome outcome = WriteDocumentLines(rig.session, DocumentPart::kFooter, lines);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.failure.kind, session::SessionFailure::kRefused);
  EXPECT_EQ(outcome.failure.status, 512);
  std::size_t sent = 0;
  for (std::size_t at = 0; (at = rig.frames.written.find("\x1b;TL;", at)) != std::string::npos; ++at) ++sent;
  EXPECT_EQ(sent, 10u) << "each line is sent, refused or not";
}

TEST(Operations, RegisterFlagsGoInTheDevicesOrderOnlyWhereTheyChange) {
  namespace flag = protocol::flag;
  const struct {
    uint32_t current, wanted;
    std::string frames;
  } cases[] = {
      {0, flag::kHv | flag::kT0, "\x1b;STP;846;T0;1\r\x1b;STP;846;HV;1\r\x1b;IV;1\r"},
      {flag::kDph, 0, "\x1b;STP;846;DPH;0\r\x1b;IV;1\r"},
      {0, flag::kTestMode | flag::kAutomaticDeposit, "\x1b;STTEST;1\r\x1b;STAUVKLAD;846;50.00\r\x1b;IV;1\r"},
      {flag::kAutomaticDeposit, 0, "\x1b;STP;846;AVV;0\r\x1b;IV;1\r"},
      {flag::kT0, flag::kT0, "\x1b;IV;1\r"},
  };
  for (const auto& c : cases) {
    Rig rig;
    WriteRegisterFlags(rig.session, c.current, c.wanted, "50.00");
    // The emulator answers refusals with a status query; leave those out.
    std::string frames;
    for (std::size_t at = 0; at < rig.frames.written.size();) {
      const std::size_t end = rig.frames.written.find('\r', at) + 1;
      const std::string frame = rig.frames.written.substr(at, end - at);
      if (frame != "\x1b;IV;0\r") frames += frame;
      at = end;
    }
    EXPECT_EQ(frames, c.frames) << c.wanted;
  }
  EXPECT_FALSE(RegisterFlagChangeable(flag::kPrinterDisconnected, 13022)) << "the device's own";
  EXPECT_FALSE(RegisterFlagChangeable(flag::kFile, 13021));
  EXPECT_TRUE(RegisterFlagChangeable(flag::kFile, 13022));
  EXPECT_FALSE(RegisterFlagChangeable(flag::kAutomaticDeposit, 13022));
}

TEST(Operations, ANewPasswordIsCarriedOnlyOnceTheDeviceTookIt) {
  Rig rig;
  EXPECT_TRUE(ChangePassword(rig.session, "1234").ok);
  EXPECT_EQ(rig.session.state().LoginPassword, "1234");
  EXPECT_TRUE(ChangePassword(rig.session, "").ok);
  EXPECT_EQ(rig.session.state().LoginPassword, "0") << "an empty one is sent as 0";
  rig.session.state().LoginPassword = "999";
  EXPECT_FALSE(ChangePassword(rig.session, "5").ok);
  EXPECT_EQ(rig.session.state().LoginPassword, "999");
}

TEST(Operations, RoundingEntriesAreCheckedByTheirLetter) {
  EXPECT_EQ(FirstBadRoundingEntry({"A0.05", "a1", "H1", "p10", "A0.05", "A0.05"}), std::nullopt);
  EXPECT_EQ(FirstBadRoundingEntry({"A0.05", "A0.05", "X1", "A0.05", "", "A0.05"}), 2);
  Rig rig;
  EXPECT_TRUE(WriteRoundingEntries(rig.session, {"A0.05", "H1", "P10", "A0.05", "a0.1", "A0.05"}).ok);
  EXPECT_EQ(rig.frames.written,
            "\x1b;STZTYP;846;0.5;0.05;0.99999999;1;50;10;0.5;0.05;0.5;0.1;0.5;0.05\r");
}

// The fleet case: a texts file saved from one device configures the next.
TEST(Operations, ATextsFileSavedFromOneDeviceConfiguresAnother) {
  Rig configured;
  ScratchFolder dir;
  const std::string path = dir / "shop.set";
  ASSERT_TRUE(TextsFile::Save(path, ReadTextsFileLines(configured.session)));
  FileContents::Status status{};
  const auto file = TextsFile::Load(path, status);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Value("hl2"), "Hlavn\xE1 12, 811 01 Bratislava") << "the PC's code page in the file";

  Rig fresh;
  for (int line = 0; line < 10; ++line) fresh.device.state().info[120 + line] = "";
  fresh.device.state().info[3] = "";
  const TextsFileWritten written = WriteTextsFile(fresh.session, *file);
  EXPECT_TRUE(written.outcome.ok);
  EXPECT_EQ(fresh.Info(121), configured.Info(121)) << "back in the device's code page";
  EXPECT_EQ(fresh.Info(130), configured.Info(130));
  EXPECT_EQ(fresh.Info(3), configured.Info(3));
}

TEST(Operations, AWholeReceiptStopsAtTheFirstRefusal) {
  Rig rig;
  Receipt receipt{0, {{protocol::LineKind::kItem, "1.000", "2.50", 'A', "Chlieb"},
                      {protocol::LineKind::kStorno, "1.000", "9.99", 'A', "Nic"},
                      {protocol::LineKind::kItem, "1.000", "1.00", 'A', "Mlieko"}},
                  {"5.00"}};
  const DocumentPrinted printed = PrintReceipt(rig.session, receipt);
  EXPECT_FALSE(printed.outcome.ok);
  EXPECT_EQ(printed.outcome.failure.status, 1) << "a storno of nothing sold";
  EXPECT_EQ(printed.linesTaken, 1);
  EXPECT_FALSE(printed.closed);
  EXPECT_EQ(rig.frames.written.find("Mlieko"), std::string::npos);

  receipt.lines.erase(receipt.lines.begin() + 1);
  Rig again;
  const DocumentPrinted whole = PrintReceipt(again.session, receipt);
  EXPECT_TRUE(whole.outcome.ok);
  EXPECT_TRUE(whole.closed);
  EXPECT_EQ(whole.linesTaken, 2);
}

TEST(Operations, TheLineSpeedFollowsTheDeviceOrFindsItWhereItStayed) {
  Rig rig;
  const LineSpeedsSet set = SetLineSpeeds(rig.session, {4, 4});
  EXPECT_EQ(set.chosen, 38400);
  EXPECT_EQ(set.inUse, 38400);
  EXPECT_EQ(ReadLineSpeeds(rig.session).pc, 4);
  rig.session.state().LoginPassword = "1";  // refused: the device stays at 38400
  const LineSpeedsSet refused = SetLineSpeeds(rig.session, {0, 0});
  EXPECT_FALSE(refused.outcome.ok);
  EXPECT_EQ(refused.inUse, 38400);
}

}  // namespace
}  // namespace korvena::operations
