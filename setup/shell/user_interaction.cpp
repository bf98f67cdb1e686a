#include "shell/user_interaction.h"

#include "shell/kalibro_texts.h"

namespace korvena::kalibro {

void UserInteraction::ShowError(const QString& text) {
  ShowMessage(QMessageBox::Critical, Text(kApplicationTitle), text, QMessageBox::Ok);
}

void UserInteraction::ShowInformation(const QString& text) {
  ShowMessage(QMessageBox::NoIcon, Text(kApplicationTitle), text, QMessageBox::Ok);
}

}  // namespace korvena::kalibro
