// The device's side of what the driver library relies on: sales commands and
// their printouts, LDX data, SD days, INFO, MIP/MDP and CRC announcements.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>

#include "korvena/emulator/device.h"
#include "model/printed_journal.h"

namespace korvena::emu {
namespace {

// Everything the device sends in answer to `bytes`, transmissions joined.
std::string Ask(Device& device, const std::string& bytes) {
  device.Receive(bytes, device.state().baud);
  std::string answer;
  while (device.HasOutput()) answer += device.TakeOutput().bytes;
  return answer;
}

std::string Crc(const std::string& command) {
  uint8_t crc = 0;  // the driver's CRC-8, written out once more for the test
  for (const char c : command) {
    crc ^= static_cast<uint8_t>(c);
    for (int i = 0; i < 8; ++i) crc = static_cast<uint8_t>(crc & 1 ? (crc >> 1) ^ 0x8C : crc >> 1);
  }
  return "\x1b;CRC;" + std::to_string(crc) + std::string(1, '\0');
}

TEST(SalesCommands, AReceiptIsPrintedLineByLine) {
  Device device;
  device.state().info[50] = "41";
  EXPECT_EQ(Ask(device, "\x1b;S;1\r"), "0\r");
  EXPECT_EQ(Ask(device, "\x1b;L;2.000;2.50;A;Chlieb\r"), "0\r");
  EXPECT_EQ(Ask(device, "\x1b;LS;1;2.5;A;Chlieb\r"), "0\r");
  EXPECT_EQ(Ask(device, "\x1b;L;1;0.3;B;Rozok\r"), "0\r");
  EXPECT_EQ(Ask(device, "\x1b;K;5;0;0;1.00;;\r"), "0\r");
  const std::vector<std::string> expected = {
      "========================================",
      "POKLADNICNY DOKLAD c. 42           MOD B",
      "----------------------------------------",
      "Chlieb",
      "  2.000 x 2.50                    5.00 A",
      "STORNO Chlieb",
      "  1.000 x 2.50                   -2.50 A",
      "Rozok",
      "  1.000 x 0.30                    0.30 B",  // 20 % VAT on top
      "----------------------------------------",
      "SPOLU                               2.86",
      "DPH 20.00% zo 0.30                  0.06",
      "HOTOVOST                            5.00",
      "FAKTURA                             1.00",
      "VYDAVOK                             3.14",
      "========================================",
  };
  EXPECT_EQ(device.journal(), expected);
  std::string ldx;
  for (const std::string& line : expected) ldx += line + "\r\n";
  EXPECT_EQ(device.state().sales.ldx, ldx);
  EXPECT_EQ(device.state().sales.sdDays.at(SdCardDay(CurrentLocalDate())), ldx);
  EXPECT_EQ(device.state().info.at(50), "42");
}

TEST(SalesCommands, AnswersTheDeviceErrorNumbers) {
  const struct {
    std::vector<std::string> before;
    std::string command;
    std::string answer;
  } cases[] = {
      {{}, "\x1b;K;10\r", "2\r"},                                       // no receipt open
      {{"\x1b;S;0\r"}, "\x1b;S;0\r", "2\r"},                            // one is open already
      {{}, "\x1b;S;5\r", "1\r"},                                        // no such mode
      {{}, "\x1b;L;1;1;A;x\r", "2\r"},                                  // a line needs a document
      {{"\x1b;S;0\r"}, "\x1b;L;1,5;1;A;x\r", "1\r"},                    // decimal comma
      {{"\x1b;S;0\r"}, "\x1b;L;1;1;J;x\r", "1\r"},                      // no VAT class J
      {{"\x1b;S;0\r"}, "\x1b;L;1e2;0.5;A;x\r", "0\r"},                  // exponent accepted
      {{"\x1b;S;0\r"}, "\x1b;L;+1; 0x1p-1;A;x\r", "0\r"},               // plus, blanks, hexadecimal
      {{"\x1b;S;0\r"}, "\x1b;L;--1;1;A;x\r", "1\r"},                    // two signs
      {{"\x1b;S;0\r"}, "\x1b;L;1 ;1;A;x\r", "1\r"},                     // a trailing blank
      {{"\x1b;S;0\r"}, "\x1b;L;1e999;1;A;x\r", "1\r"},                  // beyond any double
      {{"\x1b;S;0\r"}, "\x1b;L;-1;1;A;x\r", "1\r"},                     // the kind carries the sign
      {{"\x1b;S;0\r"}, "\x1b;L;1;1;A\r", "1\r"},                       // no text field
      {{"\x1b;S;0\r"}, "\x1b;L;1;1;A;" + std::string(41, 'x') + "\r", "1\r"},  // wider than the paper
      {{"\x1b;S;0\r"}, "\x1b;L;1000000;100000;A;x\r", "1\r"},          // an amount beyond the device
      {{}, "\x1b;F;0;Firma\r", "1\r"},                                   // an invoice of nothing
      {{"\x1b;S;0\r", "\x1b;L;1;9;A;x\r"}, "\x1b;K;8.99\r", "3\r"},     // payment short
      {{"\x1b;S;0\r"}, "\x1b;K;-1\r", "1\r"},                           // negative payment
      {{"\x1b;S;0\r"}, "\x1b;KF;0\r", "2\r"},                           // an invoice is not open
      {{"\x1b;F;100;Firma\r"}, "\x1b;KF;100\r", "0\r"},
      {{}, "\x1b;V;\r", "1\r"},                                         // no amount
      {{"\x1b;S;0\r"}, "\x1b;V;5\r", "2\r"},                            // cash during a receipt
      {{}, "\x1b;MI;5;2\r", "1\r"},                                     // reversed interval
      {{}, "\x1b;MD;1;1;2024;31;13;2024\r", "1\r"},                     // no month 13
      {{}, "\x1b;MD;1;1;2024;31;12;2024\r", "1\r"},                     // no closing recorded in it
      {{}, "\x1b;C\r", "2\r"},                                          // nothing to copy
      {{}, "\x1b;DZ\r", "0\r"},
      {{}, "\x1b;DZ;1\r", "1\r"},                                        // it takes no argument
      {{}, "\x1b;NOSUCH\r", "1\r"},
  };
  for (const auto& c : cases) {
    Device device;
    for (const std::string& step : c.before) ASSERT_EQ(Ask(device, step), "0\r") << step;
    EXPECT_EQ(Ask(device, c.command), c.answer) << c.command;
  }
}

// Puts the process locale back as it was, whatever the test did to it.
class LocaleRestorer {
 public:
  LocaleRestorer() : saved_(std::setlocale(LC_ALL, nullptr)) {}
  ~LocaleRestorer() { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
};

// A program embedding the device may set a decimal-comma locale, in which the
// C library would read "2.50" as 2. Each locale is tried when installed.
TEST(SalesCommands, PricesKeepTheirDecimalPointInEveryLocale) {
  const LocaleRestorer restorer;
  for (const char* name : {"C", "C.UTF-8", "sk_SK.UTF-8", "de_DE.UTF-8", "cs_CZ.UTF-8", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_ALL, name) == nullptr) continue;
    Device device;
    ASSERT_EQ(Ask(device, "\x1b;S;0\r"), "0\r") << name;
    EXPECT_EQ(Ask(device, "\x1b;L;1;2.50;A;x\r"), "0\r") << name;
    EXPECT_EQ(Ask(device, "\x1b;L;1;2,50;A;x\r"), "1\r") << name;
    EXPECT_EQ(device.state().sales.open.totalCents, 250) << name;
  }
}

TEST(SalesCommands, CashMovementsCountInTheInfoValues) {
  Device device;
  device.state().info[36] = "1500.00";
  device.state().info[37] = "21";
  device.state().info[38] = "100.00";
  device.state().info[39] = "3";
  EXPECT_EQ(Ask(device, "\x1b;V;500\r"), "0\r");
  EXPECT_EQ(Ask(device, "\x1b;V;-20.5\r"), "0\r");
  EXPECT_EQ(Ask(device, "\x1b;IV;36\r"), "2000.00\r");
  EXPECT_EQ(Ask(device, "\x1b;IV;37\r"), "22\r");
  EXPECT_EQ(Ask(device, "\x1b;INFO;38\r"), "120.50\r");
  EXPECT_EQ(Ask(device, "\x1b;INFO;39\r"), "4\r");
}

// The SD card keeps a calendar day's printout under its date, as READSD
// asks for it.
TEST(SalesCommands, TheSdCardKeepsEachDayUnderItsDate) {
  Device device;
  Ask(device, "\x1b;V;1\r");
  Ask(device, "\x1b;DZ\r");
  Ask(device, "\x1b;V;2\r");
  const auto& days = device.state().sales.sdDays;
  ASSERT_EQ(days.size(), 1u);
  const std::string& today = days.at(SdCardDay(CurrentLocalDate()));
  EXPECT_LT(today.find("DENNA UZAVIERKA (Z) c. 1"), today.find("VKLAD                               2.00")) << today;
}

TEST(SalesCommands, CopiesRepeatKeptDocuments) {
  Device device;
  device.state().info[50] = "0";
  Ask(device, "\x1b;V;1\r");
  Ask(device, "\x1b;V;2\r");
  EXPECT_EQ(Ask(device, "\x1b;C\r"), "0\r");
  EXPECT_NE(device.state().sales.ldx.find("KOPIA"), std::string::npos);
  EXPECT_NE(device.state().sales.ldx.find("2.00"), std::string::npos);
  EXPECT_EQ(device.state().sales.ldx.find("1.00"), std::string::npos) << "only the last document";
  EXPECT_EQ(Ask(device, "\x1b;CDI;1;2\r"), "0\r");
  EXPECT_EQ(Ask(device, "\x1b;CDIM;50;60\r"), "2\r");
  EXPECT_EQ(Ask(device, "\x1b;CDD;1;1;2024;1;1;2024\r"), "0\r");
}

TEST(DriverCommands, GetLdxSendsTheLastPrintoutWithItsCheckSum) {
  Device device;
  EXPECT_EQ(Ask(device, "\x1b;GETLDX\r"), "") << "nothing printed yet";
  Ask(device, "\x1b;V;1\r");
  const std::string ldx = device.state().sales.ldx;
  uint16_t sum = 0;
  for (const char c : ldx) sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(c));
  EXPECT_EQ(Ask(device, "\x1b;GETLDX\r"), ldx + static_cast<char>(sum >> 8) + static_cast<char>(sum & 0xFF));
  EXPECT_EQ(Ask(device, "\x1b;GETLDX\r").size(), ldx.size() + 2) << "the data stays";
}

TEST(DriverCommands, ReadSdSendsLengthDataAtTheSdSpeedAndAClosingLine) {
  Device device;
  device.state().sales.sdDays["4"] = "day four";
  device.Receive("\x1b;READSD;4\r", 9600);
  const Transmission length = device.TakeOutput();
  EXPECT_EQ(length.bytes, "8\r");
  EXPECT_EQ(length.baud, 9600u);
  const Transmission data = device.TakeOutput();
  EXPECT_EQ(data.bytes, "day four");
  EXPECT_EQ(data.baud, 115200u);
  EXPECT_GT(data.pauseMs, 0u);
  const Transmission closing = device.TakeOutput();
  EXPECT_EQ(closing.bytes, "0\r");
  EXPECT_EQ(closing.baud, 9600u);
  EXPECT_GT(closing.pauseMs, 0u);
  EXPECT_FALSE(device.HasOutput());

  EXPECT_EQ(Ask(device, "\x1b;READSD;99\r"), "0\r0\r") << "an unknown day has no data";
}

TEST(DriverCommands, MipAndMdpAcknowledgeAfterPrinting) {
  Device device;
  Ask(device, "\x1b;DZ\r");
  device.Receive("\x1b;MIP;1;3\r", 9600);
  const Transmission ack = device.TakeOutput();
  EXPECT_EQ(ack.bytes, "0\r");
  EXPECT_GT(ack.pauseMs, 0u);
  EXPECT_EQ(Ask(device, "\x1b;MDP;1;1;2024\r"), "1\r") << "a second date is missing";
  EXPECT_EQ(std::count(device.journal().begin(), device.journal().end(), "INTERVALOVA UZAVIERKA (CISLA)"), 1);
}

TEST(CrcCommands, OnlyACommandThatMatchesItsAnnouncementIsCarriedOut) {
  const struct {
    const char* name;
    std::string bytes;
    std::string answer;
    bool carriedOut;
  } cases[] = {
      {"match", Crc("\x1b;V;5\r") + "\x1b;V;5\r", "0\r", true},
      {"mismatch", Crc("\x1b;V;6\r") + "\x1b;V;5\r", "4\r", false},
      {"unreadable_value", std::string("\x1b;CRC;x", 7) + '\0' + "\x1b;V;5\r", "4\r", false},
      {"value_above_255", std::string("\x1b;CRC;300", 9) + '\0' + "\x1b;V;5\r", "4\r", false},
      {"noise_before_the_command", Crc("\x1b;V;5\r") + "zz\x1b;V;5\r", "0\r", true},
      {"a_new_announcement_replaces_the_old", Crc("\x1b;X\r") + Crc("\x1b;V;5\r") + "\x1b;V;5\r", "0\r", true},
      {"only_the_next_command_is_checked", Crc("\x1b;V;5\r") + "\x1b;V;5\r\x1b;IV;0\r", "0\r0\r", true},
  };
  for (const auto& c : cases) {
    Device device;
    EXPECT_EQ(Ask(device, c.bytes), c.answer) << c.name;
    EXPECT_EQ(device.state().sales.ldx.empty(), !c.carriedOut) << c.name;
  }
}

}  // namespace
}  // namespace korvena::emu
