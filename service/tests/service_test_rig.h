#pragma once
// The in-process emulated device on a virtual clock behind the service's
// device channel, a journal in a scratch folder, and a channel that spoils
// one chosen exchange the way a deaf or mute device or a bare CR would.
#include <memory>
#include <string>

#include "korvena/emulator/device.h"
#include "korvena/emulator/emulated_port.h"
#include "korvena/platform/scratch_folder.h"
#include "korvena/service/device_channel.h"
#include "korvena/service/job_journal.h"

namespace korvena::service {

enum class Fault { kNone, kDeaf, kMute, kBareCr };

// Spoils the `occurrence`-th exchange (from 1) of command `name`.
class FaultyChannel final : public DeviceChannel {
 public:
  explicit FaultyChannel(DeviceChannel& inner);
  void Spoil(std::string name, int occurrence, Fault fault);

  bool Connect() override { return inner_.Connect(); }
  void Close() override { inner_.Close(); }
  int32_t baud() const override { return inner_.baud(); }
  LineAnswer Exchange(std::string_view frame, uint32_t limitMs) override;
  std::optional<std::string> QueryInfo(int n) override { return inner_.QueryInfo(n); }
  std::optional<std::string> FetchLdx() override { return inner_.FetchLdx(); }

 private:
  DeviceChannel& inner_;
  std::string name_;
  int occurrence_ = 0;
  int seen_ = 0;
  Fault fault_ = Fault::kNone;
};

struct ServiceRig {
  ServiceRig();
  // A new channel and journal over the same device and files, as after a restart.
  void Restart();
  std::string Info(int n) { return device.state().info[n]; }
  // How many printed lines contain `text`.
  int Printed(const std::string& text) const;

  ScratchFolder folder;
  emu::Device device;
  VirtualClock clock;
  emu::EmulatedPort port{device, clock};
  std::unique_ptr<DeviceChannel> driverChannel;
  std::unique_ptr<FaultyChannel> channel;
  std::unique_ptr<JobJournal> journal;
};

}  // namespace korvena::service
