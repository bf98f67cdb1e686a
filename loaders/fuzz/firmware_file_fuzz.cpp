// Any file as korvena.fw: the layout check must refuse every file whose size
// fields point past its end, and a file it takes must upload both images
// block by block without reading past the file.
#include <cstdint>
#include <sstream>
#include <string>

#include "korvena/link/virtual_clock.h"
#include "korvena/loaders/firmware_file.h"
#include "korvena/loaders/firmware_upload.h"
#include "korvena/loaders/xmodem_block.h"

namespace {

// A boot loader that takes every whole block at once.
class AcceptingPort final : public korvena::Port {
 public:
  explicit AcceptingPort(korvena::VirtualClock& clock) : clock_(clock) {}
  uint8_t Open(int32_t, int32_t) override { return 1; }
  uint8_t Close() override { return 1; }
  uint8_t Read(uint8_t& byte) override {
    if (!pending_) {
      clock_.Advance(1);
      return 0;
    }
    pending_ = false;
    byte = korvena::loaders::kAck;
    return 1;
  }
  uint8_t Write(const void*, int32_t, int32_t count) override {
    pending_ = count == static_cast<int32_t>(korvena::loaders::kBlockSize);
    return 1;
  }
  void SetPort(int32_t) override {}
  void Flush() override {}

 private:
  korvena::VirtualClock& clock_;
  bool pending_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvena::loaders;
  korvena::loaders::FirmwareFile file;
  file.bytes.assign(reinterpret_cast<const char*>(data), size);
  file.status = CheckFirmwareLayout(file.bytes);
  if (file.status != FirmwareFile::kRead) return 0;
  for (const int number : {1, 2}) {
    const FirmwareImage image = file.Image(number);
    if (image.stored.size() < image.size) __builtin_trap();
    korvena::VirtualClock clock;
    AcceptingPort port(clock);
    std::ostringstream console;
    if (!FirmwareUpload(port, clock, console).Run(image)) __builtin_trap();
  }
  return 0;
}
