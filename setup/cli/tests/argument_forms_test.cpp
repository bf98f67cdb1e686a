// The forms of dates, times and amounts on kalibro-cli's command line.
#include "argument_forms.h"

#include <gtest/gtest.h>

#include "cli_failure.h"

namespace korvena::cli {
namespace {

struct DateTimeCase {
  const char* text;
  bool valid;
  operations::DateTime expected;
};

class DateTimeTest : public ::testing::TestWithParam<DateTimeCase> {};

TEST_P(DateTimeTest, TakesDaysOfTheCalendarOnly) {
  const DateTimeCase& c = GetParam();
  if (!c.valid) {
    EXPECT_THROW(ParseDateTime(c.text, "clock set"), CliFailure) << c.text;
    return;
  }
  const operations::DateTime time = ParseDateTime(c.text, "clock set");
  EXPECT_EQ(std::tie(time.date.year, time.date.month, time.date.day, time.hour, time.minute, time.second),
            std::tie(c.expected.date.year, c.expected.date.month, c.expected.date.day, c.expected.hour,
                     c.expected.minute, c.expected.second))
      << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DateTimeTest,
    ::testing::Values(DateTimeCase{"05.03.2024 09:07:30", true, {{2024, 3, 5}, 9, 7, 30}},
                      DateTimeCase{"5.3.2024 9:07", true, {{2024, 3, 5}, 9, 7, 0}},
                      DateTimeCase{"29.02.2024 23:59:59", true, {{2024, 2, 29}, 23, 59, 59}},
                      DateTimeCase{"29.02.2023 10:00", false, {}}, DateTimeCase{"31.04.2024 10:00", false, {}},
                      DateTimeCase{"01.01.1995 10:00", false, {}}, DateTimeCase{"05.03.2024 24:00", false, {}},
                      DateTimeCase{"05.03.2024 9:7", false, {}}, DateTimeCase{"05.03.2024", false, {}},
                      DateTimeCase{"05.03.2024 09:07:30 ", false, {}}));

struct AmountCase {
  const char* text;
  int decimals;
  int64_t units;  // -1: refused
};

class AmountTest : public ::testing::TestWithParam<AmountCase> {};

TEST_P(AmountTest, TakesPlainDecimalsWithinTheirDecimals) {
  const AmountCase& c = GetParam();
  if (c.units < 0)
    EXPECT_THROW(ParseAmount(c.text, c.decimals, "amount"), CliFailure) << c.text;
  else
    EXPECT_EQ(ParseAmount(c.text, c.decimals, "amount"), c.units) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, AmountTest,
                         ::testing::Values(AmountCase{"2.5", 2, 250}, AmountCase{"12", 2, 1200},
                                           AmountCase{"1.234", 3, 1234}, AmountCase{"1.234", 2, -1},
                                           AmountCase{"-1", 2, -1}, AmountCase{"-0", 2, -1}, AmountCase{"1,50", 2, -1},
                                           AmountCase{"1e2", 2, -1}, AmountCase{"", 2, -1},
                                           AmountCase{"10000001", 2, -1}, AmountCase{"10000000", 2, 1000000000},
                                           AmountCase{"10000000.01", 2, -1}, AmountCase{"10000000.001", 3, -1}));

}  // namespace
}  // namespace korvena::cli
