#include "shell/status_display.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "korvena/operations/device_integer.h"
#include "shell/kalibro_texts.h"
#include "forms/progress_form.h"
#include "widgets/status_label.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {

void StatusDisplay::AddValueLabel(int top, int left, int width, const QString& caption, const QString& name) {
  new StatusLabel(&area_, top, left, width, caption, name);
}

void StatusDisplay::SetValueLabel(const QString& name, const QString& text) {
  for (QObject* child : area_.children()) {
    auto* label = qobject_cast<StatusLabel*>(child);
    if (label != nullptr && label->objectName() == name) label->SetCaption(text);
  }
}

bool StatusDisplay::GetValueLabel(const QString& name, QString& text) const {
  for (QObject* child : area_.children()) {
    auto* label = qobject_cast<StatusLabel*>(child);
    if (label != nullptr && label->objectName() == name) {
      text = label->text();
      return true;
    }
  }
  return false;
}

QString StatusDisplay::CaptionText(const CaptionCell& caption) const {
  if (caption.form == CaptionForm::kVatRate)
    return Text(caption.text) + QString::number(vatPercent_.at(static_cast<std::size_t>(caption.vatRate - 1)));
  return Text(caption.text);
}

void StatusDisplay::BuildStatusDisplay(QWidget* progressOwner) {
  const auto progress = std::make_unique<TProgressForm>(progressOwner);
  progress->setWindowTitle(Text(kLoadingData));
  progress->PBar->setMaximum(kProgressMaximum);
  progress->SetStep(1);
  progress->show();

  const auto answerOf = [this](int n) { return values_.Get(n).value_or(std::string()); };
  for (const StatusRow& row : StatusLayout()) {
    if (row.caption)
      AddValueLabel(row.caption->top, row.caption->left, row.caption->width, CaptionText(*row.caption),
                    row.caption->name);
    for (const ValueCell& cell : row.values) {
      ReadCell(cell);
      const std::string text = CellText(cell, answerOf);
      AddValueLabel(cell.top, cell.left, cell.width, FromWindows1250(text), cell.name);
      // The label follows its values from now on.
      const std::vector<int> infos = CellInfos(cell);
      QObject::connect(&values_, &DeviceValues::Changed, &area_, [this, &cell, infos, answerOf](int number) {
        if (std::find(infos.begin(), infos.end(), number) != infos.end())
          SetValueLabel(cell.name, FromWindows1250(CellText(cell, answerOf)));
      });
      // The coefficient in 0.01 % names its VAT rows by the whole percent.
      if (cell.form == ValueForm::kVatCoefficient)
        vatPercent_.at(static_cast<std::size_t>(cell.vatRate - 1)) = operations::ToInteger(text) / 100;
      progress->StepIt();
    }
  }
}

void StatusDisplay::ReadCell(const ValueCell& cell) {
  for (const int number : CellInfos(cell)) values_.Set(number, device_.QueryInfo(number));
}

void StatusDisplay::RefreshTotals() {
  for (const char* name : RefreshedValues())
    if (const ValueCell* cell = FindValueCell(name)) ReadCell(*cell);
}

}  // namespace korvena::kalibro
