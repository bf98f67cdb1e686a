#pragma once
// What the emulated device keeps of the documents it prints: the receipt or
// invoice being made, the day's closings, the LDX data of the last document
// and the SD card with the printed text of each day. Totals and counters
// that the info query shows (turnover, GT, VAT bases, payments, documents)
// live in the info table and are updated there.
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace korvena::emu {

struct PrintedDocument {
  int64_t number = 0;  // 0 for reports, which carry no document number
  int64_t day = 0;     // the SD-card day it was printed on
  std::vector<std::string> lines;
};

// An item line of the open receipt, as far as a storno has not cancelled it.
struct SoldItem {
  std::string text;
  int64_t priceCents = 0;
  char vatClass = 'A';
  int64_t quantity = 0;  // thousandths still standing
};

struct OpenDocument {
  enum class Kind { kNone, kReceipt, kInvoice };
  Kind kind = Kind::kNone;
  int64_t number = 0;              // the document number it will get
  std::vector<std::string> lines;  // printed so far
  int64_t totalCents = 0;          // to pay, VAT included
  std::vector<SoldItem> items;
  // What the document adds to the info values once it is paid, by info
  // number: amounts in cents, counts.
  std::map<int, int64_t> pendingCents;
  std::map<int, int64_t> pendingCounts;
};

// A daily closing as the device records it for interval reports.
struct DayClosing {
  int64_t number = 0;
  std::string date;       // "dd.mm.yyyy"
  int64_t documents = 0;  // printed on that day
  // The day's figures at the closing, by the info number that showed them:
  // amounts in cents, counts.
  std::map<int, int64_t> figures;

  bool operator==(const DayClosing&) const = default;
};

struct SalesRecords {
  OpenDocument open;

  int64_t closingNumber = 0;  // of the last daily closing
  int64_t documentsToday = 0;
  std::vector<DayClosing> closings;  // oldest first

  std::deque<PrintedDocument> recent;  // the last documents, for copies
  std::string ldx;                     // LDX data of the last LDX-producing command
  // The SD card: the text printed on each day, by day number (the number of
  // the daily closing that ends it).
  std::map<std::string, std::string> sdDays;
};

}  // namespace korvena::emu
