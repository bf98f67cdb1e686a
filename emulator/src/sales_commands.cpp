// Receipts, invoices, cash movements, reports and copies: a modest model of
// the fiscal logic, enough for the answers applications rely on and for a
// journal a person can read. Every printout becomes the device's LDX data and
// goes onto the SD card's current day.
//
// Answers: "0" done; "1" a bad or missing argument; "2" not now (no document
// open, or one is open already); "3" the payments do not cover the total.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "command_families.h"
#include "command_status.h"
#include "korvena/emulator/device.h"

namespace korvena::emu {
namespace {

constexpr std::size_t kPaperWidth = 40;
constexpr std::size_t kRecentDocuments = 100;
constexpr double kLargestNumber = 1e7;  // quantities, prices and amounts beyond are refused
// MIP and MDP acknowledge once the report has left the printer.
constexpr uint32_t kPrintingMs = 200;

// Info numbers the model keeps up to date.
constexpr int kInfoTurnover = 20;
constexpr int kInfoDeposits = 36;
constexpr int kInfoDepositCount = 37;
constexpr int kInfoWithdrawals = 38;
constexpr int kInfoWithdrawalCount = 39;
constexpr int kInfoDocuments = 50;
constexpr int kInfoReceipts = 51;
constexpr int kInfoDocumentsAtClosing = 63;

const std::string kRule(kPaperWidth, '-');
const std::string kDoubleRule(kPaperWidth, '=');

using OpenDocument = SalesRecords::OpenDocument;

int64_t SaturatingAdd(int64_t a, int64_t b) {
  int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return b > 0 ? INT64_MAX : INT64_MIN;
  return sum;
}

// A number in the C library's notation: leading blanks, a sign, decimal
// digits with a point and an exponent ("-2.5", "1e2") or "0x" and
// hexadecimal ones. Always with a decimal point, whatever the process
// locale says: a program that embeds the device may set a decimal-comma one.
std::optional<double> ParseNumber(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  auto format = std::chars_format::general;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    format = std::chars_format::hex;
    text.remove_prefix(2);
  }
  // from_chars takes a minus sign of its own, which would make "--1" a number.
  if (text.empty() || text.front() == '-') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, format);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

// A decimal number text ("1.000", "-2.5", "1e2") in units of 1/scale.
std::optional<int64_t> Decimal(const std::string& text, double scale) {
  const auto value = ParseNumber(text);
  if (!value || !std::isfinite(*value) || std::fabs(*value) > kLargestNumber) return std::nullopt;
  return std::llround(*value * scale);
}

// A whole number from `lowest` to `highest`, digits only.
std::optional<int64_t> Whole(const std::string& text, int64_t lowest, int64_t highest) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < lowest || value > highest) return std::nullopt;
  return value;
}

std::string Fixed(int64_t units, int decimals) {
  int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  char text[48];
  std::snprintf(text, sizeof text, "%s%llu.%0*llu", units < 0 ? "-" : "",
                static_cast<unsigned long long>(magnitude / scale), decimals,
                static_cast<unsigned long long>(magnitude % scale));
  return text;
}

std::string Money(int64_t cents) { return Fixed(cents, 2); }

// `left` and `right` on one line of the paper, `left` cut when both do not fit.
std::string Columns(std::string left, const std::string& right) {
  const std::size_t room = right.size() < kPaperWidth ? kPaperWidth - right.size() - 1 : 0;
  if (left.size() > room) left.resize(room);
  return left + std::string(kPaperWidth - std::min(kPaperWidth, left.size() + right.size()), ' ') + right;
}

int64_t InfoNumber(const DeviceState& state, int number) {
  const auto value = state.info.find(number);
  if (value == state.info.end()) return 0;
  return Decimal(value->second, 1).value_or(0);
}

int64_t InfoCents(const DeviceState& state, int number) {
  const auto value = state.info.find(number);
  if (value == state.info.end()) return 0;
  return Decimal(value->second, 100).value_or(0);
}

void AddToInfo(DeviceState& state, int number, int64_t cents) {
  state.info[number] = Money(SaturatingAdd(InfoCents(state, number), cents));
}

void CountInInfo(DeviceState& state, int number) {
  state.info[number] = std::to_string(InfoNumber(state, number) + 1);
}

int64_t CurrentDay(const SalesRecords& sales) { return sales.closingNumber + 1; }

// A finished printout: the LDX data, the SD card and the documents kept for copies.
void File(DeviceState& state, int64_t number, std::vector<std::string> lines) {
  SalesRecords& sales = state.sales;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  sales.ldx = text;
  sales.sdDays[std::to_string(CurrentDay(sales))] += text;
  sales.recent.push_back({number, CurrentDay(sales), std::move(lines)});
  if (sales.recent.size() > kRecentDocuments) sales.recent.pop_front();
}

void PrintAll(Device& device, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) device.Print(line);
}

// Lines of the open document go to the paper at once.
void PrintLine(Device& device, std::string line) {
  device.Print(line);
  device.state().sales.lines.push_back(std::move(line));
}

int64_t OpenNewDocument(Device& device, OpenDocument kind) {
  SalesRecords& sales = device.state().sales;
  sales.open = kind;
  sales.openNumber = InfoNumber(device.state(), kInfoDocuments) + 1;
  sales.lines.clear();
  sales.totalCents = 0;
  return sales.openNumber;
}

void CountDocument(DeviceState& state, int64_t number) {
  state.info[kInfoDocuments] = std::to_string(number);
  state.info[kInfoReceipts] = std::to_string(number);
  ++state.sales.documentsToday;
}

// ESC ";S;" mode
void StartReceipt(Device& device, const Command& command) {
  if (device.state().sales.open != OpenDocument::kNone) return Answer(device, kWrongState);
  const auto mode = Whole(command.Arg(0), 0, 4);
  if (!mode) return Answer(device, kBadArgument);
  const int64_t number = OpenNewDocument(device, OpenDocument::kReceipt);
  PrintLine(device, kDoubleRule);
  PrintLine(device, Columns("POKLADNICNY DOKLAD c. " + std::to_string(number),
                            std::string("MOD ") + static_cast<char>('A' + *mode)));
  PrintLine(device, kRule);
  Answer(device, kDone);
}

// ESC ";F;" amount ";" text
void StartInvoice(Device& device, const Command& command) {
  if (device.state().sales.open != OpenDocument::kNone) return Answer(device, kWrongState);
  const auto amount = Decimal(command.Arg(0), 100);
  if (!amount) return Answer(device, kBadArgument);
  const int64_t number = OpenNewDocument(device, OpenDocument::kInvoice);
  device.state().sales.totalCents = *amount;
  PrintLine(device, kDoubleRule);
  PrintLine(device, "FAKTURA c. " + std::to_string(number));
  if (!command.Arg(1).empty()) PrintLine(device, command.Arg(1));
  PrintLine(device, Columns("SUMA FAKTURY", Money(*amount)));
  PrintLine(device, kRule);
  Answer(device, kDone);
}

struct LineKind {
  const char* name;
  int sign;
  const char* label;  // printed before the text
};
constexpr LineKind kLineKinds[] = {
    {"L", 1, ""},           {"LS", -1, "STORNO "},           {"LZ", -1, "ZLAVA "},
    {"LP", 1, "PRIRAZKA "}, {"LM", -1, "ZAPORNA POLOZKA "}, {"LV", -1, "VRATENY TOVAR "},
};

// ESC ";" kind ";" quantity ";" unit price ";" VAT letter ";" text
void AddLine(Device& device, const Command& command, const LineKind& kind) {
  SalesRecords& sales = device.state().sales;
  if (sales.open == OpenDocument::kNone) return Answer(device, kWrongState);
  const auto quantity = Decimal(command.Arg(0), 1000);
  const auto price = Decimal(command.Arg(1), 100);
  const std::string& vat = command.Arg(2);
  if (!quantity || !price || vat.size() != 1 || vat[0] < 'A' || vat[0] > 'I') return Answer(device, kBadArgument);
  const int64_t amount = kind.sign * std::llround(static_cast<double>(*quantity) * static_cast<double>(*price) / 1000.0);
  sales.totalCents = SaturatingAdd(sales.totalCents, amount);
  PrintLine(device, std::string(kind.label) + command.Arg(3));
  PrintLine(device, Columns("  " + Fixed(*quantity, 3) + " x " + Money(*price), Money(amount) + " " + vat));
  Answer(device, kDone);
}

const char* const kPaymentNames[] = {"HOTOVOST", "KARTA", "UVER", "FAKTURA", "PLATIDLO 5", "PLATIDLO 6"};

// ESC ";K;" (or ";KF;") and six payment amounts; a missing one counts as 0.
void CloseDocument(Device& device, const Command& command, OpenDocument kind) {
  DeviceState& state = device.state();
  SalesRecords& sales = state.sales;
  if (sales.open != kind) return Answer(device, kWrongState);
  int64_t payments[6] = {};
  int64_t paid = 0;
  for (std::size_t i = 0; i < 6; ++i) {
    if (command.Arg(i).empty()) continue;
    const auto amount = Decimal(command.Arg(i), 100);
    if (!amount || *amount < 0) return Answer(device, kBadArgument);
    payments[i] = *amount;
    paid = SaturatingAdd(paid, *amount);
  }
  if (paid < sales.totalCents) return Answer(device, kPaymentShort);
  PrintLine(device, kRule);
  PrintLine(device, Columns("SPOLU", Money(sales.totalCents)));
  for (std::size_t i = 0; i < 6; ++i)
    if (payments[i] != 0) PrintLine(device, Columns(kPaymentNames[i], Money(payments[i])));
  if (paid > sales.totalCents) PrintLine(device, Columns("VYDAVOK", Money(paid - sales.totalCents)));
  PrintLine(device, kDoubleRule);

  sales.dayTotalCents = SaturatingAdd(sales.dayTotalCents, sales.totalCents);
  AddToInfo(state, kInfoTurnover, sales.totalCents);
  CountDocument(state, sales.openNumber);
  File(state, sales.openNumber, std::move(sales.lines));
  sales.lines.clear();
  sales.open = OpenDocument::kNone;
  Answer(device, kDone);
}

// ESC ";V;" amount: a deposit, or with a minus sign a withdrawal.
void MoveCash(Device& device, const Command& command) {
  DeviceState& state = device.state();
  SalesRecords& sales = state.sales;
  if (sales.open != OpenDocument::kNone) return Answer(device, kWrongState);
  const auto amount = Decimal(command.Arg(0), 100);
  if (!amount) return Answer(device, kBadArgument);
  const bool deposit = *amount >= 0;
  const int64_t cents = deposit ? *amount : -*amount;
  const int64_t number = InfoNumber(state, kInfoDocuments) + 1;
  const std::vector<std::string> lines = {
      kDoubleRule,
      (deposit ? "PRIJMOVY DOKLAD c. " : "VYDAVKOVY DOKLAD c. ") + std::to_string(number),
      Columns(deposit ? "VKLAD" : "VYBER", Money(cents)),
      kDoubleRule,
  };
  PrintAll(device, lines);
  AddToInfo(state, deposit ? kInfoDeposits : kInfoWithdrawals, cents);
  CountInInfo(state, deposit ? kInfoDepositCount : kInfoWithdrawalCount);
  int64_t& dayCash = deposit ? sales.dayDepositsCents : sales.dayWithdrawalsCents;
  dayCash = SaturatingAdd(dayCash, cents);
  CountDocument(state, number);
  File(state, number, lines);
  Answer(device, kDone);
}

std::vector<std::string> DayReport(const SalesRecords& sales, const std::string& title) {
  return {kDoubleRule,
          title,
          kRule,
          Columns("Pocet dokladov", std::to_string(sales.documentsToday)),
          Columns("Obrat", Money(sales.dayTotalCents)),
          Columns("Vklady", Money(sales.dayDepositsCents)),
          Columns("Vybery", Money(sales.dayWithdrawalsCents)),
          kDoubleRule};
}

// ESC ";DX": the running daily report.
void RunningReport(Device& device, const Command&) {
  SalesRecords& sales = device.state().sales;
  if (sales.open != OpenDocument::kNone) return Answer(device, kWrongState);
  const auto lines = DayReport(sales, "PRIEBEZNA UZAVIERKA (X)");
  PrintAll(device, lines);
  File(device.state(), 0, lines);
  Answer(device, kDone);
}

// ESC ";DZ": the final daily closing; a new SD-card day begins after it.
void DailyClosing(Device& device, const Command&) {
  DeviceState& state = device.state();
  SalesRecords& sales = state.sales;
  if (sales.open != OpenDocument::kNone) return Answer(device, kWrongState);
  const auto lines = DayReport(sales, "DENNA UZAVIERKA (Z) c. " + std::to_string(sales.closingNumber + 1));
  PrintAll(device, lines);
  File(state, 0, lines);
  state.info[kInfoDocumentsAtClosing] = std::to_string(InfoNumber(state, kInfoDocuments));
  ++sales.closingNumber;
  sales.documentsToday = 0;
  sales.dayTotalCents = sales.dayDepositsCents = sales.dayWithdrawalsCents = 0;
  Answer(device, kDone);
}

// The closing numbers a..b of ESC ";MI;" a ";" b, or nullopt.
std::optional<std::pair<int64_t, int64_t>> ClosingNumbers(const Command& command) {
  const auto first = Whole(command.Arg(0), 1, 999999);
  const auto last = Whole(command.Arg(1), 1, 999999);
  if (!first || !last || *first > *last) return std::nullopt;
  return std::make_pair(*first, *last);
}

// The two dates of ESC ";MD;" d ";" m ";" y ";" d ";" m ";" y as printed, or nullopt.
std::optional<std::pair<std::string, std::string>> ClosingDates(const Command& command) {
  std::string dates[2];
  for (int d = 0; d < 2; ++d) {
    const auto day = Whole(command.Arg(d * 3), 1, 31);
    const auto month = Whole(command.Arg(d * 3 + 1), 1, 12);
    const auto year = Whole(command.Arg(d * 3 + 2), 1990, 2999);
    if (!day || !month || !year) return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", static_cast<int>(*day), static_cast<int>(*month),
                  static_cast<int>(*year));
    dates[d] = text;
  }
  return std::make_pair(dates[0], dates[1]);
}

// MI, MD, MIP, MDP: the interval report; the P forms acknowledge after printing.
void IntervalReport(Device& device, const Command& command, bool byDates, bool acknowledged) {
  SalesRecords& sales = device.state().sales;
  const auto answer = [&](const char* text) {
    if (acknowledged)
      device.Send(std::string(text) + "\r", 0, kPrintingMs);
    else
      device.Reply(text);
  };
  if (sales.open != OpenDocument::kNone) return answer(kWrongState);
  std::optional<std::pair<std::string, std::string>> range;
  if (byDates)
    range = ClosingDates(command);
  else if (const auto numbers = ClosingNumbers(command))
    range = {"uzavierka c. " + std::to_string(numbers->first), "uzavierka c. " + std::to_string(numbers->second)};
  if (!range) return answer(kBadArgument);
  const std::vector<std::string> lines = {kDoubleRule,
                                          byDates ? "INTERVALOVA UZAVIERKA (DATUMY)" : "INTERVALOVA UZAVIERKA (CISLA)",
                                          kRule,
                                          Columns("od", range->first),
                                          Columns("do", range->second),
                                          kDoubleRule};
  PrintAll(device, lines);
  File(device.state(), 0, lines);
  answer(kDone);
}

// Copies of documents kept in the device: C and CQ the last one, CDI and
// CDIM those with numbers a..b, CDD and CDDM those of the given dates (the
// model has no calendar, so these are the documents of the current day).
void PrintCopies(Device& device, const Command& command, char selection) {
  DeviceState& state = device.state();
  SalesRecords& sales = state.sales;
  if (sales.open != OpenDocument::kNone) return Answer(device, kWrongState);
  std::vector<const PrintedDocument*> chosen;
  if (selection == 'L') {
    for (auto it = sales.recent.rbegin(); it != sales.recent.rend() && chosen.empty(); ++it)
      if (it->number != 0) chosen.push_back(&*it);
  } else {
    const auto numbers = selection == 'I' ? ClosingNumbers(command) : std::nullopt;
    if (selection == 'I' ? !numbers : !ClosingDates(command)) return Answer(device, kBadArgument);
    for (const PrintedDocument& document : sales.recent) {
      if (document.number == 0) continue;
      if (selection == 'I' ? document.number >= numbers->first && document.number <= numbers->second
                           : document.day == CurrentDay(sales))
        chosen.push_back(&document);
    }
  }
  if (chosen.empty()) return Answer(device, kWrongState);
  std::vector<std::string> lines = {Columns("*** KOPIA ***", "")};
  for (const PrintedDocument* document : chosen) lines.insert(lines.end(), document->lines.begin(), document->lines.end());
  PrintAll(device, lines);
  File(state, 0, lines);
  Answer(device, kDone);
}

}  // namespace

void RegisterSalesCommands(Device& device) {
  device.Register("S", StartReceipt);
  device.Register("F", StartInvoice);
  for (const LineKind& kind : kLineKinds)
    device.Register(kind.name, [&kind](Device& d, const Command& c) { AddLine(d, c, kind); });
  device.Register("K", [](Device& d, const Command& c) { CloseDocument(d, c, OpenDocument::kReceipt); });
  device.Register("KF", [](Device& d, const Command& c) { CloseDocument(d, c, OpenDocument::kInvoice); });
  device.Register("V", MoveCash);
  device.Register("DX", RunningReport);
  device.Register("DZ", DailyClosing);
  device.Register("MI", [](Device& d, const Command& c) { IntervalReport(d, c, false, false); });
  device.Register("MD", [](Device& d, const Command& c) { IntervalReport(d, c, true, false); });
  device.Register("MIP", [](Device& d, const Command& c) { IntervalReport(d, c, false, true); });
  device.Register("MDP", [](Device& d, const Command& c) { IntervalReport(d, c, true, true); });
  for (const char* name : {"C", "CQ"})
    device.Register(name, [](Device& d, const Command& c) { PrintCopies(d, c, 'L'); });
  for (const char* name : {"CDI", "CDIM"})
    device.Register(name, [](Device& d, const Command& c) { PrintCopies(d, c, 'I'); });
  for (const char* name : {"CDD", "CDDM"})
    device.Register(name, [](Device& d, const Command& c) { PrintCopies(d, c, 'D'); });
}

}  // namespace korvena::emu
