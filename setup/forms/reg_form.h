#pragma once
// TRegForm: the device's register of operating flags, one check box per
// flag, ticked exactly when its bit is set. Boxes of flags the device sets
// itself only show them; two flags need a newer device to be changed.
#include <QCheckBox>
#include <QDialog>
#include <cstdint>
#include <vector>

namespace korvena::kalibro {

// A flag's check box; which flags may be changed, and how, the operations
// know (operations::RegisterFlagChangeable, WriteRegisterFlags).
struct RegisterFlag {
  const char* box;      // component name of its check box
  const char* caption;  // the box's caption (kalibro_texts.h)
  uint32_t bit;         // protocol::flag
};

// The nineteen flags in the order of their bits.
const std::vector<RegisterFlag>& RegisterFlags();

// The flag whose box is named `box`; std::out_of_range for a name no flag has.
const RegisterFlag& RegisterFlagOfBox(const char* box);

class TRegForm : public QDialog {
  Q_OBJECT

 public:
  // Ticks the boxes of the bits set in `flags` and enables the boxes a device
  // of version `deviceVersion` lets the technician change.
  TRegForm(int32_t flags, int32_t deviceVersion, QWidget* parent = nullptr);

  bool IsTicked(const RegisterFlag& flag) const;
};

}  // namespace korvena::kalibro
