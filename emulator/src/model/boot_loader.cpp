#include "model/boot_loader.h"

#include <array>

#include "persistence/load_dump.h"

namespace korvena::emu {
namespace {

constexpr uint8_t kSoh = 0x01;
constexpr uint8_t kEot = 0x04;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr char kReady = 'C';
constexpr std::size_t kDataSize = 128;

uint8_t ConnectByteOf(Processor processor) { return processor == Processor::kMega1281 ? 102 : 100; }

// CRC-16/XMODEM by table, worked out once.
constexpr std::array<uint16_t, 256> MakeCrcTable() {
  std::array<uint16_t, 256> table{};
  for (uint32_t high = 0; high < 256; ++high) {
    uint32_t crc = high << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
    table[high] = static_cast<uint16_t>(crc);
  }
  return table;
}

uint16_t BlockCrc(std::string_view data) {
  static constexpr std::array<uint16_t, 256> kTable = MakeCrcTable();
  uint16_t crc = 0;
  for (const char c : data) crc = static_cast<uint16_t>((crc << 8) ^ kTable[((crc >> 8) ^ static_cast<uint8_t>(c)) & 0xFF]);
  return crc;
}

void SendByte(Device& device, uint8_t byte) { device.Send(std::string(1, static_cast<char>(byte))); }

}  // namespace

void EnterBootLoader(Device& device) {
  device.state().baud = kBootLoaderBaud;
  device.SetInputMode(std::make_unique<BootLoader>());
}

void BootLoader::Receive(Device& device, uint8_t byte) {
  if (device.settings().loader.silentBootLoader) return;
  if (received_ > 0) {
    block_[received_++] = byte;
    if (received_ == kBootBlockSize) {
      received_ = 0;
      TakeBlock(device);
    }
    return;
  }
  if (byte == ConnectByteOf(device.settings().loader.processor)) {
    connected_ = true;
    device.Send(std::string(1, kReady));
  } else if (connected_ && byte == kSoh) {
    block_[received_++] = byte;
  } else if (connected_ && byte == kEot) {
    Finish(device);
  }
  // Anything else, such as the other processor's connect byte, goes unanswered.
}

bool BootLoader::RefuseThisTry(const Device& device) {
  const LoaderSettings& settings = device.settings().loader;
  if (settings.nakBlock != 0 && settings.nakBlock != position_) return false;
  return refusedTries_ < settings.nakStorm;
}

void BootLoader::Refuse(Device& device) {
  ++device.state().loader.blocksRefused;
  SendByte(device, kNak);
}

void BootLoader::TakeBlock(Device& device) {
  const uint8_t number = block_[1];
  const uint8_t complement = block_[2];
  const std::string_view data(reinterpret_cast<const char*>(block_.data()) + 3, kDataSize);
  const auto crc = static_cast<uint16_t>(block_[kBootBlockSize - 2] << 8 | block_[kBootBlockSize - 1]);
  const bool intact = static_cast<uint8_t>(number ^ 0xFF) == complement && BlockCrc(data) == crc;
  // The block before the expected one again: its ACK was lost, so it is
  // acknowledged once more and not stored twice.
  if (intact && number == static_cast<uint8_t>(expected_ - 1) && position_ > 1) {
    SendByte(device, kAck);
    return;
  }
  if (!intact || number != expected_) {
    Refuse(device);
    return;
  }
  if (RefuseThisTry(device)) {
    ++refusedTries_;
    Refuse(device);
    return;
  }
  data_.append(data);
  ++expected_;
  ++position_;
  refusedTries_ = 0;
  SendByte(device, kAck);
}

void BootLoader::Finish(Device& device) {
  SendByte(device, kAck);
  LoaderState& state = device.state().loader;
  state.firmware = std::move(data_);
  ++state.firmwareTransfers;
  DumpLoad(device, "firmware.bin", state.firmware);
  // The new firmware starts and talks at the device's own speed again.
  device.state().baud = device.settings().baud;
  device.SetInputMode(nullptr);  // destroys this object: nothing may follow
}

}  // namespace korvena::emu
