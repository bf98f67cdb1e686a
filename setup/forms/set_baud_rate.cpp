#include "forms/set_baud_rate.h"

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "korvena/protocol/line_rates.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {

TSetBaudRate::TSetBaudRate(QWidget* parent) : QDialog(parent) {
  setObjectName("SetBaudRate");
  setWindowTitle(Text(kSetBaudRateCaption));

  QStringList rates;
  for (const int32_t rate : protocol::kLineRates) rates << QString::number(rate);
  PCRadio = new TRadioGroup("PCRadio", rates, 1, this, Text(kPcLineCaption));
  PCRadio->setGeometry(8, 8, 105, 201);
  PRNRadio = new TRadioGroup("PRNRadio", rates, 1, this, Text(kInternalLineCaption));
  PRNRadio->setGeometry(121, 8, 105, 201);

  AddOkCancelButtons(*this, 217, 8);
  MakeFixedDialog(*this, 234, 250);
  if (parent != nullptr) CenterOn(*this, *parent);
}

}  // namespace korvena::kalibro
