#pragma once
// The status display: some sixty labels in the main window's client area,
// built once after the connection and partly refreshed after commands that
// change the totals. Each value label observes the device's values
// (DeviceValues) it shows; labels are found by component name (objectName).
#include <QString>
#include <QWidget>
#include <array>
#include <string>

#include "korvena/session/device_session.h"
#include "shell/device_values.h"
#include "shell/status_layout.h"

namespace korvena::kalibro {

class StatusDisplay {
 public:
  // The number of steps the build's progress bar is given: one per info
  // query, though only the 58 value labels advance it.
  static constexpr int kProgressMaximum = 59;

  StatusDisplay(QWidget& clientArea, session::DeviceSession& device, DeviceValues& values)
      : area_(clientArea), device_(device), values_(values) {}

  // A right-aligned label whose text ends at x = left + width.
  void AddValueLabel(int top, int left, int width, const QString& caption, const QString& name);
  // Sets every label named `name`; an unknown name changes nothing.
  void SetValueLabel(const QString& name, const QString& text);
  // The caption of the label named `name` into `text`; false (and `text` left
  // as it was) when there is none.
  bool GetValueLabel(const QString& name, QString& text) const;

  // Reads every value and creates every label, showing a progress window
  // owned by `progressOwner`. A VAT coefficient that is not an integer stops
  // the build with ConversionError; the labels made so far stay.
  void BuildStatusDisplay(QWidget* progressOwner);

  // Reads the totals, counters and check sums again into their labels.
  void RefreshTotals();
  // Reads the values of label `cell` into the device's values.
  void ReadCell(const ValueCell& cell);

 private:
  QString CaptionText(const CaptionCell& caption) const;

  QWidget& area_;
  session::DeviceSession& device_;
  DeviceValues& values_;
  std::array<int32_t, kVatRates> vatPercent_{};  // whole percent of each VAT rate
};

}  // namespace korvena::kalibro
