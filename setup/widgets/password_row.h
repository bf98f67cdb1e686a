#pragma once
// The password row the start-up and the password change dialogs share: a
// caption and, right of it, a numeric edit of at most eleven digits, each
// shown as a star.
#include <QString>

#include "widgets/num_edit.h"

namespace korvena::kalibro {

inline constexpr int kLongestPassword = 11;

// Adds the row to `dialog` with its top edge at `top`; returns the edit.
// Shows every character of `edit` as "*" while `masked`, as typed otherwise.
void MaskWithStars(QLineEdit& edit, bool masked = true);

TNumEdit* AddPasswordRow(UserInteraction& ui, QWidget& dialog, const char* labelName, const QString& caption,
                         const char* editName, int top);

}  // namespace korvena::kalibro
