// The retry storm: twenty tills post two hundred receipts between them, each
// retrying its key with the same body on every lost connection, timeout,
// 202 or 503, while the service is killed (SIGKILL, as a power cut) and
// started again several times. Afterwards every job is done and the device
// printed every receipt exactly once: the documents, their totals and the
// device's own figures add up to the receipts posted.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "end_to_end_rig.h"
#include "korvena/operations/amount_field.h"
#include "korvena/protocol/amounts.h"
#include "korvena/protocol/info_catalogue.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;
namespace info = protocol::info;
using operations::MoneyText;

constexpr int kTills = 20;
constexpr int kReceipts = 200;
constexpr int kKills = 5;
constexpr const char* kUrl = "/v1/devices/COM1/receipts";

// Cents from the device's figures, such as "-312.40".
int64_t Cents(const std::string& text) { return protocol::ParseDecimal(text, 2).value_or(INT64_MIN); }

struct StormReceipt {
  std::string key;
  std::string item;  // the text of its first item, which no other receipt has
  std::string body;
  int64_t totalCents = 0;
};

// Every total distinct: receipt i comes to 1.00 + 0.13 i; every third has a
// second item, and each is paid in cash with change.
StormReceipt ReceiptNumber(int i) {
  StormReceipt r;
  r.key = "storm-" + std::to_string(i);
  r.item = "Tovar " + std::to_string(i);
  r.totalCents = 100 + 13 * i;
  std::vector<std::pair<std::string, std::string>> items;
  if (i % 3 == 0) {
    items = {{r.item, MoneyText(r.totalCents - 50)}, {"Taska", "0.50"}};
  } else {
    items = {{r.item, MoneyText(r.totalCents)}};
  }
  r.body = ItemsReceipt(items, MoneyText((r.totalCents / 100 + 1) * 100));
  return r;
}

struct TillResult {
  HttpAnswer answer;
  int tries = 0;
};

TEST(RetryStorm, EveryReceiptPrintsExactlyOnceThroughKills) {
  std::vector<StormReceipt> receipts;
  int64_t sum = 0;
  for (int i = 0; i < kReceipts; ++i) {
    receipts.push_back(ReceiptNumber(i));
    sum += receipts.back().totalCents;
  }

  EndToEndRig rig;
  ASSERT_TRUE(rig.StartDevice());
  const std::optional<std::string> turnoverBefore = rig.DeviceInfo(info::kNetTurnover);
  const std::optional<std::string> cashBefore = rig.DeviceInfo(info::kPayment1);
  const std::optional<std::string> documentsBefore = rig.DeviceInfo(info::kSalesDocuments);
  ASSERT_TRUE(turnoverBefore && cashBefore && documentsBefore);
  // A short wait limit: the tills come back often, across the kills too.
  const std::vector<std::string> options = {"--wait-limit", "2000"};
  ASSERT_TRUE(rig.StartService(options)) << rig.service.errors();

  std::atomic<int> port{rig.service.port()};  // 0 while the service is down
  std::atomic<int> settled{0};
  std::atomic<bool> abandon{false};  // the service could not be started again
  std::vector<TillResult> results(kReceipts);
  const auto deadline = Clock::now() + std::chrono::seconds(75);
  std::vector<std::thread> tills;
  for (int t = 0; t < kTills; ++t) {
    tills.emplace_back([&, t] {
      for (int i = t; i < kReceipts; i += kTills) {
        const RequestHeaders headers = {{"Content-Type", "application/json"},
                                        {"Authorization", std::string("Bearer ") + kTillToken},
                                        {"Idempotency-Key", receipts[i].key}};
        TillResult& result = results[i];
        while (Clock::now() < deadline && !abandon.load()) {
          const int now = port.load();
          if (now <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
          }
          ++result.tries;
          result.answer = HttpCall(now, "POST", kUrl, headers, receipts[i].body, 5000);
          const int status = result.answer.status;
          if (status != 0 && status != 202 && status != 503) break;
          std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        ++settled;
      }
    });
  }

  // The kills: each once a share of the receipts is settled, a little later
  // by a delay from a fixed seed, so they fall at varied points of a job.
  std::mt19937 delays(20240611);
  int kills = 0;
  bool restarted = true;
  for (int k = 1; k <= kKills && restarted; ++k) {
    const int due = k * kReceipts / (kKills + 2);
    while (settled.load() < due && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(delays() % 250));
    port.store(0);
    rig.service.Kill();
    ++kills;
    restarted = rig.StartService(options, "korvena-service", {}, false);
    abandon.store(!restarted);
    port.store(rig.service.port());
  }
  for (std::thread& till : tills) till.join();
  ASSERT_TRUE(restarted) << rig.service.errors();
  EXPECT_EQ(kills, kKills);

  // Every key's job is done, with its own document and total.
  std::set<long> numbers;
  int tries = 0;
  for (int i = 0; i < kReceipts; ++i) {
    const StormReceipt& r = receipts[i];
    const HttpAnswer& answer = results[i].answer;
    tries += results[i].tries;
    EXPECT_EQ(answer.status, 200) << r.key << ": " << answer.body << answer.failure;
    EXPECT_EQ(answer.Json()["total"], MoneyText(r.totalCents)) << r.key << ": " << answer.body;
    EXPECT_EQ(rig.Get("/v1/jobs/" + r.key).Json()["state"], "done") << r.key;
    if (answer.Json()["documentNumber"].is_number()) numbers.insert(answer.Json()["documentNumber"].get<long>());
  }
  EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kReceipts)) << "a document of its own each";
  std::printf("%d receipts, %d tills, %d kills, %d posts\n", kReceipts, kTills, kills, tries);

  // The device printed each exactly once: one document per receipt, found by
  // its first item, with its total and the number its job gave.
  const std::vector<PrintedReceipt> printed = PrintedReceipts(rig.device.journal());
  EXPECT_EQ(printed.size(), static_cast<std::size_t>(kReceipts));
  std::map<std::string, std::vector<const PrintedReceipt*>> byItem;
  int64_t printedSum = 0;
  for (const PrintedReceipt& document : printed) {
    EXPECT_EQ(document.totals.size(), 1u) << "document " << document.number << " closed once";
    for (const std::string& total : document.totals) printedSum += Cents(total);
    std::set<std::string> items;
    for (const std::string& line : document.lines)
      if (line.rfind("Tovar ", 0) == 0) items.insert(line);
    for (const std::string& item : items) byItem[item].push_back(&document);
  }
  for (int i = 0; i < kReceipts; ++i) {
    const StormReceipt& r = receipts[i];
    const auto found = byItem.find(r.item);
    if (found == byItem.end()) {
      ADD_FAILURE() << r.key << " was never printed";
      continue;
    }
    ASSERT_EQ(found->second.size(), 1u) << r.key << " printed in more than one document";
    const PrintedReceipt& document = *found->second.front();
    EXPECT_EQ(document.totals, std::vector<std::string>{MoneyText(r.totalCents)}) << r.key;
    EXPECT_EQ(results[i].answer.Json()["documentNumber"], document.number) << r.key;
  }
  EXPECT_EQ(printedSum, sum);

  // And the device's own figures moved by exactly the receipts.
  EXPECT_EQ(rig.service.Stop(), 0) << rig.service.errors();
  const std::optional<std::string> turnover = rig.DeviceInfo(info::kNetTurnover);
  const std::optional<std::string> cash = rig.DeviceInfo(info::kPayment1);
  const std::optional<std::string> documents = rig.DeviceInfo(info::kSalesDocuments);
  ASSERT_TRUE(turnover && cash && documents);
  // The kills fell inside jobs: a frame whose intent was committed and
  // whose answer never was, the job carried on by the next run.
  int cutFrames = 0;
  for (const StormReceipt& r : receipts)
    for (const FrameRecord& frame : rig.JournalFrames(r.key)) cutFrames += frame.outcome == "intent" ? 1 : 0;
  std::printf("%d frames cut off by a kill\n", cutFrames);
  EXPECT_GE(cutFrames, 1) << "with the queue never empty, a kill rarely falls between two frames";
  EXPECT_EQ(Cents(*turnover) - Cents(*turnoverBefore), sum) << *turnoverBefore << " -> " << *turnover;
  EXPECT_EQ(Cents(*cash) - Cents(*cashBefore), sum) << *cashBefore << " -> " << *cash;
  EXPECT_EQ(std::stol(*documents) - std::stol(*documentsBefore), kReceipts) << *documentsBefore << " -> " << *documents;
}

}  // namespace
}  // namespace korvena::service
