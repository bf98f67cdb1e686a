#pragma once
// The device's info values, asked for with ESC ";IV;" n CR: each number with
// its meaning, the form of its answer and the texts-file key it feeds. The
// numbers are named once here; programs use these names.
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace korvena::protocol {

// How the answer line of an info number reads.
enum class InfoForm {
  kStatus,      // a status number (see device_status.h)
  kFlags,       // the decimal sum of the register flags
  kText,        // bytes as the device keeps them
  kText852,     // a printed line in the device's code page 852
  kAmount,      // a decimal amount with two decimals, "-312.40"
  kCount,       // a whole number of documents or lines
  kInteger,     // any other whole number (coefficients in 0.01 %, versions)
  kDate,        // dd.mm.yyyy
  kDateTime,    // dd.mm.yyyy hh:mm:ss
  kCurrency,    // symbol "," rate
  kRoundingList,  // six entries, a letter and a value each, ","-separated
  kLineSpeeds,  // 16 x PC line index + internal line index
  kHex,         // a check sum in hexadecimal digits
};

struct InfoNumber {
  int number;
  std::string_view name;  // an English name, as JSON and the command line show it
  std::string_view meaning;
  InfoForm form;
  std::string_view textsKey;  // the key of a texts file it is saved under; "" for none
};

namespace info {
inline constexpr int kStatus = 0;
inline constexpr int kRegisterFlags = 1;
inline constexpr int kDkp = 2;
inline constexpr int kDic = 3;
inline constexpr int kIcDph = 4;
inline constexpr int kVersionText = 5;
inline constexpr int kSerialNumber = 7;
inline constexpr int kEepromWrites = 8;
inline constexpr int kIco = 9;
inline constexpr int kVatCoefficient1 = 10;  // ..13 for rates 1..4
inline constexpr int kCommissioningDate = 16;
inline constexpr int kLastServiceDate = 17;
inline constexpr int kClock = 19;
inline constexpr int kNetTurnover = 20;
inline constexpr int kNegativeTurnover = 21;
inline constexpr int kGtNegativeItems = 22;  // each GT value is followed by its count
inline constexpr int kGtStorno = 24;
inline constexpr int kGtDiscounts = 26;
inline constexpr int kGtSurcharges = 28;
inline constexpr int kGtItems = 30;
inline constexpr int kGtReturnedGoods = 32;
inline constexpr int kGtNd = 34;
inline constexpr int kDeposits = 36;
inline constexpr int kWithdrawals = 38;
inline constexpr int kSalesAtRate0 = 40;  // rate r (1..4): base at 39 + 2r, VAT at 40 + 2r
inline constexpr int kRounding = 49;
inline constexpr int kLastDocument = 50;
inline constexpr int kSalesDocuments = 51;
inline constexpr int kPayment1 = 52;  // ..57, the six means of payment
inline constexpr int kLastClosingDate = 61;
inline constexpr int kAutomaticClosing = 62;
inline constexpr int kDocumentsAtClosing = 63;
inline constexpr int kFiscalMemoryCrc1 = 64;
inline constexpr int kFiscalMemoryCrc2 = 65;
inline constexpr int kCurrency1 = 72;  // ..75
inline constexpr int kGtInvoices = 116;
inline constexpr int kHeaderLine1 = 120;  // ..129
inline constexpr int kFooterLine1 = 130;  // ..139
inline constexpr int kRoundingSettings = 150;
inline constexpr int kLineSpeeds = 170;
inline constexpr int kVersionNumber = 1000;

inline constexpr int kVatRates = 4;
inline constexpr int kPaymentMeans = 6;
inline constexpr int kCurrencies = 4;
inline constexpr int kDocumentLines = 10;  // header or footer lines

constexpr int VatCoefficient(int rate) { return kVatCoefficient1 + rate - 1; }
constexpr int BaseOfRate(int rate) { return kSalesAtRate0 - 1 + 2 * rate; }
constexpr int VatOfRate(int rate) { return kSalesAtRate0 + 2 * rate; }
constexpr int Payment(int means) { return kPayment1 + means; }  // means 0..5
constexpr int Currency(int n) { return kCurrency1 + n - 1; }    // n 1..4
constexpr int HeaderLine(int line) { return kHeaderLine1 + line - 1; }  // line 1..10
constexpr int FooterLine(int line) { return kFooterLine1 + line - 1; }
}  // namespace info

// Every info number a program of the suite reads, in ascending order.
std::span<const InfoNumber> InfoCatalogue();

// The entry of number `n`, or nullopt for a number no program reads.
std::optional<InfoNumber> FindInfo(int n);
// The entry whose name is `name` (without regard to case).
std::optional<InfoNumber> FindInfo(std::string_view name);

// The entries saved in a texts file, in the order the file holds them.
std::vector<InfoNumber> TextsFileInfos();

}  // namespace korvena::protocol
