#include "service_test_rig.h"

#include <gtest/gtest.h>

#include "korvena/protocol/frame.h"

namespace korvena::service {

FaultyChannel::FaultyChannel(DeviceChannel& inner) : inner_(inner) {
  inner_.onFrameWritten = [this](std::string_view frame) {
    if (onFrameWritten) onFrameWritten(frame);
  };
}

void FaultyChannel::Spoil(std::string name, int occurrence, Fault fault) {
  name_ = std::move(name);
  occurrence_ = occurrence;
  fault_ = fault;
  seen_ = 0;
}

LineAnswer FaultyChannel::Exchange(std::string_view frame, uint32_t limitMs) {
  if (fault_ == Fault::kNone || protocol::CommandField(frame.substr(0, frame.size() - 1), 1) != name_ ||
      ++seen_ != occurrence_)
    return inner_.Exchange(frame, limitMs);
  const Fault fault = fault_;
  fault_ = Fault::kNone;
  if (fault == Fault::kDeaf) return {"", true};
  inner_.Exchange(frame, limitMs);  // the device takes it; its answer is lost, or was a bare CR
  return {"", fault == Fault::kMute};
}

ServiceRig::ServiceRig() {
  device.settings().pcClock = [] { return LocalDateTime{{2026, 12, 8}, 10, 0, 0}; };
  Restart();
}

void ServiceRig::Restart() {
  channel.reset();
  driverChannel = MakeDriverChannel(port, clock, {1, 100, folder / "COM1.ini"});
  channel = std::make_unique<FaultyChannel>(*driverChannel);
  journal.reset();
  journal = std::make_unique<JobJournal>(folder / "journal.db", [] { return int64_t{1'800'000'000'000}; });
  EXPECT_TRUE(channel->Connect());
}

int ServiceRig::Printed(const std::string& text) const {
  int count = 0;
  for (const std::string& line : device.journal())
    if (line.find(text) != std::string::npos) ++count;
  return count;
}

}  // namespace korvena::service
