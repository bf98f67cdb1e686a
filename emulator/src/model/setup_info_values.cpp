#include "model/setup_info_values.h"

#include <utility>

namespace korvena::emu {
namespace {

// A Slovak shop's device a few months after commissioning: VAT rates 20 % and
// 10 %, sums in euro with two decimals, counts as plain numbers.
const std::pair<int, const char*> kInfoValues[] = {
    {1, "4145"},                     // register flags
    {2, "21234567890123456"},        // DKP
    {3, "2021234567"},               // DIČ
    {4, "SK2021234567"},             // IČ DPH
    {5, "KORVENA.2010 v13.022 SK"},  // version text
    {7, "KV2010-004711"},            // serial number
    {8, "37"},                       // EEPROM writes
    {9, "31234567"},                 // IČO
    {10, "2000"},                    // VAT coefficients in 0.01 %
    {11, "1000"},
    {12, "0"},
    {13, "0"},
    {16, "15.03.2024"},              // commissioning date
    {17, "02.12.2026"},              // last service
    {20, "14884.55"},                // net turnover
    {21, "-312.40"},                 // negative turnover
    {22, "-120.00"}, {23, "4"},      // GTmi: value, count
    {24, "-192.40"}, {25, "7"},  // GTst
    {26, "0.00"}, {27, "0"},         // GTzl
    {28, "85.30"}, {29, "12"},       // GTpr
    {30, "14971.85"}, {31, "1843"},  // GTpl
    {32, "-58.70"}, {33, "3"},       // GTvt
    {34, "0.00"}, {35, "0"},         // GTnd
    {116, "2340.00"}, {117, "6"},    // GTfa
    {36, "1500.00"}, {37, "21"},     // deposits: value, count
    {38, "9800.00"}, {39, "18"},     // withdrawals: value, count
    {40, "0.00"},                    // z0
    {41, "10250.00"}, {42, "2050.00"},  // z1, d1
    {43, "2349.59"}, {44, "234.96"},    // z2, d2
    {45, "0.00"}, {46, "0.00"},         // z3, d3
    {47, "0.00"}, {48, "0.00"},         // z4, d4
    {49, "-0.02"},                   // rounding
    {50, "1862"}, {51, "1862"},      // documents
    {52, "12310.25"}, {53, "2574.30"}, {54, "0.00"},  // payments 1 to 6
    {55, "0.00"}, {56, "0.00"}, {57, "0.00"},
    {61, "06.12.2026"},              // last daily closing
    {62, "07.12.2026"},              // automatic daily closing
    {63, "1862"},                    // documents at the last daily closing
    {64, "A3F1"}, {65, "0C7E"},      // fiscal memory check sums
    {kVersionNumberInfo, "13022"},
};

}  // namespace

void FillSetupInfoValues(DeviceState& state) {
  for (const auto& [number, text] : kInfoValues) state.info.try_emplace(number, text);
}

}  // namespace korvena::emu
