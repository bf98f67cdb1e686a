// Two devices behind one service: each worker prints its own queue on its
// own device, exactly once, and neither waits for the other, whether the
// other prints a long report or has fallen silent.
#include <gtest/gtest.h>

#include <latch>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "end_to_end_rig.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;

std::string Receipts(const std::string& id) { return "/v1/devices/" + id + "/receipts"; }

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

// Whether any line of `receipt` names `item`.
bool Names(const PrintedReceipt& receipt, const std::string& item) {
  for (const std::string& line : receipt.lines)
    if (line.find(item) != std::string::npos) return true;
  return false;
}

// What each device's tills sell: the item tells on whose paper a receipt ended up.
struct Till {
  int com;
  const char* id;
  const char* item;
  const char* otherItem;
};
const Till kTills[] = {{1, "COM1", "Chlieb", "Mlieko"}, {2, "COM2", "Mlieko", "Chlieb"}};
constexpr int kReceiptsEach = 3;

std::string Key(const Till& till, int n) { return std::string(till.id) + "-" + till.item + "-" + std::to_string(n); }

TEST(TwoDevices, EachPrintsItsOwnReceiptsOnceAndNeitherWaitsForTheOthersReport) {
  EndToEndRig rig;
  // COM1 at the line rate, so that its report takes far longer than COM2's receipts.
  ASSERT_TRUE(rig.StartDevice({"--pace", "--baud", "9600"}, 1));
  ASSERT_TRUE(rig.StartDevice({}, 2));
  ASSERT_TRUE(rig.StartService({"--wait-limit", "0"})) << rig.service.errors();

  // Every till of both devices posts at the same moment.
  std::vector<HttpAnswer> answers(std::size(kTills) * kReceiptsEach);
  {
    std::latch ready(static_cast<std::ptrdiff_t>(answers.size()));
    std::vector<std::thread> tills;
    for (std::size_t t = 0; t < std::size(kTills); ++t)
      for (int n = 0; n < kReceiptsEach; ++n)
        tills.emplace_back([&, t, n] {
          const Till& till = kTills[t];
          ready.arrive_and_wait();
          answers[t * kReceiptsEach + static_cast<std::size_t>(n)] =
              rig.PostUntilSettled(OneItemReceipt(till.item, "1.00", "1.00"), Key(till, n), 60000, Receipts(till.id));
        });
    for (std::thread& till : tills) till.join();
  }
  for (std::size_t t = 0; t < std::size(kTills); ++t) {
    const Till& till = kTills[t];
    SCOPED_TRACE(till.id);
    std::set<long> answered;
    for (int n = 0; n < kReceiptsEach; ++n) {
      const HttpAnswer& answer = answers[t * kReceiptsEach + static_cast<std::size_t>(n)];
      ASSERT_EQ(answer.Json().value("state", ""), "done") << answer.body << answer.failure;
      answered.insert(answer.Json()["documentNumber"].get<long>());
    }
    const std::string journal = rig.DeviceOn(till.com).journal();
    std::set<long> printed;
    for (const PrintedReceipt& receipt : PrintedReceipts(journal)) {
      EXPECT_TRUE(Names(receipt, till.item)) << journal;
      EXPECT_FALSE(Names(receipt, till.otherItem)) << "the other device's receipt:\n" << journal;
      EXPECT_EQ(receipt.totals.size(), 1u) << "closed once:\n" << journal;
      printed.insert(receipt.number);
    }
    EXPECT_EQ(PrintedReceipts(journal).size(), static_cast<std::size_t>(kReceiptsEach)) << journal;
    EXPECT_EQ(printed, answered) << "every answer names a receipt on this device's paper";
  }

  // COM1 makes three daily closings and the interval report over them, queued
  // at once; COM2's receipts are posted while COM1 works through them.
  struct Report {
    const char* key;
    const char* body;
  };
  const Report kReports[] = {{"z1", R"({"type": "closing"})"},
                             {"z2", R"({"type": "closing"})"},
                             {"z3", R"({"type": "closing"})"},
                             {"interval", R"({"type": "interval", "from": 1, "to": 3})"}};
  for (const Report& report : kReports)
    ASSERT_EQ(rig.Post("/v1/devices/COM1/reports", report.body, report.key).status, 202) << report.key;
  ASSERT_TRUE(rig.WaitForDevice("busy", 20000, "COM1"));
  for (int n = kReceiptsEach; n < 2 * kReceiptsEach; ++n) {
    const HttpAnswer answer = rig.PostUntilSettled(OneItemReceipt("Mlieko", "1.00", "1.00"), Key(kTills[1], n), 60000,
                                                   Receipts("COM2"));
    EXPECT_EQ(answer.Json().value("state", ""), "done") << answer.body << answer.failure;
  }
  EXPECT_NE(rig.Get("/v1/jobs/interval").Json().value("state", ""), "done")
      << "COM2's receipts are done before COM1's queue is";
  for (const Report& report : kReports) {
    const HttpAnswer done = rig.PostUntilSettled(report.body, report.key, 120000, "/v1/devices/COM1/reports");
    EXPECT_EQ(done.Json().value("state", ""), "done") << report.key << ": " << done.body << done.failure;
  }

  const std::string first = rig.device.journal();
  const std::string second = rig.DeviceOn(2).journal();
  EXPECT_EQ(Count(first, "DENNA UZAVIERKA"), 3u) << first;
  EXPECT_EQ(Count(first, "INTERVALOVA UZAVIERKA"), 1u) << first;
  EXPECT_EQ(PrintedReceipts(second).size(), static_cast<std::size_t>(2 * kReceiptsEach)) << second;
  EXPECT_EQ(Count(second, "UZAVIERKA"), 0u) << "no report on COM2's paper:\n" << second;
}

TEST(TwoDevices, OneFallingSilentLeavesTheOtherPrintingAndFinishesItsHeldReceiptOnceBack) {
  EndToEndRig rig;
  // COM1 prints the receipt at K but answers nothing for 8 s, eight times the
  // service's answer limit: it is lost for far longer than COM2's receipts take.
  ASSERT_TRUE(rig.StartDevice({"--mute-after", "1", "--fault-frames", "K", "--fault-for", "8000"}, 1));
  ASSERT_TRUE(rig.StartDevice({}, 2));
  ASSERT_TRUE(rig.StartService({"--wait-limit", "0"})) << rig.service.errors();
  const std::string held = OneItemReceipt("Chlieb", "1.20", "2.00");
  ASSERT_EQ(rig.Post(Receipts("COM1"), held, "held").status, 202);
  ASSERT_TRUE(rig.WaitForDevice("lost", 20000, "COM1")) << rig.service.errors();
  EXPECT_NE(rig.StateOf("COM2"), "lost");

  for (int n = 0; n < kReceiptsEach; ++n) {
    const HttpAnswer answer =
        rig.PostUntilSettled(OneItemReceipt("Mlieko", "0.89", "1.00"), Key(kTills[1], n), 60000, Receipts("COM2"));
    EXPECT_EQ(answer.Json().value("state", ""), "done") << answer.body << answer.failure;
  }
  EXPECT_NE(rig.Get("/v1/jobs/held").Json().value("state", ""), "done") << "COM2 printed while COM1 was silent";

  ASSERT_TRUE(rig.WaitForDevice("ready", 60000, "COM1")) << rig.service.errors();
  const HttpAnswer done = rig.PostUntilSettled(held, "held", 60000, Receipts("COM1"));
  EXPECT_EQ(done.Json().value("state", ""), "done") << done.body << done.failure;
  const std::vector<PrintedReceipt> first = PrintedReceipts(rig.device.journal());
  ASSERT_EQ(first.size(), 1u) << "printed at K, settled, not printed again:\n" << rig.device.journal();
  EXPECT_EQ(done.Json()["documentNumber"], first.front().number);
  EXPECT_EQ(PrintedReceipts(rig.DeviceOn(2).journal()).size(), static_cast<std::size_t>(kReceiptsEach));
}

}  // namespace
}  // namespace korvena::service
