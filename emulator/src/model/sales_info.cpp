#include "model/sales_info.h"

#include <string>

#include "model/sales_numbers.h"

namespace korvena::emu {
namespace {

const std::string* InfoText(const DeviceState& state, int number) {
  const auto value = state.info.find(number);
  return value == state.info.end() ? nullptr : &value->second;
}

}  // namespace

int64_t InfoCount(const DeviceState& state, int number) {
  const std::string* text = InfoText(state, number);
  return text ? Whole(*text, 0, INT64_MAX).value_or(0) : 0;
}

int64_t InfoCents(const DeviceState& state, int number) {
  const std::string* text = InfoText(state, number);
  return text ? ParseCents(*text).value_or(0) : 0;
}

void AddToInfoCents(DeviceState& state, int number, int64_t cents) {
  state.info[number] = Money(SaturatingAdd(InfoCents(state, number), cents));
}

void AddToInfoCount(DeviceState& state, int number, int64_t count) {
  state.info[number] = std::to_string(SaturatingAdd(InfoCount(state, number), count));
}

int64_t VatCoefficient(const DeviceState& state, int rate) {
  // The device takes no coefficient above 100 %; one put in the table by
  // other means is held there rather than overflowing the VAT arithmetic.
  constexpr int64_t kLargest = 10000;
  if (rate < 1 || rate > kVatRates) return 0;
  const int64_t coefficient = InfoCount(state, kInfoVatCoefficient1 + rate - 1);
  return coefficient < kLargest ? coefficient : kLargest;
}

}  // namespace korvena::emu
