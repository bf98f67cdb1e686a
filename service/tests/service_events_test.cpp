// The event hub: a subscriber coming back gets what it missed or a reset,
// one that falls behind is dropped without holding up the publisher, and a
// worker on the emulated device tells of a daily closing made behind its back.
#include "korvena/service/service_events.h"
#include "korvena/service/slip_plan.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "korvena/protocol/info_catalogue.h"
#include "korvena/service/device_worker.h"
#include "service_test_rig.h"

namespace korvena::service {
namespace {

std::vector<std::string> Shown(const std::vector<ServiceEvent>& events) {
  std::vector<std::string> shown;
  for (const ServiceEvent& event : events) shown.push_back(std::to_string(event.id) + " " + event.type);
  return shown;
}

TEST(ServiceEvents, ASubscriberComingBackGetsWhatItMissedOrAReset) {
  ServiceEvents events({4, 64, 100});
  for (int i = 0; i < 6; ++i) events.Publish("job", "{}");  // 101..106; 103..106 are kept
  const struct {
    const char* what;
    std::optional<std::string> lastEventId;
    std::vector<std::string> queued;
  } cases[] = {
      {"a new subscriber", std::nullopt, {}},
      {"one up to date", "106", {}},
      {"one behind", "105", {"106 job"}},
      {"one that missed every event kept", "102", {"103 job", "104 job", "105 job", "106 job"}},
      {"one that missed more than is kept", "101", {"106 reset"}},
      {"one of a later run", "107", {"106 reset"}},
      {"one with an id none of ours", "x7", {"106 reset"}},
      {"an empty id", "", {"106 reset"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Shown(events.Subscribe(c.lastEventId)->Take().events), c.queued) << c.what;
  }
}

TEST(ServiceEvents, OneThatFallsBehindIsDroppedAndComesBackForTheRest) {
  ServiceEvents events({256, 3, 0});
  const std::shared_ptr<EventSubscription> slow = events.Subscribe();
  const std::shared_ptr<EventSubscription> keeping = events.Subscribe();
  int woken = 0;
  slow->OnReady([&] { ++woken; });
  std::vector<ServiceEvent> kept;
  for (int i = 0; i < 6; ++i) {
    events.Publish("device", "{}");
    for (ServiceEvent& event : keeping->Take().events) kept.push_back(event);
  }
  EXPECT_EQ(kept.size(), 6u) << "a subscriber that keeps up is never dropped";
  EXPECT_EQ(woken, 2) << "once for the first event, once when dropped, so that its stream ends";
  const EventSubscription::Batch left = slow->Take();
  EXPECT_EQ(Shown(left.events), (std::vector<std::string>{"1 device", "2 device", "3 device"}));
  EXPECT_FALSE(left.ended) << "what it had is still given";
  EXPECT_TRUE(slow->Take().ended);
  EXPECT_EQ(Shown(events.Subscribe("3")->Take().events),
            (std::vector<std::string>{"4 device", "5 device", "6 device"}));
}

// Waits up to 20 s for `done`.
bool WaitFor(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

TEST(DeviceWorker, PublishesADailyClosingMadeWithoutTheServiceButNotItsOwn) {
  namespace info = protocol::info;
  ServiceRig rig;
  // A clock that moves at every read, so that each pass over the values shows in asOf.
  std::atomic<int64_t> now{0};
  JobJournal journal(rig.folder / "events.db", [&] { return ++now; });
  ServiceEvents events;
  const std::shared_ptr<EventSubscription> subscription = events.Subscribe();
  WorkerSettings settings;
  settings.id = "COM1";
  settings.refreshEveryMs = 1;
  settings.quietBeforeRefreshMs = 0;
  DeviceWorker worker(settings, journal, std::move(rig.channel), [](const std::string&) {}, events);
  worker.Start();
  ASSERT_TRUE(WaitFor([&] { return worker.View().asOf.has_value(); })) << "the first pass knows 61 and 63";
  const auto closingsAfterAPass = [&] {
    const int64_t before = *worker.View().asOf;
    EXPECT_TRUE(WaitFor([&] { return *worker.View().asOf > before; }));
    std::vector<nlohmann::json> closings;
    for (const ServiceEvent& event : subscription->Take().events)
      if (event.type == "closing") closings.push_back(nlohmann::json::parse(event.data));
    return closings;
  };

  // The service's own closing, a job as the API makes it: its new 61 and 63 are no news.
  JobRecord job;
  job.key = "z1";
  job.device = "COM1";
  job.kind = std::string(kReportJob);
  job.request = R"({"type":"closing"})";
  ASSERT_TRUE(journal.Admit(job).added);
  worker.Enqueue("z1");
  ASSERT_TRUE(WaitFor([&] { return journal.Find("z1")->state == JobState::kDone; }));
  EXPECT_TRUE(closingsAfterAPass().empty());

  // Then one made by hand during a pause, after a receipt: its document number moves on.
  worker.SetPaused(true, 5000);
  ASSERT_EQ(worker.View().state, DeviceState::kPaused);
  for (const char* command : {"S;0", "L;1;0.50;A;Rucne", "K;0.50", "DZ"})
    rig.device.Receive(std::string("\x1b;") + command + "\r", rig.device.state().baud);
  rig.device.DiscardOutput();
  const std::string date = rig.device.InfoValue(info::kLastClosingDate);
  const std::string documents = rig.device.InfoValue(info::kDocumentsAtClosing);
  subscription->Take();
  worker.SetPaused(false, 5000);
  const std::vector<nlohmann::json> closings = closingsAfterAPass();
  ASSERT_EQ(closings.size(), 1u) << "one closing changes both values, and is told once";
  EXPECT_EQ(closings[0],
            (nlohmann::json{{"device", "COM1"}, {"lastClosingDate", date}, {"documentsAtClosing", documents}}));
  worker.Stop();
}

}  // namespace
}  // namespace korvena::service
