#pragma once
// Where each value of the status display sits, what it shows and in which
// order it is read: the display is built row by row from this table, and the
// totals are refreshed from it by name.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvena::kalibro {

// How a value label's text is made from the device's answers.
enum class ValueForm {
  kPlain,           // the answer as received
  kCount,           // "[" answer "]"
  kCheckSums,       // "[" answer "],[" answer to info + 1 "]"
  kVatCoefficient,  // the answer, which must also be an integer (it names the VAT rows)
};

struct ValueCell {
  const char* name;
  int top, left, width;
  ValueForm form;
  int info;
  int vatRate = 0;  // 1..4 for kVatCoefficient
};

// How a caption label's text is made.
enum class CaptionForm {
  kFixed,    // `text`
  kVatRate,  // `text` ("z" or "d") followed by the whole percent of VAT rate `vatRate`
};

struct CaptionCell {
  const char* name;
  const char* text;  // UTF-8
  int top, left, width;
  CaptionForm form = CaptionForm::kFixed;
  int vatRate = 0;
};

struct StatusRow {
  std::optional<CaptionCell> caption;
  std::vector<ValueCell> values;
};

inline constexpr int kVatRates = 4;

const std::vector<StatusRow>& StatusLayout();

// The value labels RefreshTotals reads again, in its order.
const std::vector<const char*>& RefreshedValues();

// The cell of value label `name`; nullptr when the layout has none.
const ValueCell* FindValueCell(const char* name);

// The info numbers value label `cell` shows, in the order they are read
// (two for the check sums).
std::vector<int> CellInfos(const ValueCell& cell);
// The label's text in the device's 8-bit form, made of the answers
// `answerOf` gives for its info numbers, in the cell's form.
std::string CellText(const ValueCell& cell, const std::function<std::string(int)>& answerOf);

}  // namespace korvena::kalibro
