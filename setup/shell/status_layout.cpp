#include "shell/status_layout.h"

#include <cstring>

#include "korvena/protocol/info_catalogue.h"

namespace korvena::kalibro {
namespace {

namespace info = protocol::info;

constexpr int kCaptionWidth = 40;
constexpr int kValueWidth = 100;

constexpr ValueForm P = ValueForm::kPlain;
constexpr ValueForm C = ValueForm::kCount;

CaptionCell Caption(const char* name, const char* text, int top, int left, int width = kCaptionWidth) {
  return {name, text, top, left, width};
}

CaptionCell VatCaption(const char* name, const char* prefix, int top, int rate) {
  return {name, prefix, top, 200, kCaptionWidth, CaptionForm::kVatRate, rate};
}

ValueCell Value(const char* name, int top, int left, int infoNumber, ValueForm form = P, int width = kValueWidth) {
  return {name, top, left, width, form, infoNumber};
}

ValueCell Coefficient(const char* name, int left, int infoNumber, int rate) {
  return {name, 235, left, 20, ValueForm::kVatCoefficient, infoNumber, rate};
}

// A GT total: its count in brackets, then its value.
StatusRow Total(const char* caption, const char* text, int top, const char* count, const char* value, int gt) {
  return {Caption(caption, text, top, 430, 60), {Value(count, top, 500, gt + 1, C, 50), Value(value, top, 550, gt)}};
}

}  // namespace

const std::vector<StatusRow>& StatusLayout() {
  static const std::vector<StatusRow> layout = {
      {std::nullopt, {Value("vVerzia", 3, 250, info::kVersionText)}},
      {Caption("lDKP", "DKP:", 30, 170), {Value("vDKP", 30, 250, info::kDkp)}},
      {Caption("lDIC", "DIČ:", 45, 170), {Value("vDIC", 45, 250, info::kDic)}},
      {Caption("lICDPH", "IČ DPH:", 60, 170), {Value("vICDPH", 60, 250, info::kIcDph)}},
      {Caption("lICO", "IČO:", 75, 170), {Value("vICO", 75, 250, info::kIco)}},
      {Caption("lRegister", "Register:", 90, 170), {Value("vRegister", 90, 250, info::kRegisterFlags)}},
      {Caption("lWeeprom", "Weeprom:", 105, 160, 50), {Value("vWeeprom", 105, 250, info::kEepromWrites)}},
      {Caption("lSN", "SN:", 120, 170), {Value("vSN", 120, 250, info::kSerialNumber)}},
      {Caption("lDUDP", "DUDP:", 135, 170), {Value("vDUDP", 135, 250, info::kCommissioningDate)}},
      {Caption("lDServ", "DServ:", 150, 170), {Value("vDServ", 150, 250, info::kLastServiceDate)}},
      {Caption("lDUDate", "DUDate:", 165, 170), {Value("vDUDate", 165, 250, info::kLastClosingDate)}},
      {Caption("lDDate", "DDate:", 180, 170), {Value("vDDate", 180, 250, info::kAutomaticClosing)}},
      {Caption("lDUDocs", "DUDocs:", 195, 170), {Value("vDUDocs", 195, 250, info::kDocumentsAtClosing)}},
      {Caption("lCRC", "CRC:", 210, 170), {Value("vCRC", 210, 250, info::kFiscalMemoryCrc1, ValueForm::kCheckSums)}},
      {Caption("lkDPH", "kDPH (v 0.01%):", 235, 150, 80),
       {Coefficient("vkDPH1", 260, info::VatCoefficient(1), 1), Coefficient("vkDPH2", 300, info::VatCoefficient(2), 2), Coefficient("vkDPH3", 340, info::VatCoefficient(3), 3),
        Coefficient("vkDPH4", 380, info::VatCoefficient(4), 4)}},
      {Caption("lGT2", "Čistý obrat:", 30, 430, 60), {Value("vGT2", 30, 500, info::kNetTurnover, P, 150)}},
      {Caption("lGT3", "Záporný obrat:", 45, 420, 70), {Value("vGT3", 45, 500, info::kNegativeTurnover, P, 150)}},
      {Caption("lVklad", "Vklad:", 60, 430, 60), {Value("vCntVklad", 60, 500, info::kDeposits + 1, C, 50), Value("vVklad", 60, 550, info::kDeposits)}},
      {Caption("lVyber", "Výber:", 75, 430, 60), {Value("vCntVyber", 75, 500, info::kWithdrawals + 1, C, 50), Value("vVyber", 75, 550, info::kWithdrawals)}},
      Total("lGTpl", "GTpl:", 90, "vCntGTpl", "vGTpl", info::kGtItems),
      Total("lGTpr", "GTpr:", 105, "vCntGTpr", "vGTpr", info::kGtSurcharges),
      Total("lGTzl", "GTzl:", 120, "vCntGTzl", "vGTzl", info::kGtDiscounts),
      Total("lGTst", "GTst:", 135, "vCntGTst", "vGTst", info::kGtStorno),
      Total("lGTmi", "GTmi:", 150, "vCntGTmi", "vGTmi", info::kGtNegativeItems),
      Total("lGTvt", "GTvr:", 165, "vCntGTvt", "vGTvt", info::kGtReturnedGoods),
      Total("lGTnd", "GTnd:", 180, "vCntGTnd", "vGTnd", info::kGtNd),
      Total("lGTfa", "GTfa:", 195, "vCntGTfa", "vGTfa", info::kGtInvoices),
      {Caption("lz0", "z0", 270, 200), {Value("vz0", 270, 250, info::kSalesAtRate0)}},
      {VatCaption("lz1", "z", 285, 1), {Value("vz1", 285, 250, info::BaseOfRate(1))}},
      {VatCaption("ld1", "d", 300, 1), {Value("vd1", 300, 250, info::VatOfRate(1))}},
      {VatCaption("lz2", "z", 315, 2), {Value("vz2", 315, 250, info::BaseOfRate(2))}},
      {VatCaption("ld2", "d", 330, 2), {Value("vd2", 330, 250, info::VatOfRate(2))}},
      {VatCaption("lz3", "z", 345, 3), {Value("vz3", 345, 250, info::BaseOfRate(3))}},
      {VatCaption("ld3", "d", 360, 3), {Value("vd3", 360, 250, info::VatOfRate(3))}},
      {VatCaption("lz4", "z", 375, 4), {Value("vz4", 375, 250, info::BaseOfRate(4))}},
      {VatCaption("ld4", "d", 390, 4), {Value("vd4", 390, 250, info::VatOfRate(4))}},
      {Caption("lplat1", "plat1:", 270, 430), {Value("vplat1", 270, 480, info::Payment(0))}},
      {Caption("lplat2", "plat2:", 285, 430), {Value("vplat2", 285, 480, info::Payment(1))}},
      {Caption("lplat3", "plat3:", 300, 430), {Value("vplat3", 300, 480, info::Payment(2))}},
      {Caption("lplat4", "plat4:", 315, 430), {Value("vplat4", 315, 480, info::Payment(3))}},
      {Caption("lplat5", "plat5:", 330, 430), {Value("vplat5", 330, 480, info::Payment(4))}},
      {Caption("lplat6", "plar6:", 345, 430), {Value("vplat6", 345, 480, info::Payment(5))}},
      {Caption("lzaook", "zaokr:", 360, 430), {Value("vzaok", 360, 480, info::kRounding)}},
      {Caption("ldocs", "docs:", 375, 430), {Value("vdocs", 375, 480, info::kLastDocument)}},
      {Caption("ldocs2", "docs2:", 390, 430), {Value("vdocs2", 390, 480, info::kSalesDocuments)}},
  };
  return layout;
}

const std::vector<const char*>& RefreshedValues() {
  static const std::vector<const char*> names = {
      "vGT2",   "vGT3",     "vCntGTpl", "vGTpl",   "vCntGTpr",  "vGTpr",  "vCntGTzl",  "vGTzl",  "vCntGTst", "vGTst",
      "vCntGTmi", "vGTmi",  "vCntGTvt", "vGTvt",   "vCntGTnd",  "vGTnd",  "vCntGTfa",  "vGTfa",  "vz0",      "vz1",
      "vd1",    "vz2",      "vd2",      "vz3",     "vd3",       "vz4",    "vd4",       "vplat1", "vplat2",   "vplat3",
      "vplat4", "vplat5",   "vplat6",   "vzaok",   "vdocs",     "vdocs2", "vWeeprom",  "vCRC",   "vCntVklad", "vVklad",
      "vCntVyber", "vVyber",
  };
  return names;
}

const ValueCell* FindValueCell(const char* name) {
  for (const StatusRow& row : StatusLayout())
    for (const ValueCell& cell : row.values)
      if (std::strcmp(cell.name, name) == 0) return &cell;
  return nullptr;
}

std::vector<int> CellInfos(const ValueCell& cell) {
  if (cell.form == ValueForm::kCheckSums) return {cell.info, cell.info + 1};  // the first half first
  return {cell.info};
}

std::string CellText(const ValueCell& cell, const std::function<std::string(int)>& answerOf) {
  switch (cell.form) {
    case ValueForm::kCount:
      return "[" + answerOf(cell.info) + "]";
    case ValueForm::kCheckSums:
      return "[" + answerOf(cell.info) + "],[" + answerOf(cell.info + 1) + "]";
    case ValueForm::kPlain:
    case ValueForm::kVatCoefficient:
      break;
  }
  return answerOf(cell.info);
}

}  // namespace korvena::kalibro
