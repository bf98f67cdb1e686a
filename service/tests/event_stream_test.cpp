// GET /v1/events on the real korvena-service: a receipt's job and the
// device seen changing state as it prints, a subscriber coming back with its
// last id, the till token it needs, and a proper end when the service stops.
#include <gtest/gtest.h>

#include "end_to_end_rig.h"
#include "event_stream_client.h"

namespace korvena::service {
namespace {

RequestHeaders TillAuthorization() { return {{"Authorization", std::string("Bearer ") + kTillToken}}; }

TEST(ServiceEventStream, ShowsAReceiptRunningAndResumesAfterTheLastIdSeen) {
  EndToEndRig rig;
  ASSERT_TRUE(rig.StartDevice());
  ASSERT_TRUE(rig.StartService()) << rig.service.errors();
  EventStreamClient stream;
  ASSERT_TRUE(stream.Open(rig.service.port(), "/v1/events", TillAuthorization())) << stream.failure();
  EXPECT_EQ(stream.status(), 200);
  EXPECT_EQ(stream.Header("Content-Type"), "text/event-stream");

  ASSERT_EQ(rig.Post("/v1/devices/COM1/receipts", OneItemReceipt("Chlieb", "1.20", "2.00"), "e1").status, 200);
  const std::vector<StreamedEvent> seen = stream.Until([](const StreamedEvent& e) {
    return e.type == "device" && e.data.value("state", "") == "ready";
  });
  std::string told;
  for (const StreamedEvent& event : seen) {
    if (event.type == "job") {
      EXPECT_EQ(event.data, (nlohmann::json{{"key", "e1"}, {"device", "COM1"}, {"kind", "receipt"},
                                            {"state", event.data["state"]}}));
    }
    told += event.type + " " + event.data.value("state", "") + ", ";
  }
  EXPECT_EQ(told, "job accepted, job running, device busy, job done, device ready, ");
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[4].data.value("queueLength", -1), 0);
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_GT(std::stoull(seen[i].id), std::stoull(seen[i - 1].id));

  const struct {
    const char* what;
    std::string lastEventId;
    std::string first;  // the first event's id and type
  } comingBack[] = {
      {"after the first event", seen[0].id, seen[1].id + " job"},
      {"after the last", seen[3].id, seen[4].id + " device"},
      {"from another run", "1", seen[4].id + " reset"},
  };
  for (const auto& c : comingBack) {
    EventStreamClient again;
    RequestHeaders headers = TillAuthorization();
    headers.emplace_back("Last-Event-ID", c.lastEventId);
    ASSERT_TRUE(again.Open(rig.service.port(), "/v1/events", headers)) << again.failure();
    const std::optional<StreamedEvent> first = again.Next();
    ASSERT_TRUE(first) << c.what;
    EXPECT_EQ(first->id + " " + first->type, c.first) << c.what;
  }

  EXPECT_EQ(rig.service.Stop(), 0);
  EXPECT_FALSE(stream.Next());
  EXPECT_TRUE(stream.finished()) << "the stream ended with its last chunk: " << stream.failure();
}

TEST(ServiceEventStream, NeedsATillTokenTakenFromTheQueryOnThisRouteAlone) {
  EndToEndRig rig;
  ASSERT_TRUE(rig.StartDevice());
  ASSERT_TRUE(rig.StartService()) << rig.service.errors();
  const std::string token = kTillToken;
  const struct {
    const char* target;
    RequestHeaders headers;
    int status;
  } cases[] = {
      {"/v1/events", {}, 401},
      {"/v1/events", {{"Authorization", "Bearer nobody"}}, 401},
      {"/v1/events", TillAuthorization(), 200},
      {"/v1/events?access_token=nobody", {}, 401},
      {"/v1/events?access_token=till%2D7c1e", {}, 200},
      {"/v1/events?since=now&access_token=till-7c1e", {}, 200},
      {"/v1/devices?access_token=till-7c1e", {}, 401},
  };
  for (const auto& c : cases) {
    EventStreamClient stream;
    ASSERT_TRUE(stream.Open(rig.service.port(), c.target, c.headers)) << c.target << ": " << stream.failure();
    EXPECT_EQ(stream.status(), c.status) << c.target;
  }
  EXPECT_EQ(rig.service.errors().find(token), std::string::npos) << rig.service.errors();
}

}  // namespace
}  // namespace korvena::service
