#include "reg_form.h"

#include <stdexcept>
#include <string_view>

#include "dialog_buttons.h"
#include "kalibro_texts.h"
#include "window_placement.h"

namespace korvena::kalibro {
namespace {

constexpr int kBoxesPerColumn = 10;
constexpr int kColumnWidth = 240;
constexpr int kRowHeight = 20;

bool Changeable(FlagChange change, int32_t deviceVersion) {
  switch (change) {
    case FlagChange::kShownOnly:
      return false;
    case FlagChange::kYes:
      return true;
    case FlagChange::kAfter13021:
      return deviceVersion > 13021;
    case FlagChange::kAfter13022:
      return deviceVersion > 13022;
  }
  return false;
}

}  // namespace

const std::vector<RegisterFlag>& RegisterFlags() {
  using enum FlagChange;
  static const std::vector<RegisterFlag> flags = {
      {"ControlLCheck", kControlLCaption, 1, "T0", kYes},
      {"ControlMCheck", kControlMCaption, 2, "T1", kYes},
      {"ControlHCheck", kControlHCaption, 4, "T2", kYes},
      {"AutoTimeCheck", kAutoTimeCaption, 16, "TIME", kYes},
      {"HvCheck", kHvCaption, 32, "HV", kYes},
      {"PrinterCheck", kPrinterCaption, 64, "FILE", kAfter13021},
      {"DlCheck", kDlCaption, 128, "DL", kYes},
      {"ServCheck", kServCaption, 256, nullptr, kShownOnly},
      {"DispCheck", kDispCaption, 512, nullptr, kShownOnly},
      {"PrnCheck", kPrnCaption, 1024, nullptr, kShownOnly},
      {"FPCheck", kFPCaption, 2048, nullptr, kShownOnly},
      {"DPHCheck", kDPHCaption, 4096, "DPH", kYes},
      {"AutoDZCheck", kAutoDZCaption, 8192, "ADU", kYes},
      {"DZCheck", kDZCaption, 16384, nullptr, kShownOnly},
      {"InitCheck", kInitCaption, 32768, nullptr, kShownOnly},
      {"TestCheck", kTestCaption, 65536, nullptr, kYes},
      {"UDPCheck", kUDPCaption, 131072, nullptr, kShownOnly},
      {"DisplayCheck", kDisplayCaption, 262144, "NODISP", kYes},
      {"VkladCheck", kVkladCaption, 524288, nullptr, kAfter13022},
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
    box->setEnabled(Changeable(flag.change, deviceVersion));
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
