#include "forms/ztyp_form.h"

#include <QLabel>
#include <iterator>

#include "widgets/dialog_buttons.h"
#include "shell/kalibro_texts.h"
#include "shell/window_placement.h"

namespace korvena::kalibro {
namespace {

// Component names, in the order of kRoundingEntryCaptions.
constexpr const char* kEntryNames[] = {"Za", "Zb", "Zc", "Zhv", "Zd", "Zk"};
static_assert(std::size(kEntryNames) == TZtypForm::kEntries);
static_assert(std::size(kRoundingEntryCaptions) == TZtypForm::kEntries);

constexpr int kRowHeight = 28;

}  // namespace

TZtypForm::TZtypForm(QWidget* owner) : QDialog(owner) {
  setObjectName("ZtypForm");
  setWindowTitle(Text(kZtypFormCaption));
  for (int index = 0; index < kEntries; ++index) {
    const int top = 16 + index * kRowHeight;
    const QString name = kEntryNames[index];
    auto* label = new QLabel(Caption(index), this);
    label->setObjectName(name + "Label");
    label->setGeometry(16, top + 4, 40, 16);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name + "Edit");
    edit->setGeometry(64, top, 121, 21);
    label->setBuddy(edit);
    entries_[static_cast<std::size_t>(index)] = edit;
  }
  AddOkCancelButtons(*this, 16 + kEntries * kRowHeight + 8);
  MakeFixedDialog(*this, 201, 16 + kEntries * kRowHeight + 44);
  if (owner != nullptr) CenterOn(*this, *owner);
}

QString TZtypForm::Caption(int index) { return Text(kRoundingEntryCaptions[index]); }

}  // namespace korvena::kalibro
