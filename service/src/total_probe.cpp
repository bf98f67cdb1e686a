#include "korvena/service/total_probe.h"

#include <algorithm>

#include "korvena/operations/amount_field.h"
#include "korvena/protocol/frame.h"

namespace korvena::service {

std::optional<int64_t> SeparatingCardAmount(int64_t a, int64_t b) {
  const int64_t floor = std::max<int64_t>(std::min(a, b), 0);
  const int64_t ceiling = std::max(a, b);
  if (ceiling - floor < 2) return std::nullopt;
  return floor + (ceiling - floor) / 2;
}

std::string CardProbeFrame(int64_t cents) { return protocol::CommandFrame("K", {"", operations::MoneyText(cents)}); }

std::string OpenReceiptProbeFrame() { return protocol::CommandFrame("K", {"-1"}); }

}  // namespace korvena::service
