#include "device_exchange.h"

namespace korvena::kalibro {

uint32_t DeviceExchange::Limit(int32_t units) const { return static_cast<uint32_t>(units * state_.TimeoutUnit); }

std::string DeviceExchange::QueryInfo(int n) {
  if (processPendingMessages_) processPendingMessages_();
  link_.SendText(std::string{kEsc} + ";IV;" + std::to_string(n) + kCr);
  return link_.ReadResponse(Limit(kQueryInfoUnits));
}

bool DeviceExchange::SendCommand(std::string_view frame) {
  if (processPendingMessages_) processPendingMessages_();
  link_.SendText(frame);
  if (link_.ReadResponse(Limit(kSendCommandUnits)) == "0") return true;
  QueryInfo(0);
  return false;
}

}  // namespace korvena::kalibro
