#include "korvena/emulator/fiscal_memory.h"

#include <chrono>

namespace korvena::emu {
namespace {

constexpr char kErased = '\xFF';

void PutBigEndian(std::string& record, uint64_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) record.push_back(static_cast<char>(value >> shift & 0xFF));
}

char Bcd(unsigned value) { return static_cast<char>((value / 10) << 4 | value % 10); }

// Closing k is on the k-th day from 1 January 2015, with figures that vary
// from day to day.
std::string Record(uint32_t closing) {
  using namespace std::chrono;
  const year_month_day date{sys_days{2015y / January / 1} + days{closing - 1}};
  const auto year = static_cast<unsigned>(static_cast<int>(date.year()));
  std::string record;
  PutBigEndian(record, closing, 4);
  record += {Bcd(year / 100), Bcd(year % 100), Bcd(static_cast<unsigned>(date.month())),
             Bcd(static_cast<unsigned>(date.day()))};
  PutBigEndian(record, 150000 + closing * 7919ull % 600000, 4);
  PutBigEndian(record, 40 + closing * 37 % 200, 2);
  record.push_back(static_cast<char>(closing % 5));
  uint8_t sum = 0;
  for (const char c : record) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
  record.push_back(static_cast<char>(static_cast<uint8_t>(256 - sum)));
  return record;
}

}  // namespace

std::string FiscalMemoryImage(std::size_t size) {
  std::string image;
  image.reserve(size);
  for (uint32_t closing = 1; closing <= kRecordedClosings && image.size() < size; ++closing) image += Record(closing);
  image.resize(size, kErased);
  return image;
}

}  // namespace korvena::emu
