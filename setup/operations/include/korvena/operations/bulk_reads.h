#pragma once
// The two bulk reads: the whole fiscal memory, and one SD-card day.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "korvena/operations/outcome.h"

namespace korvena::operations {

inline constexpr uint32_t kFiscalMemoryBytes = 2097152;

struct BulkRead {
  std::string bytes;
  bool stopped = false;  // `stop` ended it; the bytes are incomplete
  bool announced = true;  // for an SD day: the device announced a length above 0
};

// `progress` hears the bytes read so far and how many are expected.
using BulkProgress = std::function<void(std::size_t count, std::size_t expected)>;

// READFP, then up to 2 MiB at the bulk rate, ending after 500 ms without a byte.
BulkRead ReadFiscalMemory(DeviceSession& session, const std::atomic<bool>* stop = nullptr,
                          const BulkProgress& progress = {});

// READSD with `day` as given, the count the device announces, then that
// many bytes. `announced` is false, and nothing is read, when the count is
// 0 or less.
BulkRead ReadSdDay(DeviceSession& session, const std::string& day, const std::atomic<bool>* stop = nullptr,
                   const BulkProgress& progress = {});

}  // namespace korvena::operations
