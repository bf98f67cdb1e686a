#include "model/printed_journal.h"

#include <algorithm>
#include <cstdio>

namespace korvena::emu {
namespace {

// Copies reach back this many documents.
constexpr std::size_t kKeptDocuments = 100;

void File(DeviceState& state, int64_t number, std::vector<std::string> lines) {
  SalesRecords& sales = state.sales;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  sales.ldx = text;
  sales.sdDays[SdCardDay(CurrentLocalDate())] += text;
  sales.recent.push_back({number, CurrentSdDay(sales), std::move(lines)});
  if (sales.recent.size() > kKeptDocuments) sales.recent.pop_front();
}

}  // namespace

std::string Columns(std::string left, const std::string& right) {
  const std::size_t room = right.size() < kPaperWidth ? kPaperWidth - right.size() - 1 : 0;
  if (left.size() > room) left.resize(room);
  return left + std::string(kPaperWidth - std::min(kPaperWidth, left.size() + right.size()), ' ') + right;
}

int64_t CurrentSdDay(const SalesRecords& sales) { return sales.closingNumber + 1; }

std::string SdCardDay(const LocalDate& date) {
  char day[16];
  std::snprintf(day, sizeof day, "%04d%02d%02d", date.year % 10000, date.month % 100, date.day % 100);
  return day;
}

void PrintOpenDocumentLine(Device& device, std::string line) {
  device.Print(line);
  device.state().sales.open.lines.push_back(std::move(line));
}

void FileOpenDocument(DeviceState& state, int64_t number) {
  File(state, number, std::move(state.sales.open.lines));
  state.sales.open.lines.clear();
}

void PrintDocument(Device& device, int64_t number, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) device.Print(line);
  File(device.state(), number, lines);
}

}  // namespace korvena::emu
