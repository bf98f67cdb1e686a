#include "model/day_figures.h"

#include "model/printed_journal.h"
#include "model/sales_info.h"
#include "model/sales_numbers.h"

namespace korvena::emu {
namespace {

struct DayFigure {
  int info;
  const char* label;
  bool isCount;
};

constexpr const char* kPaymentNames[kPaymentMeans] = {"HOTOVOST", "KARTA", "UVER", "FAKTURA", "PLATIDLO 5", "PLATIDLO 6"};

constexpr DayFigure kDayFigures[] = {
    {kInfoBaseRate0, "Zaklad 0%", false},
    {InfoBaseOfRate(1), "Zaklad sadzby 1", false},
    {InfoVatOfRate(1), "DPH sadzby 1", false},
    {InfoBaseOfRate(2), "Zaklad sadzby 2", false},
    {InfoVatOfRate(2), "DPH sadzby 2", false},
    {InfoBaseOfRate(3), "Zaklad sadzby 3", false},
    {InfoVatOfRate(3), "DPH sadzby 3", false},
    {InfoBaseOfRate(4), "Zaklad sadzby 4", false},
    {InfoVatOfRate(4), "DPH sadzby 4", false},
    {kInfoPayment1, kPaymentNames[0], false},
    {kInfoPayment1 + 1, kPaymentNames[1], false},
    {kInfoPayment1 + 2, kPaymentNames[2], false},
    {kInfoPayment1 + 3, kPaymentNames[3], false},
    {kInfoPayment1 + 4, kPaymentNames[4], false},
    {kInfoPayment1 + 5, kPaymentNames[5], false},
    {kInfoDepositCount, "Pocet vkladov", true},
    {kInfoDeposits, "Vklady", false},
    {kInfoWithdrawalCount, "Pocet vyberov", true},
    {kInfoWithdrawals, "Vybery", false},
};

int64_t Figure(const DayFigures& figures, int info) {
  const auto value = figures.find(info);
  return value == figures.end() ? 0 : value->second;
}

}  // namespace

const char* PaymentName(int means) { return kPaymentNames[means]; }

DayFigures CurrentDayFigures(const DeviceState& state) {
  DayFigures figures;
  for (const DayFigure& figure : kDayFigures)
    figures[figure.info] = figure.isCount ? InfoCount(state, figure.info) : InfoCents(state, figure.info);
  return figures;
}

void ResetDayFigures(DeviceState& state) {
  for (const DayFigure& figure : kDayFigures) state.info[figure.info] = figure.isCount ? "0" : Money(0);
}

void AddDayFigures(DayFigures& sum, const DayFigures& add) {
  for (const auto& [info, value] : add) sum[info] = SaturatingAdd(sum[info], value);
}

std::vector<std::string> DayFigureLines(const DayFigures& figures) {
  std::vector<std::string> lines;
  int64_t sales = Figure(figures, kInfoBaseRate0);
  for (int rate = 1; rate <= kVatRates; ++rate)
    sales = SaturatingAdd(sales, SaturatingAdd(Figure(figures, InfoBaseOfRate(rate)), Figure(figures, InfoVatOfRate(rate))));
  for (const DayFigure& figure : kDayFigures) {
    const int64_t value = Figure(figures, figure.info);
    lines.push_back(Columns(figure.label, figure.isCount ? std::to_string(value) : Money(value)));
    if (figure.info == InfoVatOfRate(kVatRates)) lines.push_back(Columns("Predaj s DPH", Money(sales)));
  }
  return lines;
}

}  // namespace korvena::emu
