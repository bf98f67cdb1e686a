#include "korvena/protocol/info_catalogue.h"

#include <algorithm>

#include "same_name.h"

namespace korvena::protocol {
namespace {

constexpr InfoNumber kCatalogue[] = {
    {0, "status", "status: 0 ready, else the status of the last refused command, once", InfoForm::kStatus, ""},
    {1, "registerFlags", "register flags, the sum of their bits", InfoForm::kFlags, ""},
    {2, "dkp", "DKP, the tax office's number of the register", InfoForm::kText, "DKP"},
    {3, "dic", "DIČ, the tax identification number", InfoForm::kText, "DIC"},
    {4, "icDph", "IČ DPH, the VAT identification number", InfoForm::kText, "ICDPH"},
    {5, "versionText", "version text", InfoForm::kText, ""},
    {7, "serialNumber", "serial number", InfoForm::kText, ""},
    {8, "eepromWrites", "EEPROM write count", InfoForm::kCount, ""},
    {9, "ico", "IČO, the company number", InfoForm::kText, "ICO"},
    {10, "vatCoefficient1", "VAT coefficient of rate 1, in 0.01 %", InfoForm::kInteger, ""},
    {11, "vatCoefficient2", "VAT coefficient of rate 2, in 0.01 %", InfoForm::kInteger, ""},
    {12, "vatCoefficient3", "VAT coefficient of rate 3, in 0.01 %", InfoForm::kInteger, ""},
    {13, "vatCoefficient4", "VAT coefficient of rate 4, in 0.01 %", InfoForm::kInteger, ""},
    {16, "commissioningDate", "commissioning date", InfoForm::kDate, ""},
    {17, "lastServiceDate", "last service date", InfoForm::kDate, ""},
    {19, "clock", "the device's clock", InfoForm::kDateTime, ""},
    {20, "netTurnover", "net turnover", InfoForm::kAmount, ""},
    {21, "negativeTurnover", "negative turnover", InfoForm::kAmount, ""},
    {22, "gtNegativeItems", "GT of negative items (LM)", InfoForm::kAmount, ""},
    {23, "gtNegativeItemsCount", "count of negative items (LM)", InfoForm::kCount, ""},
    {24, "gtStorno", "GT of stornos (LS)", InfoForm::kAmount, ""},
    {25, "gtStornoCount", "count of stornos (LS)", InfoForm::kCount, ""},
    {26, "gtDiscounts", "GT of discounts (LZ)", InfoForm::kAmount, ""},
    {27, "gtDiscountsCount", "count of discounts (LZ)", InfoForm::kCount, ""},
    {28, "gtSurcharges", "GT of surcharges (LP)", InfoForm::kAmount, ""},
    {29, "gtSurchargesCount", "count of surcharges (LP)", InfoForm::kCount, ""},
    {30, "gtItems", "GT of items (L)", InfoForm::kAmount, ""},
    {31, "gtItemsCount", "count of items (L)", InfoForm::kCount, ""},
    {32, "gtReturnedGoods", "GT of returned goods (LV)", InfoForm::kAmount, ""},
    {33, "gtReturnedGoodsCount", "count of returned goods (LV)", InfoForm::kCount, ""},
    {34, "gtNd", "GTnd", InfoForm::kAmount, ""},
    {35, "gtNdCount", "count of GTnd", InfoForm::kCount, ""},
    {36, "deposits", "day's deposits", InfoForm::kAmount, ""},
    {37, "depositCount", "day's deposit count", InfoForm::kCount, ""},
    {38, "withdrawals", "day's withdrawals", InfoForm::kAmount, ""},
    {39, "withdrawalCount", "day's withdrawal count", InfoForm::kCount, ""},
    {40, "salesAtRate0", "day's sales at 0 % (class A)", InfoForm::kAmount, ""},
    {41, "baseOfRate1", "day's base of rate 1", InfoForm::kAmount, ""},
    {42, "vatOfRate1", "day's VAT of rate 1", InfoForm::kAmount, ""},
    {43, "baseOfRate2", "day's base of rate 2", InfoForm::kAmount, ""},
    {44, "vatOfRate2", "day's VAT of rate 2", InfoForm::kAmount, ""},
    {45, "baseOfRate3", "day's base of rate 3", InfoForm::kAmount, ""},
    {46, "vatOfRate3", "day's VAT of rate 3", InfoForm::kAmount, ""},
    {47, "baseOfRate4", "day's base of rate 4", InfoForm::kAmount, ""},
    {48, "vatOfRate4", "day's VAT of rate 4", InfoForm::kAmount, ""},
    {49, "rounding", "day's rounding", InfoForm::kAmount, ""},
    {50, "lastDocument", "number of the last document of any kind", InfoForm::kCount, ""},
    {51, "salesDocuments", "receipts and invoices closed", InfoForm::kCount, ""},
    {52, "paymentCash", "day's payments: cash", InfoForm::kAmount, ""},
    {53, "paymentCard", "day's payments: card", InfoForm::kAmount, ""},
    {54, "paymentCredit", "day's payments: credit", InfoForm::kAmount, ""},
    {55, "paymentInvoice", "day's payments: invoice", InfoForm::kAmount, ""},
    {56, "paymentMeans5", "day's payments: means5", InfoForm::kAmount, ""},
    {57, "paymentMeans6", "day's payments: means6", InfoForm::kAmount, ""},
    {61, "lastClosingDate", "date of the last daily closing", InfoForm::kDate, ""},
    {62, "automaticClosing", "automatic daily closing", InfoForm::kDateTime, ""},
    {63, "documentsAtClosing", "document number at the last daily closing", InfoForm::kCount, ""},
    {64, "fiscalMemoryCrc1", "fiscal memory check sum 1", InfoForm::kHex, ""},
    {65, "fiscalMemoryCrc2", "fiscal memory check sum 2", InfoForm::kHex, ""},
    {72, "currency1", "currency 1: symbol and rate", InfoForm::kCurrency, ""},
    {73, "currency2", "currency 2: symbol and rate", InfoForm::kCurrency, ""},
    {74, "currency3", "currency 3: symbol and rate", InfoForm::kCurrency, ""},
    {75, "currency4", "currency 4: symbol and rate", InfoForm::kCurrency, ""},
    {116, "gtInvoices", "GT of invoices", InfoForm::kAmount, ""},
    {117, "gtInvoiceCount", "count of invoices", InfoForm::kCount, ""},
    {120, "headerLine1", "header line 1", InfoForm::kText852, "HL1"},
    {121, "headerLine2", "header line 2", InfoForm::kText852, "HL2"},
    {122, "headerLine3", "header line 3", InfoForm::kText852, "HL3"},
    {123, "headerLine4", "header line 4", InfoForm::kText852, "HL4"},
    {124, "headerLine5", "header line 5", InfoForm::kText852, "HL5"},
    {125, "headerLine6", "header line 6", InfoForm::kText852, "HL6"},
    {126, "headerLine7", "header line 7", InfoForm::kText852, "HL7"},
    {127, "headerLine8", "header line 8", InfoForm::kText852, "HL8"},
    {128, "headerLine9", "header line 9", InfoForm::kText852, "HL9"},
    {129, "headerLine10", "header line 10", InfoForm::kText852, "HL10"},
    {130, "footerLine1", "footer line 1", InfoForm::kText852, "TL1"},
    {131, "footerLine2", "footer line 2", InfoForm::kText852, "TL2"},
    {132, "footerLine3", "footer line 3", InfoForm::kText852, "TL3"},
    {133, "footerLine4", "footer line 4", InfoForm::kText852, "TL4"},
    {134, "footerLine5", "footer line 5", InfoForm::kText852, "TL5"},
    {135, "footerLine6", "footer line 6", InfoForm::kText852, "TL6"},
    {136, "footerLine7", "footer line 7", InfoForm::kText852, "TL7"},
    {137, "footerLine8", "footer line 8", InfoForm::kText852, "TL8"},
    {138, "footerLine9", "footer line 9", InfoForm::kText852, "TL9"},
    {139, "footerLine10", "footer line 10", InfoForm::kText852, "TL10"},
    {150, "roundingSettings", "rounding of Za, Zb, Zc, Zhv, Zd, Zk", InfoForm::kRoundingList, ""},
    {170, "lineSpeeds", "line speeds: 16 x PC index + internal index", InfoForm::kLineSpeeds, ""},
    {1000, "versionNumber", "version number", InfoForm::kInteger, ""},
};

}  // namespace

std::span<const InfoNumber> InfoCatalogue() { return kCatalogue; }

std::optional<InfoNumber> FindInfo(int n) {
  const auto found = std::lower_bound(std::begin(kCatalogue), std::end(kCatalogue), n,
                                      [](const InfoNumber& entry, int number) { return entry.number < number; });
  if (found == std::end(kCatalogue) || found->number != n) return std::nullopt;
  return *found;
}

std::optional<InfoNumber> FindInfo(std::string_view name) {
  for (const InfoNumber& entry : kCatalogue)
    if (SameName(entry.name, name)) return entry;
  return std::nullopt;
}

std::vector<InfoNumber> TextsFileInfos() {
  // Ascending numbers are the file's order: DKP, DIC, ICDPH, ICO, HL1.., TL1..
  std::vector<InfoNumber> entries;
  for (const InfoNumber& entry : kCatalogue)
    if (!entry.textsKey.empty()) entries.push_back(entry);
  return entries;
}

}  // namespace korvena::protocol
