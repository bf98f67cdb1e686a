// The device's arithmetic, checked against the emulated device: a program
// that quotes a receipt must arrive at the total the device closes it with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvena/emulator/device.h"
#include "korvena/protocol/amounts.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"

namespace korvena::protocol {
namespace {

std::string Ask(emu::Device& device, const std::string& frame) {
  device.Receive(frame, device.state().baud);
  std::string answer;
  while (device.HasOutput()) answer += device.TakeOutput().bytes;
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  return answer;
}

int64_t Cents(emu::Device& device, int info) {
  return ParseDecimal(Ask(device, InfoQueryFrame(info)), 2).value_or(-1);
}

TEST(Amounts, LineAmountsRoundHalfAwayFromZeroAndStopAtTheDevicesLimit) {
  const struct {
    int64_t quantity, price;
    std::optional<int64_t> amount;
  } cases[] = {
      {1000, 250, 250},   {1500, 1, 2},          {1499, 1, 1},    {333, 1000, 333}, {0, 999, 0},
      {-1, 100, std::nullopt}, {10'000, 1'000'000'000, 10'000'000'000},
      {10'001, 1'000'000'000, std::nullopt},  // more than the device prints
      {10'000'000'000, 1'000'000'000, std::nullopt},  // the largest factors: no overflow on the way
      {1'000'000, 10'000'000'499, std::nullopt}, {1'000'000, 10'000'000, 10'000'000'000}, {1, 1'000'000'000, 1'000'000}
  };
  for (const auto& c : cases) EXPECT_EQ(LineAmountCents(c.quantity, c.price), c.amount) << c.quantity << " x " << c.price;
}

TEST(Amounts, ReceiptsCloseAtTheTotalTheDeviceComputes) {
  const std::array<int64_t, 4> coefficients = {2000, 1000, 0, 0};  // the fresh device's
  const struct {
    const char* name;
    std::vector<SaleLine> lines;
    int64_t total;
  } cases[] = {
      {"vat_added_on_top", {{LineKind::kItem, 2000, 1000, 'B'}}, 2400},
      {"vat_inside_the_price", {{LineKind::kItem, 1000, 1100, 'D'}, {LineKind::kItem, 3000, 100, 'E'}}, 1400},
      {"every_kind",
       {{LineKind::kItem, 2000, 1000, 'B'},
        {LineKind::kStorno, 1000, 1000, 'B'},
        {LineKind::kDiscount, 1000, 50, 'A'},
        {LineKind::kSurcharge, 1000, 100, 'C'},
        {LineKind::kNegative, 1000, 33, 'D'},
        {LineKind::kReturn, 1000, 7, 'A'}},
       1200 - 50 + 110 - 33 - 7},
      {"rounding_of_each_line", {{LineKind::kItem, 333, 1, 'B'}, {LineKind::kItem, 1005, 333, 'C'}}, 0 + 369},
  };
  for (const auto& c : cases) {
    const auto figures = ComputeReceipt(c.lines, coefficients);
    ASSERT_TRUE(figures) << c.name;
    EXPECT_EQ(figures->totalCents, c.total) << c.name;

    emu::Device device;
    std::array<int64_t, 5> basesBefore{}, vatBefore{};
    for (int rate = 1; rate <= 4; ++rate) {
      basesBefore[rate] = Cents(device, info::BaseOfRate(rate));
      vatBefore[rate] = Cents(device, info::VatOfRate(rate));
    }
    ASSERT_EQ(Ask(device, CommandFrame("S", {"0"})), "0") << c.name;
    for (const SaleLine& line : c.lines) {
      const std::string letter(1, line.vatLetter);
      ASSERT_EQ(Ask(device, CommandFrame(InfoOf(line.kind).command,
                                         {FormatDecimal(line.quantityThousandths, 3),
                                          FormatDecimal(line.unitPriceCents, 2), letter, "x"})),
                "0")
          << c.name;
    }
    EXPECT_EQ(Ask(device, CommandFrame("K", {FormatDecimal(c.total - 1, 2)})), "3") << c.name << ": a cent short";
    EXPECT_EQ(Ask(device, CommandFrame("K", {FormatDecimal(c.total, 2)})), "0") << c.name;
    for (int rate = 1; rate <= 4; ++rate) {
      EXPECT_EQ(Cents(device, info::BaseOfRate(rate)) - basesBefore[rate], figures->byRate[rate].base) << c.name;
      EXPECT_EQ(Cents(device, info::VatOfRate(rate)) - vatBefore[rate], figures->byRate[rate].vat) << c.name;
    }
  }
}

TEST(Amounts, PaymentsCloseAsTheDeviceChecksThem) {
  const struct {
    int64_t total;
    std::array<int64_t, 6> payments;
    PaymentCheck::Outcome outcome;
    int64_t change;
  } cases[] = {
      {1000, {1000}, PaymentCheck::kCloses, 0},         {1000, {2000}, PaymentCheck::kCloses, 1000},
      {1000, {0, 1000}, PaymentCheck::kCloses, 0},      {1000, {999}, PaymentCheck::kShort, 0},
      {1000, {0, 1500}, PaymentCheck::kNonCashTooHigh, 0}, {1000, {500, 600}, PaymentCheck::kCloses, 100},
      {-200, {0}, PaymentCheck::kCloses, 200},          {-200, {0, 1}, PaymentCheck::kNonCashTooHigh, 0},
  };
  for (const auto& c : cases) {
    const PaymentCheck check = CheckPayments(c.total, c.payments);
    EXPECT_EQ(check.outcome, c.outcome) << c.total;
    EXPECT_EQ(check.changeCents, c.change) << c.total;
  }
}

TEST(Amounts, DecimalTextsAreExactAndStrict) {
  const struct {
    const char* text;
    int decimals;
    std::optional<int64_t> units;
  } cases[] = {
      {"12.50", 2, 1250},  {"12.5", 2, 1250},     {"12", 2, 1200},       {"-0.05", 2, -5},
      {"1.000", 3, 1000},  {"0.001", 3, 1},       {"1.234", 2, std::nullopt}, {"1.", 2, std::nullopt},
      {".5", 2, std::nullopt}, {"1e2", 2, std::nullopt}, {" 1", 2, std::nullopt}, {"", 2, std::nullopt},
      {"+1", 2, std::nullopt}, {"10000000", 2, 1'000'000'000}, {"10000001", 2, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text, c.decimals), c.units) << c.text;
  EXPECT_EQ(FormatDecimal(-5, 2), "-0.05");
  EXPECT_EQ(FormatDecimal(1250, 2), "12.50");
  EXPECT_EQ(FormatDecimal(7, 0), "7");
  EXPECT_EQ(FormatDecimal(INT64_MIN, 2), "-92233720368547758.08");
}

}  // namespace
}  // namespace korvena::protocol
