// The two exchanges at the byte level, and the conversions at the edges of
// the program: device integers and the PC's code page.
#include <gtest/gtest.h>

#include "korvena/session/device_session.h"
#include "korvena/operations/device_integer.h"
#include "korvena/link/scripted_port.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

struct ExchangeRig {
  explicit ExchangeRig(int32_t timeoutUnit) {
    exchange.state().TimeoutUnit = timeoutUnit;
    port.Open(1, 9600);
  }
  VirtualClock clock{0xFFFFFF00u};
  ScriptedPort port{clock};
  int pendingMessagesProcessed = 0;
  session::DeviceSession exchange{port, clock, [this] { ++pendingMessagesProcessed; }};
};

TEST(DeviceExchange, QueryInfoWritesTheQueryAndReadsOneLine) {
  ExchangeRig rig(100);
  rig.port.onFrame = [&](const std::string&) { rig.port.Send("13022\r"); };
  EXPECT_EQ(rig.exchange.QueryInfo(1000), "13022");
  EXPECT_EQ(rig.port.written, "\x1b;IV;1000\r");
  EXPECT_EQ(rig.pendingMessagesProcessed, 1);
}

// A silent device: each exchange waits its number of time-out units, and a
// set command whose answer is not "0" asks for the status once.
TEST(DeviceExchange, SilentDeviceCostsTheTimeOutsOfEachExchange) {
  const struct {
    int32_t unit;
    bool setCommand;
    uint32_t waited;
    std::string written;
  } cases[] = {
      {100, false, 1000, "\x1b;IV;7\r"},
      {5000, false, 50000, "\x1b;IV;7\r"},
      {100, true, 5000 + 1000, "\x1b;STNGT;\r\x1b;IV;0\r"},
      {300, true, 15000 + 3000, "\x1b;STNGT;\r\x1b;IV;0\r"},
  };
  for (const auto& c : cases) {
    ExchangeRig rig(c.unit);
    const uint32_t start = rig.clock.Ticks();
    if (c.setCommand)
      rig.exchange.SendCommand("\x1b;STNGT;\r");
    else
      rig.exchange.QueryInfo(7);
    const uint32_t waited = rig.clock.Ticks() - start;
    // The deadline passes on the first poll after it.
    EXPECT_GE(waited, c.waited) << c.unit;
    EXPECT_LE(waited, c.waited + 2 * (c.setCommand ? 2 : 1)) << c.unit;
    EXPECT_EQ(rig.port.written, c.written) << c.unit;
  }
}

TEST(DeviceExchange, SetCommandAsksForTheStatusOnlyAfterAnotherAnswer) {
  const struct {
    std::string answer;
    std::string written;
  } cases[] = {
      {"0", "\x1b;HL;;0;x\r"},
      {"00", "\x1b;HL;;0;x\r\x1b;IV;0\r"},
      {"1", "\x1b;HL;;0;x\r\x1b;IV;0\r"},
      {"", "\x1b;HL;;0;x\r\x1b;IV;0\r"},
  };
  for (const auto& c : cases) {
    ExchangeRig rig(100);
    bool first = true;
    rig.port.onFrame = [&](const std::string&) {
      rig.port.Send((first ? c.answer : "3") + "\r");
      first = false;
    };
    rig.exchange.SendCommand("\x1b;HL;;0;x\r");
    EXPECT_EQ(rig.port.written, c.written) << c.answer;
  }
}

TEST(DeviceInteger, ParsesWhatFitsThirtyTwoBits) {
  const struct {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"0", 0},
      {"13022", 13022},
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN},
      {"-2147483649", std::nullopt},
      {"00000000000012", 12},
      {"  42", 42},
      {"+7", 7},
      {"42 ", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"1e3", std::nullopt},
      {"abc", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(operations::ParseDeviceInteger(c.text), c.value) << '"' << c.text << '"';
  EXPECT_THROW(operations::ToInteger("12x"), operations::ConversionError);
}

TEST(Windows1250, DeviceTextsCrossIntoQtAndBack) {
  const struct {
    std::string bytes;
    const char* utf8;
  } cases[] = {
      {"DI\xC8:", "DIČ:"},
      {"Z\xE1porn\xFD obrat", "Záporný obrat"},
      {"\x8A\x9D\x9E\xBE\xF4", "Šťžľô"},
      {"\x80 100", "€ 100"},
  };
  for (const auto& c : cases) {
    const QString text = QString::fromUtf8(c.utf8);
    EXPECT_EQ(FromWindows1250(c.bytes), text) << c.utf8;
    EXPECT_EQ(ToWindows1250(text), c.bytes) << c.utf8;
  }
  EXPECT_EQ(ToWindows1250(QString::fromUtf8("→ж")), "??");
}

}  // namespace
}  // namespace korvena::kalibro
