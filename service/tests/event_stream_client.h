#pragma once
// A subscriber to GET /v1/events on the loopback, as a till's or the status
// page's EventSource would be: the answer's status and headers, then the
// events one at a time as they come.
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "http_call.h"

namespace korvena::service {

struct StreamedEvent {
  std::string id;
  std::string type;
  nlohmann::json data;  // null when it was no JSON
};

class EventStreamClient {
 public:
  EventStreamClient();
  ~EventStreamClient();
  EventStreamClient(const EventStreamClient&) = delete;
  EventStreamClient& operator=(const EventStreamClient&) = delete;

  // Sends the GET and reads the answer's header; false with failure() when
  // none came within `limitMs`.
  bool Open(int port, const std::string& target, const RequestHeaders& headers, int limitMs = 10000);
  int status() const;
  // The answer's header `name`; empty when it has none.
  std::string Header(const std::string& name) const;
  // The next event within `limitMs`; nothing when none came or the stream ended.
  std::optional<StreamedEvent> Next(int limitMs = 10000);
  // The events up to the first that `matches` (the last one), within
  // `limitMs`; what came, without a match at the end, when none did.
  std::vector<StreamedEvent> Until(const std::function<bool(const StreamedEvent&)>& matches, int limitMs = 20000);
  // The body came to its proper end (the last chunk); false while open or when cut off.
  bool finished() const;
  const std::string& failure() const;

 private:
  struct Line;
  std::unique_ptr<Line> line_;
};

}  // namespace korvena::service
