#pragma once
// The technician's side of UserInteraction: real Qt windows, owned by the
// main window so they stay in front of it.
#include <QPointer>
#include <QWidget>

#include "shell/user_interaction.h"

namespace korvena::kalibro {

class QtUserInteraction final : public UserInteraction {
 public:
  void SetOwner(QWidget* owner) { owner_ = owner; }

  int ExecDialog(QDialog& dialog) override;
  QMessageBox::StandardButton ShowMessage(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                          QMessageBox::StandardButtons buttons) override;
  std::optional<QString> AskText(const QString& caption, const QString& prompt, const QString& initial) override;
  QString AskOpenFileName(const FileDialogRequest& request) override;
  QString AskSaveFileName(const FileDialogRequest& request) override;

 private:
  QString AskFileName(const FileDialogRequest& request, bool save);

  QPointer<QWidget> owner_;
};

}  // namespace korvena::kalibro
