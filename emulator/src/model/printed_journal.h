#pragma once
// The paper: every document the sales commands print goes line by line to
// the device's journal, and once finished it becomes the LDX data that
// GETLDX sends, part of the SD card's current day, and a kept document for
// copies.
#include <cstdint>
#include <string>

#include "korvena/platform/local_date.h"
#include <vector>

#include "korvena/emulator/device.h"

namespace korvena::emu {

inline constexpr std::size_t kPaperWidth = 40;
inline const std::string kRule(kPaperWidth, '-');        // between the parts of a document
inline const std::string kDoubleRule(kPaperWidth, '=');  // at its top and bottom

// `left` and `right` on one line of the paper, `left` cut when both do not fit.
std::string Columns(std::string left, const std::string& right);

// The business day documents are printed on now, for the copies: the number
// of the daily closing that will end it.
int64_t CurrentSdDay(const SalesRecords& sales);

// The SD card keeps each calendar day's printout under its date, "yyyymmdd",
// the way READSD asks for it (the service program asks for yyyymmdd).
std::string SdCardDay(const LocalDate& date);

// A line of the open document: on the paper at once, kept for its filing.
void PrintOpenDocumentLine(Device& device, std::string line);

// Files the open document's printed lines as the document `number`.
void FileOpenDocument(DeviceState& state, int64_t number);

// Prints and files a whole document; `number` is 0 for reports and copies,
// which carry no document number.
void PrintDocument(Device& device, int64_t number, const std::vector<std::string>& lines);

}  // namespace korvena::emu
