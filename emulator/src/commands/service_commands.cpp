// The technician's service commands: the device's clock and the date of its
// automatic daily closing, the line speeds, the fiscal emblem for a receipt
// printer type, zeroing the operating memory and pairing a fiscal memory.
// Everything they change lives in the info table, where the info query
// reports it and a saved state keeps it.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "commands/command_families.h"
#include "commands/command_status.h"
#include "korvena/emulator/device.h"
#include "korvena/platform/decimal_text.h"

namespace korvena::emu {
namespace {

constexpr int kInfoClock = 19;
constexpr int kInfoAutomaticClosing = 62;
constexpr int kInfoLineSpeeds = 170;
// Kept for the device's own use and for a saved state; no program reads
// them: how far the device's clock is ahead of the PC's (seconds, signed),
// the printer type of the last emblem loaded, and whether a fiscal memory
// was paired.
constexpr int kInfoClockOffset = 171;
constexpr int kInfoEmblemPrinter = 172;
constexpr int kInfoPairedFiscalMemory = 173;

// The rates the two line-speed indexes stand for.
constexpr uint32_t kLineRates[] = {9600, 14400, 19200, 28800, 38400, 57600, 115200};
constexpr uint64_t kHighestRateIndex = std::size(kLineRates) - 1;
// The device's internal printer line until someone changes it.
constexpr uint32_t kInternalRateIndex = 0;

// Printer types the emblem can be loaded for.
constexpr std::string_view kEmblemPrinters[] = {"1", "3", "4", "5", "6"};

constexpr int64_t kSecondsPerDay = 24 * 60 * 60;

// The operating totals STNGT zeroes: counts become "0", sums "0.00".
constexpr int kFirstTotal = 20;
constexpr int kLastTotal = 57;
constexpr int kInvoiceTotal = 116;
constexpr int kInvoiceCount = 117;
constexpr int kCountInfos[] = {23, 25, 27, 29, 31, 33, 35, 37, 39, 50, 51, kInvoiceCount};

// A date and time as local seconds: seconds since 1 January 1970 on the
// local calendar, no time zone involved, so the offset survives any change
// of the PC's zone or summer time as a plain difference.
int64_t LocalSeconds(const LocalDateTime& time) {
  using namespace std::chrono;
  const sys_days day = year_month_day{year{time.date.year}, month{static_cast<unsigned>(time.date.month)},
                                      std::chrono::day{static_cast<unsigned>(time.date.day)}};
  return day.time_since_epoch().count() * kSecondsPerDay + time.hour * 3600 + time.minute * 60 + time.second;
}

// "dd.mm.yyyy hh:mm:ss", as the device shows dates with a time.
std::string DateTimeText(int64_t localSeconds) {
  using namespace std::chrono;
  const sys_seconds moment{seconds{localSeconds}};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss time{moment - day};
  char text[32];
  std::snprintf(text, sizeof text, "%02u.%02u.%04d %02d:%02d:%02d", static_cast<unsigned>(date.day()),
                static_cast<unsigned>(date.month()), static_cast<int>(date.year()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

int64_t ClockOffset(const DeviceState& state) {
  const auto stored = state.info.find(kInfoClockOffset);
  if (stored == state.info.end()) return 0;
  std::string_view text = stored->second;
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  const auto magnitude = DecimalDigits(text, INT64_MAX);
  if (!magnitude) return 0;
  return negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude);
}

// The device's clock, ticking along with the PC's.
std::string ClockText(Device& device) {
  return DateTimeText(LocalSeconds(device.settings().pcClock()) + ClockOffset(device.state()));
}

std::optional<int> NumberIn(const std::string& text, int lowest, int highest) {
  const auto value = DecimalDigits(text, static_cast<uint64_t>(highest));
  if (!value || static_cast<int>(*value) < lowest) return std::nullopt;
  return static_cast<int>(*value);
}

// The arguments after the password: hour, minute, second, day, month, year.
// nullopt when one is no number, out of its range, or no calendar day.
std::optional<LocalDateTime> DateTimeArguments(const Command& command) {
  const auto hour = NumberIn(command.Arg(1), 0, 23);
  const auto minute = NumberIn(command.Arg(2), 0, 59);
  const auto second = NumberIn(command.Arg(3), 0, 59);
  const auto day = NumberIn(command.Arg(4), 1, 31);
  const auto month = NumberIn(command.Arg(5), 1, 12);
  const auto year = NumberIn(command.Arg(6), 1996, 2099);
  if (!hour || !minute || !second || !day || !month || !year) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                                         std::chrono::day{static_cast<unsigned>(*day)}};
  if (!date.ok()) return std::nullopt;
  return LocalDateTime{{*year, *month, *day}, *hour, *minute, *second};
}

// ESC ";STDATETIME;" password ";" hour ";" minute ";" second ";" day ";"
// month ";" year CR sets the clock, which goes on ticking from there.
void SetClock(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  const auto time = command.ArgCount() == 7 ? DateTimeArguments(command) : std::nullopt;
  if (!time) return Answer(device, kBadArgument);
  const int64_t offset = LocalSeconds(*time) - LocalSeconds(device.settings().pcClock());
  device.state().info[kInfoClockOffset] = std::to_string(offset);
  Answer(device, kDone);
}

// ESC ";STDDATE;" password ";" hour ";" minute ";" second ";" day ";" month
// ";" year CR: when the automatic daily closing falls due.
void SetAutomaticClosing(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  const auto time = command.ArgCount() == 7 ? DateTimeArguments(command) : std::nullopt;
  if (!time) return Answer(device, kBadArgument);
  device.state().info[kInfoAutomaticClosing] = DateTimeText(LocalSeconds(*time));
  Answer(device, kDone);
}

// ESC ";STBRATE;" password ";" p ";" r CR: the PC line goes to rate p, the
// internal printer line to rate r. The answer still goes out at the old
// speed; the device listens at the new one from then on.
void SetLineSpeeds(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  const auto pc = DecimalDigits(command.Arg(1), kHighestRateIndex);
  const auto internal = DecimalDigits(command.Arg(2), kHighestRateIndex);
  if (command.ArgCount() != 3 || !pc || !internal) return Answer(device, kBadArgument);
  Answer(device, kDone);
  device.state().baud = kLineRates[*pc];
  device.state().info[kInfoLineSpeeds] = std::to_string((*pc << 4) | *internal);
}

// ESC ";LOADMF;" password ";" printer type CR.
void LoadEmblem(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  bool known = false;
  for (const std::string_view type : kEmblemPrinters) known = known || command.Arg(1) == type;
  if (command.ArgCount() != 2 || !known) return Answer(device, kBadArgument);
  device.state().info[kInfoEmblemPrinter] = command.Arg(1);
  Answer(device, kDone);
}

// ESC ";STNGT;" password CR zeroes the operating memory: the day's figures
// and the grand totals with their counts. Not while a document is open.
void ZeroOperatingMemory(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  if (command.ArgCount() != 1) return Answer(device, kBadArgument);
  DeviceState& state = device.state();
  SalesRecords& sales = state.sales;
  if (sales.open.kind != OpenDocument::Kind::kNone) return Answer(device, kWrongState);
  for (int info = kFirstTotal; info <= kLastTotal; ++info) state.info[info] = "0.00";
  state.info[kInvoiceTotal] = "0.00";
  for (const int info : kCountInfos) state.info[info] = "0";
  sales.documentsToday = 0;
  Answer(device, kDone);
}

// ESC ";STPAIRFP;" password CR.
void PairFiscalMemory(Device& device, const Command& command) {
  if (!PasswordAccepted(device, command)) return;
  if (command.ArgCount() != 1) return Answer(device, kBadArgument);
  device.state().info[kInfoPairedFiscalMemory] = "1";
  Answer(device, kDone);
}

uint32_t RateIndex(uint32_t baud) {
  for (uint32_t i = 0; i < std::size(kLineRates); ++i)
    if (kLineRates[i] == baud) return i;
  return 0;
}

}  // namespace

void RegisterServiceCommands(Device& device) {
  DeviceState& state = device.state();
  state.info.try_emplace(kInfoClockOffset, "0");
  state.info.try_emplace(kInfoLineSpeeds, std::to_string((RateIndex(state.baud) << 4) | kInternalRateIndex));
  device.RegisterInfoSource(kInfoClock, ClockText);
  device.Register("STDATETIME", SetClock);
  device.Register("STDDATE", SetAutomaticClosing);
  device.Register("STBRATE", SetLineSpeeds);
  device.Register("LOADMF", LoadEmblem);
  device.Register("STNGT", ZeroOperatingMemory);
  device.Register("STPAIRFP", PairFiscalMemory);
}

}  // namespace korvena::emu
