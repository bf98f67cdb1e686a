#include "korvena/protocol/register_flags.h"

#include <algorithm>

#include "same_name.h"

namespace korvena::protocol {
namespace {

constexpr RegisterFlagInfo kFlags[] = {
    {flag::kT0, "printControlLow", "T0", "print control, low bit"},
    {flag::kT1, "printControlMiddle", "T1", "print control, middle bit"},
    {flag::kT2, "printControlHigh", "T2", "print control, high bit"},
    {flag::kTime, "summerTime", "TIME", "automatic summer and winter time change"},
    {flag::kHv, "printRounding", "HV", "print the rounding"},
    {flag::kFile, "printerInitialisation", "FILE", "printer initialisation"},
    {flag::kDl, "secondCurrency", "DL", "print the amount in the second currency"},
    {flag::kServiceDue, "serviceDue", "", "service check due"},
    {flag::kDisplayDisconnected, "displayDisconnected", "", "display disconnected"},
    {flag::kPrinterDisconnected, "printerDisconnected", "", "printer disconnected"},
    {flag::kFiscalMemoryDisconnected, "fiscalMemoryDisconnected", "", "fiscal memory disconnected"},
    {flag::kDph, "vatPayer", "DPH", "VAT payer"},
    {flag::kAdu, "automaticClosing", "ADU", "automatic daily closing"},
    {flag::kDailyClosing, "dailyClosing", "", "daily closing"},
    {flag::kInitialisation, "initialisation", "", "module initialisation"},
    {flag::kTestMode, "testMode", "", "test mode (STTEST)"},
    {flag::kCommissioned, "commissioned", "UDP", "commissioned (set by STUP; STP only clears it)"},
    {flag::kNoDisplay, "displayOff", "NODISP", "display switched off"},
    {flag::kAutomaticDeposit, "automaticDeposit", "AVV", "automatic deposit (set by STAUVKLAD; STP clears it)"},
};

}  // namespace

std::span<const RegisterFlagInfo> RegisterFlagTable() { return kFlags; }

std::optional<RegisterFlagInfo> FindRegisterFlag(std::string_view name) {
  for (const RegisterFlagInfo& entry : kFlags)
    if (SameName(entry.name, name) || SameName(entry.stpName, name)) return entry;
  return std::nullopt;
}

}  // namespace korvena::protocol
