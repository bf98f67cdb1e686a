#pragma once
// TRegForm: the device's register of operating flags, one check box per
// flag, ticked exactly when its bit is set. Boxes of flags the device sets
// itself only show them; two flags need a newer device to be changed.
#include <QCheckBox>
#include <QDialog>
#include <cstdint>
#include <vector>

namespace korvena::kalibro {

// Who may change a flag.
enum class FlagChange {
  kShownOnly,  // the device's own flag
  kYes,
  kAfter13021,  // a device version above 13021
  kAfter13022,  // a device version above 13022
};

struct RegisterFlag {
  const char* box;      // component name of its check box
  const char* caption;  // the box's caption (kalibro_texts.h)
  uint32_t bit;
  // The name ESC ";STP;" sets and clears it by; nullptr for the shown-only
  // flags and for the two with commands of their own (test mode, automatic deposit).
  const char* written;
  FlagChange change;
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
