#pragma once
// What the emulated device keeps of the documents it prints: the receipt or
// invoice being made, the day's figures, the LDX data of the last document
// and the SD card with the printed text of each day. Totals and counters
// that the info query shows (deposits, documents, turnover) live in the info
// table and are updated there.
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

struct SalesRecords {
  enum class OpenDocument { kNone, kReceipt, kInvoice };
  OpenDocument open = OpenDocument::kNone;
  int64_t openNumber = 0;          // document number of the open document
  std::vector<std::string> lines;  // printed so far of the open document
  int64_t totalCents = 0;          // of the open document

  int64_t closingNumber = 0;  // of the last daily closing
  int64_t documentsToday = 0;
  int64_t dayTotalCents = 0;
  int64_t dayDepositsCents = 0;
  int64_t dayWithdrawalsCents = 0;

  std::deque<PrintedDocument> recent;  // the last documents, for copies
  std::string ldx;                     // LDX data of the last LDX-producing command
  // The SD card: the text printed on each day, by day number (the number of
  // the daily closing that ends it).
  std::map<std::string, std::string> sdDays;
};

}  // namespace korvena::emu
