#pragma once
// Everything that waits for the technician goes through this one interface:
// modal dialogs, message boxes, input boxes and file dialogs. The program
// shows real windows (QtUserInteraction); tests answer from a script and
// record every text shown (ScriptedUserInteraction).
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>

namespace korvena::kalibro {

// An open or save file dialog as the commands describe it.
struct FileDialogRequest {
  QString title;
  QString directory;        // the current directory when empty
  QStringList filters;      // Qt form, e.g. "Kalibro file (*.set)"
  int selectedFilter = 0;   // index into `filters`
  QString defaultSuffix;    // added when the name typed has none
  bool mustExist = false;   // open dialogs: only an existing file
};

class UserInteraction {
 public:
  virtual ~UserInteraction() = default;

  // Shows `dialog` modally and returns its result code (QDialog::Accepted,
  // QDialog::Rejected or what the dialog passed to done()).
  virtual int ExecDialog(QDialog& dialog) = 0;

  // A message box; the button chosen.
  virtual QMessageBox::StandardButton ShowMessage(QMessageBox::Icon icon, const QString& caption,
                                                  const QString& text, QMessageBox::StandardButtons buttons) = 0;

  // A one-line input box; nullopt when it was cancelled.
  virtual std::optional<QString> AskText(const QString& caption, const QString& prompt,
                                         const QString& initial) = 0;

  // The file chosen; empty when the dialog was cancelled.
  virtual QString AskOpenFileName(const FileDialogRequest& request) = 0;
  virtual QString AskSaveFileName(const FileDialogRequest& request) = 0;

  // The boxes the program uses most: an error box and a plain message, each
  // with one OK button and the application title as caption.
  void ShowError(const QString& text);
  void ShowInformation(const QString& text);
};

}  // namespace korvena::kalibro
