#pragma once
// What happens in the service as a stream of events, for tills and the
// status page: jobs changing state, devices changing state, and daily
// closings a device made without the service. Publishing never waits for a
// subscriber: each has a bounded queue, and one that falls behind is dropped
// (its stream ends and it comes back with the last id it saw). The last
// events are kept, so a subscriber that comes back gets what it missed, or
// a reset event telling it to read everything afresh when that is gone.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "korvena/service/device_view.h"
#include "korvena/service/job_record.h"

namespace korvena::service {

struct ServiceEvent {
  uint64_t id = 0;
  std::string type;  // "job", "device", "closing", "reset"
  std::string data;  // JSON on one line
};

// The event as text/event-stream carries it: its id, event and data lines
// and the blank line that ends it.
std::string EventStreamText(const ServiceEvent& event);
// A comment line that carries nothing but keeps proxies from closing an idle stream.
inline constexpr std::string_view kKeepAliveText = ": keep-alive\n\n";

class EventSubscription {
 public:
  struct Batch {
    std::vector<ServiceEvent> events;
    bool ended = false;  // dropped, and nothing of it is left to take
  };
  // What came since the last call.
  Batch Take();
  // `ready` runs whenever events wait after none did, and when the
  // subscription is dropped; at once when some wait already. It runs on the
  // publisher's thread, under no lock, and must not block.
  void OnReady(std::function<void()> ready);

 private:
  friend class ServiceEvents;
  explicit EventSubscription(std::size_t limit) : limit_(limit) {}
  // False when the queue is full: the subscriber is dropped instead.
  bool Offer(const ServiceEvent& event, std::function<void()>& ready);

  std::mutex lock_;
  std::size_t limit_;
  std::deque<ServiceEvent> queue_;
  bool dropped_ = false;
  std::function<void()> ready_;
};

struct EventSettings {
  std::size_t history = 256;     // events kept for subscribers coming back
  // Events waiting for one subscriber before it is dropped; below `history`,
  // so that one dropped finds what it missed when it comes back.
  std::size_t queueLimit = 64;
  // The id before the first event; nothing: the wall clock's milliseconds,
  // so that a restarted service hands out ids above those of its last run
  // and a subscriber coming back from that run is told to reset.
  std::optional<uint64_t> lastIdBefore;
};

class ServiceEvents {
 public:
  explicit ServiceEvents(EventSettings settings = {});

  // A new subscriber. With `lastEventId` (the Last-Event-ID of a subscriber
  // coming back) its queue starts with the events after that one, or with a
  // reset event when they are no longer kept or the id is none of ours.
  std::shared_ptr<EventSubscription> Subscribe(const std::optional<std::string>& lastEventId = {});

  void Job(const JobRecord& job);
  void Device(const DeviceView& view);
  // A daily closing the device made by itself (or another program made on it):
  // its info 61 and 63 as now read.
  void Closing(const std::string& device, const std::string& lastClosingDate, const std::string& documentsAtClosing);
  // `data` is JSON on one line; the event's id.
  uint64_t Publish(std::string type, std::string data);

 private:
  EventSettings settings_;
  std::mutex lock_;
  uint64_t lastId_;
  std::deque<ServiceEvent> history_;
  std::vector<std::weak_ptr<EventSubscription>> subscribers_;
};

}  // namespace korvena::service
