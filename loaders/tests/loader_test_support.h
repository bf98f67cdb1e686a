#pragma once
// What the loader tests share: a scratch folder, and a port that records
// every Write call on its way to the real peer.
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "korvena/link/port.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::loaders::testing {

// Passes every call on to `peer` and keeps each Write as (option, bytes).
class RecordingPort final : public Port {
 public:
  explicit RecordingPort(Port& peer) : peer_(peer) {}
  std::vector<std::pair<int32_t, std::string>> writes;

  uint8_t Open(int32_t port, int32_t baud) override { return peer_.Open(port, baud); }
  uint8_t Close() override { return peer_.Close(); }
  uint8_t Read(uint8_t& byte) override { return peer_.Read(byte); }
  uint8_t Write(const void* bytes, int32_t option, int32_t count) override {
    writes.emplace_back(option, std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(count)));
    return peer_.Write(bytes, option, count);
  }
  void SetPort(int32_t baud) override { peer_.SetPort(baud); }
  void Flush() override { peer_.Flush(); }

 private:
  Port& peer_;
};

// A port library whose Open fails with an exception.
class ThrowingPort final : public Port {
 public:
  uint8_t Open(int32_t, int32_t) override { throw std::runtime_error("no such port"); }
  uint8_t Close() override { return 1; }
  uint8_t Read(uint8_t&) override { return 0; }
  uint8_t Write(const void*, int32_t, int32_t) override { return 0; }
  void SetPort(int32_t) override {}
  void Flush() override {}
};

}  // namespace korvena::loaders::testing
