#include "status_layout.h"

#include <cstring>

namespace korvena::kalibro {
namespace {

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

ValueCell Value(const char* name, int top, int left, int info, ValueForm form = P, int width = kValueWidth) {
  return {name, top, left, width, form, info};
}

ValueCell Coefficient(const char* name, int left, int info, int rate) {
  return {name, 235, left, 20, ValueForm::kVatCoefficient, info, rate};
}

// A GT total: its count in brackets, then its value.
StatusRow Total(const char* caption, const char* text, int top, const char* count, const char* value, int info) {
  return {Caption(caption, text, top, 430, 60), {Value(count, top, 500, info + 1, C, 50), Value(value, top, 550, info)}};
}

}  // namespace

const std::vector<StatusRow>& StatusLayout() {
  static const std::vector<StatusRow> layout = {
      {std::nullopt, {Value("vVerzia", 3, 250, 5)}},
      {Caption("lDKP", "DKP:", 30, 170), {Value("vDKP", 30, 250, 2)}},
      {Caption("lDIC", "DIČ:", 45, 170), {Value("vDIC", 45, 250, 3)}},
      {Caption("lICDPH", "IČ DPH:", 60, 170), {Value("vICDPH", 60, 250, 4)}},
      {Caption("lICO", "IČO:", 75, 170), {Value("vICO", 75, 250, 9)}},
      {Caption("lRegister", "Register:", 90, 170), {Value("vRegister", 90, 250, 1)}},
      {Caption("lWeeprom", "Weeprom:", 105, 160, 50), {Value("vWeeprom", 105, 250, 8)}},
      {Caption("lSN", "SN:", 120, 170), {Value("vSN", 120, 250, 7)}},
      {Caption("lDUDP", "DUDP:", 135, 170), {Value("vDUDP", 135, 250, 16)}},
      {Caption("lDServ", "DServ:", 150, 170), {Value("vDServ", 150, 250, 17)}},
      {Caption("lDUDate", "DUDate:", 165, 170), {Value("vDUDate", 165, 250, 61)}},
      {Caption("lDDate", "DDate:", 180, 170), {Value("vDDate", 180, 250, 62)}},
      {Caption("lDUDocs", "DUDocs:", 195, 170), {Value("vDUDocs", 195, 250, 63)}},
      {Caption("lCRC", "CRC:", 210, 170), {Value("vCRC", 210, 250, 64, ValueForm::kCheckSums)}},
      {Caption("lkDPH", "kDPH (v 0.01%):", 235, 150, 80),
       {Coefficient("vkDPH1", 260, 10, 1), Coefficient("vkDPH2", 300, 11, 2), Coefficient("vkDPH3", 340, 12, 3),
        Coefficient("vkDPH4", 380, 13, 4)}},
      {Caption("lGT2", "Čistý obrat:", 30, 430, 60), {Value("vGT2", 30, 500, 20, P, 150)}},
      {Caption("lGT3", "Záporný obrat:", 45, 420, 70), {Value("vGT3", 45, 500, 21, P, 150)}},
      {Caption("lVklad", "Vklad:", 60, 430, 60), {Value("vCntVklad", 60, 500, 37, C, 50), Value("vVklad", 60, 550, 36)}},
      {Caption("lVyber", "Výber:", 75, 430, 60), {Value("vCntVyber", 75, 500, 39, C, 50), Value("vVyber", 75, 550, 38)}},
      Total("lGTpl", "GTpl:", 90, "vCntGTpl", "vGTpl", 30),
      Total("lGTpr", "GTpr:", 105, "vCntGTpr", "vGTpr", 28),
      Total("lGTzl", "GTzl:", 120, "vCntGTzl", "vGTzl", 26),
      Total("lGTst", "GTst:", 135, "vCntGTst", "vGTst", 24),
      Total("lGTmi", "GTmi:", 150, "vCntGTmi", "vGTmi", 22),
      Total("lGTvt", "GTvr:", 165, "vCntGTvt", "vGTvt", 32),
      Total("lGTnd", "GTnd:", 180, "vCntGTnd", "vGTnd", 34),
      Total("lGTfa", "GTfa:", 195, "vCntGTfa", "vGTfa", 116),
      {Caption("lz0", "z0", 270, 200), {Value("vz0", 270, 250, 40)}},
      {VatCaption("lz1", "z", 285, 1), {Value("vz1", 285, 250, 41)}},
      {VatCaption("ld1", "d", 300, 1), {Value("vd1", 300, 250, 42)}},
      {VatCaption("lz2", "z", 315, 2), {Value("vz2", 315, 250, 43)}},
      {VatCaption("ld2", "d", 330, 2), {Value("vd2", 330, 250, 44)}},
      {VatCaption("lz3", "z", 345, 3), {Value("vz3", 345, 250, 45)}},
      {VatCaption("ld3", "d", 360, 3), {Value("vd3", 360, 250, 46)}},
      {VatCaption("lz4", "z", 375, 4), {Value("vz4", 375, 250, 47)}},
      {VatCaption("ld4", "d", 390, 4), {Value("vd4", 390, 250, 48)}},
      {Caption("lplat1", "plat1:", 270, 430), {Value("vplat1", 270, 480, 52)}},
      {Caption("lplat2", "plat2:", 285, 430), {Value("vplat2", 285, 480, 53)}},
      {Caption("lplat3", "plat3:", 300, 430), {Value("vplat3", 300, 480, 54)}},
      {Caption("lplat4", "plat4:", 315, 430), {Value("vplat4", 315, 480, 55)}},
      {Caption("lplat5", "plat5:", 330, 430), {Value("vplat5", 330, 480, 56)}},
      {Caption("lplat6", "plar6:", 345, 430), {Value("vplat6", 345, 480, 57)}},
      {Caption("lzaook", "zaokr:", 360, 430), {Value("vzaok", 360, 480, 49)}},
      {Caption("ldocs", "docs:", 375, 430), {Value("vdocs", 375, 480, 50)}},
      {Caption("ldocs2", "docs2:", 390, 430), {Value("vdocs2", 390, 480, 51)}},
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

std::string ReadValueText(const ValueCell& cell, const std::function<std::string(int)>& queryInfo) {
  switch (cell.form) {
    case ValueForm::kCount:
      return "[" + queryInfo(cell.info) + "]";
    case ValueForm::kCheckSums: {
      const std::string first = queryInfo(cell.info);  // the first half is asked for first
      return "[" + first + "],[" + queryInfo(cell.info + 1) + "]";
    }
    case ValueForm::kPlain:
    case ValueForm::kVatCoefficient:
      break;
  }
  return queryInfo(cell.info);
}

}  // namespace korvena::kalibro
