#include "forms/reg_form.h"

#include <stdexcept>
#include <string_view>

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "korvena/operations/fiscal_identity.h"
#include "korvena/protocol/register_flags.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {
namespace {

constexpr int kBoxesPerColumn = 10;
constexpr int kColumnWidth = 240;
constexpr int kRowHeight = 20;

}  // namespace

const std::vector<RegisterFlag>& RegisterFlags() {
  namespace flag = protocol::flag;
  static const std::vector<RegisterFlag> flags = {
      {"ControlLCheck", kControlLCaption, flag::kT0},
      {"ControlMCheck", kControlMCaption, flag::kT1},
      {"ControlHCheck", kControlHCaption, flag::kT2},
      {"AutoTimeCheck", kAutoTimeCaption, flag::kTime},
      {"HvCheck", kHvCaption, flag::kHv},
      {"PrinterCheck", kPrinterCaption, flag::kFile},
      {"DlCheck", kDlCaption, flag::kDl},
      {"ServCheck", kServCaption, flag::kServiceDue},
      {"DispCheck", kDispCaption, flag::kDisplayDisconnected},
      {"PrnCheck", kPrnCaption, flag::kPrinterDisconnected},
      {"FPCheck", kFPCaption, flag::kFiscalMemoryDisconnected},
      {"DPHCheck", kDPHCaption, flag::kDph},
      {"AutoDZCheck", kAutoDZCaption, flag::kAdu},
      {"DZCheck", kDZCaption, flag::kDailyClosing},
      {"InitCheck", kInitCaption, flag::kInitialisation},
      {"TestCheck", kTestCaption, flag::kTestMode},
      {"UDPCheck", kUDPCaption, flag::kCommissioned},
      {"DisplayCheck", kDisplayCaption, flag::kNoDisplay},
      {"VkladCheck", kVkladCaption, flag::kAutomaticDeposit},
  };
  return flags;
}

const RegisterFlag& RegisterFlagOfBox(const char* box) {
  for (const RegisterFlag& flag : RegisterFlags())
    if (std::string_view(flag.box) == box) return flag;
  throw std::out_of_range(std::string("no register flag has the box ") + box);
}

TRegForm::TRegForm(int32_t flags, int32_t deviceVersion, QWidget* parent) : QDialog(parent) {
  setObjectName("RegForm");
  setWindowTitle(Text(kRegFormCaption));

  int index = 0;
  for (const RegisterFlag& flag : RegisterFlags()) {
    auto* box = new QCheckBox(Text(flag.caption), this);
    box->setObjectName(flag.box);
    box->setGeometry(16 + index / kBoxesPerColumn * kColumnWidth, 12 + index % kBoxesPerColumn * kRowHeight,
                     kColumnWidth - 8, 17);
    box->setChecked((static_cast<uint32_t>(flags) & flag.bit) != 0);
    box->setEnabled(operations::RegisterFlagChangeable(flag.bit, deviceVersion));
    ++index;
  }

  const int buttonsTop = 12 + kBoxesPerColumn * kRowHeight + 12;
  AddOkCancelButtons(*this, buttonsTop);
  MakeFixedDialog(*this, 16 + 2 * kColumnWidth, buttonsTop + 41);
  CenterOnScreen(*this);
}

bool TRegForm::IsTicked(const RegisterFlag& flag) const {
  const auto* box = findChild<QCheckBox*>(flag.box, Qt::FindDirectChildrenOnly);
  return box != nullptr && box->isChecked();
}

}  // namespace korvena::kalibro
