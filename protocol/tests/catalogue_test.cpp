// The catalogue of info numbers and register flags.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/line_rates.h"
#include "korvena/protocol/register_flags.h"

namespace korvena::protocol {
namespace {

TEST(InfoCatalogue, NumbersAscendOnceAndNamesAreUnique) {
  std::set<std::string> names;
  int previous = -1;
  for (const InfoNumber& entry : InfoCatalogue()) {
    EXPECT_GT(entry.number, previous) << entry.name;
    previous = entry.number;
    EXPECT_TRUE(names.insert(std::string(entry.name)).second) << entry.name;
    EXPECT_EQ(FindInfo(entry.number)->name, entry.name);
    EXPECT_EQ(FindInfo(entry.name)->number, entry.number);
  }
  EXPECT_FALSE(FindInfo(6)) << "no program reads info 6";
  EXPECT_EQ(FindInfo("VERSIONNUMBER")->number, info::kVersionNumber);
}

// The texts file is read back by key and its order is what Kalibro writes.
TEST(InfoCatalogue, TheTextsFileHoldsTheIdentityThenHeaderThenFooter) {
  std::string keys;
  for (const InfoNumber& entry : TextsFileInfos()) keys += std::string(entry.textsKey) + "=" + std::to_string(entry.number) + " ";
  std::string expected = "DKP=2 DIC=3 ICDPH=4 ICO=9 ";
  for (int line = 1; line <= 10; ++line) expected += "HL" + std::to_string(line) + "=" + std::to_string(119 + line) + " ";
  for (int line = 1; line <= 10; ++line) expected += "TL" + std::to_string(line) + "=" + std::to_string(129 + line) + " ";
  EXPECT_EQ(keys, expected);
}

TEST(InfoCatalogue, RangesLandOnTheirNumbers) {
  EXPECT_EQ(info::BaseOfRate(1), 41);
  EXPECT_EQ(info::VatOfRate(4), 48);
  EXPECT_EQ(info::Payment(5), 57);
  EXPECT_EQ(info::Currency(4), 75);
  EXPECT_EQ(info::FooterLine(10), 139);
  EXPECT_EQ(info::VatCoefficient(4), 13);
}

TEST(RegisterFlags, BitsAreDistinctPowersOfTwoFoundByEitherName) {
  uint32_t seen = 0;
  for (const RegisterFlagInfo& entry : RegisterFlagTable()) {
    EXPECT_EQ(entry.bit & (entry.bit - 1), 0u) << entry.name;
    EXPECT_EQ(seen & entry.bit, 0u) << entry.name;
    seen |= entry.bit;
  }
  EXPECT_EQ(FindRegisterFlag("nodisp")->bit, flag::kNoDisplay);
  EXPECT_EQ(FindRegisterFlag("printerDisconnected")->bit, flag::kPrinterDisconnected);
  EXPECT_FALSE(FindRegisterFlag(""));
}

TEST(LineRates, IndexIsThePositionTheDeviceNumbersThemBy) {
  EXPECT_EQ(LineRateIndex(9600), 0);
  EXPECT_EQ(LineRateIndex(115200), 6);
  EXPECT_EQ(LineRateIndex(4800), std::nullopt);
}

}  // namespace
}  // namespace korvena::protocol
