#include "korvena/service/service_events.h"

#include <algorithm>
#include <chrono>
#include <nlohmann/json.hpp>
#include <utility>

#include "encodings/unicode_code_pages.h"
#include "korvena/platform/decimal_text.h"

namespace korvena::service {
namespace {

using Json = nlohmann::ordered_json;

uint64_t WallClockMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
          .count());
}

// One line whatever bytes a device gave: a stray one must not cost the event.
std::string Line(const Json& data) { return data.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace

std::string EventStreamText(const ServiceEvent& event) {
  return "id: " + std::to_string(event.id) + "\nevent: " + event.type + "\ndata: " + event.data + "\n\n";
}

EventSubscription::Batch EventSubscription::Take() {
  const std::lock_guard<std::mutex> hold(lock_);
  Batch batch;
  batch.events.assign(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
  queue_.clear();
  batch.ended = dropped_ && batch.events.empty();
  return batch;
}

void EventSubscription::OnReady(std::function<void()> ready) {
  bool waiting = false;
  {
    const std::lock_guard<std::mutex> hold(lock_);
    ready_ = ready;
    waiting = !queue_.empty() || dropped_;
  }
  if (waiting && ready) ready();
}

bool EventSubscription::Offer(const ServiceEvent& event, std::function<void()>& ready) {
  const std::lock_guard<std::mutex> hold(lock_);
  if (queue_.size() >= limit_) {
    dropped_ = true;
    ready = ready_;
    return false;
  }
  if (queue_.empty()) ready = ready_;
  queue_.push_back(event);
  return true;
}

ServiceEvents::ServiceEvents(EventSettings settings)
    : settings_(settings), lastId_(settings.lastIdBefore.value_or(WallClockMs())) {}

std::shared_ptr<EventSubscription> ServiceEvents::Subscribe(const std::optional<std::string>& lastEventId) {
  std::shared_ptr<EventSubscription> subscription(new EventSubscription(settings_.queueLimit));
  const std::lock_guard<std::mutex> hold(lock_);
  if (lastEventId) {
    const std::optional<uint64_t> seen = DecimalDigits(*lastEventId, UINT64_MAX);
    // What it saw must be ours and what follows it still kept; anything else is a reset.
    if (seen && *seen <= lastId_ && *seen + history_.size() >= lastId_) {
      for (const ServiceEvent& event : history_)
        if (event.id > *seen) subscription->queue_.push_back(event);
    } else {
      subscription->queue_.push_back({lastId_, "reset", "{}"});
    }
    // What it missed is not its falling behind.
    subscription->limit_ += subscription->queue_.size();
  }
  // Those gone are otherwise only swept out by a publication, which may be long in coming.
  subscribers_.erase(std::remove_if(subscribers_.begin(), subscribers_.end(),
                                    [](const std::weak_ptr<EventSubscription>& s) { return s.expired(); }),
                     subscribers_.end());
  subscribers_.push_back(subscription);
  return subscription;
}

uint64_t ServiceEvents::Publish(std::string type, std::string data) {
  std::vector<std::function<void()>> wake;
  uint64_t id = 0;
  {
    const std::lock_guard<std::mutex> hold(lock_);
    id = ++lastId_;
    history_.push_back({id, std::move(type), std::move(data)});
    if (history_.size() > settings_.history) history_.pop_front();
    const ServiceEvent& event = history_.back();
    for (auto it = subscribers_.begin(); it != subscribers_.end();) {
      const std::shared_ptr<EventSubscription> subscriber = it->lock();
      std::function<void()> ready;
      const bool kept = subscriber && subscriber->Offer(event, ready);
      if (ready) wake.push_back(std::move(ready));
      it = kept ? it + 1 : subscribers_.erase(it);
    }
  }
  for (const std::function<void()>& ready : wake) ready();
  return id;
}

void ServiceEvents::Job(const JobRecord& job) {
  Publish("job", Line({{"key", job.key},
                       {"device", job.device},
                       {"kind", job.kind},
                       {"state", JobStateName(job.state)}}));
}

void ServiceEvents::Device(const DeviceView& view) {
  Publish("device", Line({{"id", view.id},
                          {"state", DeviceStateName(view.state)},
                          {"baud", view.baud},
                          {"queueLength", view.queueLength}}));
}

void ServiceEvents::Closing(const std::string& device, const std::string& lastClosingDate,
                            const std::string& documentsAtClosing) {
  // The device's texts are in code page 852, as everywhere else the API shows them.
  Publish("closing", Line({{"device", device},
                           {"lastClosingDate", encodings::CodePage852ToUtf8(lastClosingDate)},
                           {"documentsAtClosing", encodings::CodePage852ToUtf8(documentsAtClosing)}}));
}

}  // namespace korvena::service
