#include "shell/qt_user_interaction.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>

namespace korvena::kalibro {
namespace {

// A window that waits for the technician shows the normal pointer, even in
// the middle of a sequence that shows the busy one.
class NormalPointer {
 public:
  NormalPointer() : busy_(QApplication::overrideCursor() != nullptr) {
    if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~NormalPointer() {
    if (busy_) QApplication::restoreOverrideCursor();
  }
  NormalPointer(const NormalPointer&) = delete;
  NormalPointer& operator=(const NormalPointer&) = delete;

 private:
  bool busy_;
};

}  // namespace

int QtUserInteraction::ExecDialog(QDialog& dialog) {
  NormalPointer pointer;
  return dialog.exec();
}

QMessageBox::StandardButton QtUserInteraction::ShowMessage(QMessageBox::Icon icon, const QString& caption,
                                                           const QString& text,
                                                           QMessageBox::StandardButtons buttons) {
  NormalPointer pointer;
  QMessageBox box(icon, caption, text, buttons, owner_);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> QtUserInteraction::AskText(const QString& caption, const QString& prompt,
                                                  const QString& initial) {
  NormalPointer pointer;
  bool ok = false;
  const QString text = QInputDialog::getText(owner_, caption, prompt, QLineEdit::Normal, initial, &ok);
  if (!ok) return std::nullopt;
  return text;
}

QString QtUserInteraction::AskOpenFileName(const FileDialogRequest& request) { return AskFileName(request, false); }

QString QtUserInteraction::AskSaveFileName(const FileDialogRequest& request) { return AskFileName(request, true); }

QString QtUserInteraction::AskFileName(const FileDialogRequest& request, bool save) {
  NormalPointer pointer;
  QFileDialog dialog(owner_, request.title,
                     request.directory.isEmpty() ? QDir::currentPath() : request.directory);
  dialog.setNameFilters(request.filters);
  if (request.selectedFilter >= 0 && request.selectedFilter < request.filters.size())
    dialog.selectNameFilter(request.filters[request.selectedFilter]);
  dialog.setDefaultSuffix(request.defaultSuffix);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // An existing file is replaced without asking.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, save);
  dialog.setFileMode(save || !request.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace korvena::kalibro
