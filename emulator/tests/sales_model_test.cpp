// The device's sales model as the info query shows it: receipts with every
// line kind and VAT class, invoices, payments, cash movements, the daily
// closing and interval reports over the recorded closings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "korvena/emulator/device.h"
#include "korvena/platform/local_date.h"

namespace korvena::emu {
namespace {

std::string Ask(Device& device, const std::string& command) {
  device.Receive("\x1b;" + command + "\r", device.state().baud);
  std::string answer;
  while (device.HasOutput()) answer += device.TakeOutput().bytes;
  return answer;
}

std::string DateText(const LocalDate& date, char separator) {
  char text[40];
  std::snprintf(text, sizeof text, "%02d%c%02d%c%04d", date.day, separator, date.month, separator, date.year);
  return text;
}

LocalDate Tomorrow(LocalDate date) {
  static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = date.year % 4 == 0 && (date.year % 100 != 0 || date.year % 400 == 0);
  const int days = date.month == 2 && leap ? 29 : kMonthDays[date.month - 1];
  if (++date.day <= days) return date;
  date.day = 1;
  if (++date.month <= 12) return date;
  date.month = 1;
  ++date.year;
  return date;
}

// The fresh device's figures (see src/model/setup_info_values.cpp): turnover 14884.55,
// GTpl 14971.85 [1843], 1862 documents, VAT coefficients 20 % and 10 %.
TEST(SalesModel, KeepsTheInfoValuesUpToDate) {
  const LocalDate today = CurrentLocalDate();
  const std::string todayFields = DateText(today, ';');
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> steps;  // command, answer
    std::vector<std::pair<int, std::string>> info;            // info values afterwards
  } cases[] = {
      {"every line kind and VAT class",
       {{"S;0", "0"},
        {"L;2;10.00;B;Syr", "0"},         // 20.00 + 20 % = 24.00
        {"L;1;11.00;D;Vino", "0"},        // 11.00 with 20 %: 9.17 + 1.83
        {"L;3;1.00;E;Mlieko", "0"},       // 3.00 with 10 %: 2.73 + 0.27
        {"LS;1;10.00;B;Syr", "0"},        // -12.00
        {"LZ;1;0.50;A;Zlava", "0"},       // -0.50
        {"LP;1;1.00;C;Obal", "0"},        // 1.00 + 10 % = 1.10
        {"LM;1;2.00;F;Zaloha", "0"},      // -2.00 - 5 % = -2.10
        {"LV;1;5.00;A;Vratene", "0"},     // -5.00; 19.50 in all
        {"K;20", "0"}},
       {{20, "14904.05"}, {21, "-332.00"},   // turnover: net, the negative lines
        {30, "15009.85"}, {31, "1846"},      // GTpl
        {24, "-204.40"}, {25, "8"},          // GTst
        {26, "-0.50"}, {27, "1"},            // GTzl
        {28, "86.40"}, {29, "13"},           // GTpr
        {22, "-122.10"}, {23, "5"},          // GTmi
        {32, "-63.70"}, {33, "4"},           // GTvt
        {116, "2340.00"}, {117, "6"},        // GTfa untouched
        {40, "-5.50"}, {41, "10269.17"}, {42, "2053.83"}, {43, "2353.32"}, {44, "235.33"},
        {45, "-2.00"}, {46, "-0.10"}, {47, "0.00"}, {48, "0.00"},
        {52, "12329.75"},                    // 20 paid in cash, 0.50 given back
        {50, "1863"}, {51, "1863"}}},
      {"an invoice counts in GTfa and the payments only",
       {{"F;100.00;Firma s.r.o.", "0"}, {"L;1;1;A;x", "2"}, {"K;100", "2"}, {"KF;0;0;0;100", "0"}},
       {{116, "2440.00"}, {117, "7"}, {55, "100.00"}, {20, "14884.55"}, {41, "10250.00"}, {50, "1863"}, {51, "1863"}}},
      {"storno cancels only what was sold, and only once",
       {{"S;0", "0"},
        {"L;1;2.00;A;x", "0"},
        {"LS;2;2.00;A;x", "1"},
        {"LS;1;2.00;A;y", "1"},
        {"LS;1;2.00;B;x", "1"},
        {"LS;1;2.01;A;x", "1"},
        {"LS;1;2.00;A;x", "0"},
        {"LS;1;2.00;A;x", "1"},
        {"K", "0"}},
       {{30, "14973.85"}, {24, "-194.40"}, {25, "8"}, {40, "0.00"}, {20, "14884.55"}}},
      {"payments short, or other means paying more than is due, are refused",
       {{"S;0", "0"},
        {"L;1;9;A;x", "0"},
        {"K;8.99", "3"},
        {"K;0;0;0;0;0;8.99", "3"},
        {"K;0;10", "1"},
        {"K;1;1;1;1;1;1;1", "1"},
        {"K;1,00;8", "1"},
        {"K;5;4.00", "0"},
        {"K;9", "2"}},
       {{52, "12315.25"}, {53, "2578.30"}, {50, "1863"}}},
      {"a receipt of returned goods pays out cash",
       {{"S;0", "0"}, {"LV;1;5;A;x", "0"}, {"K", "0"}},
       {{52, "12305.25"}, {20, "14879.55"}, {21, "-317.40"}}},
      {"deposits and withdrawals",
       {{"V;500", "0"}, {"V;-20.5", "0"}, {"V;", "1"}, {"V;-", "1"}, {"V;0", "1"}, {"V;5;5", "1"}},
       {{36, "2000.00"}, {37, "22"}, {38, "9820.50"}, {39, "19"}, {50, "1864"}}},
      {"the running report changes nothing",
       {{"DX", "0"}, {"DX;1", "1"}},
       {{61, "06.12.2026"}, {63, "1862"}, {36, "1500.00"}, {50, "1862"}}},
      {"the daily closing",
       {{"V;5", "0"}, {"S;0", "0"}, {"DZ", "2"}, {"K", "0"}, {"DZ", "0"}},
       {{61, DateText(today, '.')}, {62, DateText(Tomorrow(today), '.')}, {63, "1864"},
        {36, "0.00"}, {37, "0"}, {41, "0.00"}, {42, "0.00"}, {52, "0.00"},  // the day's figures begin anew
        {20, "14884.55"}, {30, "14971.85"}, {50, "1864"}, {51, "1863"}}},       // grand totals go on
      {"interval reports over the recorded closings",
       {{"MI;1;1", "1"},  // none recorded yet
        {"DZ", "0"},
        {"DZ", "0"},
        {"MI;1;2", "0"},
        {"MI;2;2", "0"},
        {"MI;2;5", "0"},
        {"MI;3;5", "1"},
        {"MI;2;1", "1"},
        {"MI;0;1", "1"},
        {"MI;1", "1"},
        {"MD;" + todayFields + ";" + todayFields, "0"},
        {"MD;1;1;2000;31;12;2000", "1"},
        {"MD;1;1;2000;31;12;9999", "0"},
        {"MD;" + todayFields + ";1;1;2000", "1"},
        {"MD;30;2;2024;1;3;2024", "1"},
        {"MDP;1;1;2000;31;12;9999", "0"},
        {"MIP;4;4", "1"}},
       {}},
  };
  for (const auto& c : cases) {
    Device device;
    device.state().info[12] = "500";  // a third rate of 5 %
    for (const auto& [command, answer] : c.steps)
      EXPECT_EQ(Ask(device, command), answer + "\r") << c.what << ": " << command;
    for (const auto& [number, value] : c.info)
      EXPECT_EQ(Ask(device, "IV;" + std::to_string(number)), value + "\r") << c.what << ": info " << number;
  }
}

// Each document in order on the paper; the closing's report shows the day's
// figures, and the interval report adds up the closings in its range.
TEST(SalesModel, TheJournalShowsEachDocumentInOrder) {
  Device device;
  const std::string today = DateText(CurrentLocalDate(), '.');
  for (const char* command : {"DZ", "S;0", "L;1;12.00;B;Syr", "K;20", "V;100", "V;-30", "DX", "DZ", "MI;1;2"})
    ASSERT_EQ(Ask(device, command), "0\r") << command;

  std::vector<std::string> titles;
  bool inside = false;
  const std::vector<std::string>& journal = device.journal();
  for (std::size_t i = 0; i + 1 < journal.size(); ++i) {
    if (journal[i] != std::string(40, '=')) continue;
    if (!inside) titles.push_back(journal[i + 1].substr(0, journal[i + 1].find("  ")));
    inside = !inside;
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"DENNA UZAVIERKA (Z) c. 1", "POKLADNICNY DOKLAD c. 1863",
                                              "PRIJMOVY DOKLAD c. 1864", "VYDAVKOVY DOKLAD c. 1865",
                                              "PRIEBEZNA UZAVIERKA (X)", "DENNA UZAVIERKA (Z) c. 2",
                                              "INTERVALOVA UZAVIERKA (CISLA)"}));

  const std::vector<std::string> closing = {
      "========================================",
      "DENNA UZAVIERKA (Z) c. 2",
      "Datum                         " + today,
      "----------------------------------------",
      "Pocet dokladov                         3",
      "Zaklad 0%                           0.00",
      "Zaklad sadzby 1                    12.00",
      "DPH sadzby 1                        2.40",
      "Zaklad sadzby 2                     0.00",
      "DPH sadzby 2                        0.00",
      "Zaklad sadzby 3                     0.00",
      "DPH sadzby 3                        0.00",
      "Zaklad sadzby 4                     0.00",
      "DPH sadzby 4                        0.00",
      "Predaj s DPH                       14.40",
      "HOTOVOST                           14.40",
      "KARTA                               0.00",
      "UVER                                0.00",
      "FAKTURA                             0.00",
      "PLATIDLO 5                          0.00",
      "PLATIDLO 6                          0.00",
      "Pocet vkladov                          1",
      "Vklady                            100.00",
      "Pocet vyberov                          1",
      "Vybery                             30.00",
      "========================================",
  };
  const auto start = std::find(journal.begin(), journal.end(), "DENNA UZAVIERKA (Z) c. 2") - 1;
  ASSERT_GE(journal.end() - start, static_cast<std::ptrdiff_t>(closing.size()));
  EXPECT_EQ(std::vector<std::string>(start, start + static_cast<std::ptrdiff_t>(closing.size())), closing);

  // The seeded day closed first: 1500.00 deposited, 21 times.
  const std::vector<std::string> interval(journal.end() - 31, journal.end());
  const std::vector<std::string> sums = {
      "od" + std::string(24, ' ') + "uzavierka c. 1",  "do" + std::string(24, ' ') + "uzavierka c. 2",
      "Pocet uzavierok                        2", "Pocet dokladov                         3",
      "Pocet vkladov                         22", "Vklady                           1600.00"};
  for (const std::string& line : sums)
    EXPECT_NE(std::find(interval.begin(), interval.end(), line), interval.end()) << line;
}

}  // namespace
}  // namespace korvena::emu
