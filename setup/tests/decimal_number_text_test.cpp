#include "korvena/operations/decimal_number_text.h"

#include <gtest/gtest.h>

namespace korvena::kalibro {
namespace {

TEST(DecimalNumberText, TakesSignedDecimalsWithAnExponentAndNothingElse) {
  const struct {
    const char* text;
    bool valid;
  } cases[] = {
      {"0.000", true}, {"12", true},      {"+1.5", true},   {"-1.5", true},  {".5", true},    {"5.", true},
      {".", true},     {"+.", true},      {"  -2.5", true}, {"1e2", true},   {"1E-2", true},  {"1e+5", true},
      {"", false},     {" ", false},      {"+", false},     {"1,5", false},  {"1.5 ", false}, {"1.2.3", false},
      {"1e", false},   {"1e+", false},    {"e5", false},    {"+-1", false},  {"1e2.5", false},
      {"12a", false},  {"0x10", false},
  };
  for (const auto& c : cases) EXPECT_EQ(operations::IsDecimalNumberText(c.text), c.valid) << '"' << c.text << '"';
}

}  // namespace
}  // namespace korvena::kalibro
