#pragma once
// UserInteraction answered by a test script: each modal dialog is taken from
// a queue of expected dialogs (matched by objectName), filled by the script
// and closed with the script's result; message boxes, input boxes and file
// dialogs take queued answers. Everything shown is recorded.
#include <deque>
#include <functional>
#include <vector>

#include "shell/user_interaction.h"

namespace korvena::kalibro {

class ScriptedUserInteraction final : public UserInteraction {
 public:
  // ExecDialog returns what the dialog itself decided (after `fill` clicked
  // one of its buttons, say) instead of a fixed result.
  static constexpr int kResultOfDialog = -1;

  struct DialogStep {
    QString objectName;
    int result = QDialog::Accepted;
    std::function<void(QDialog&)> fill;
  };
  struct Message {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
  };

  void ExpectDialog(const QString& objectName, int result, std::function<void(QDialog&)> fill = {});

  // Answers, used in order; when a queue is empty a message box takes its
  // first button, an input box is cancelled and a file dialog is cancelled.
  std::deque<QMessageBox::StandardButton> messageAnswers;
  std::deque<std::optional<QString>> textAnswers;
  std::deque<QString> fileAnswers;

  // Called whenever a message box comes up, e.g. to look at the screen then.
  std::function<void(const Message&)> onMessage;

  // What was shown.
  std::vector<QString> dialogs;   // objectNames, in order
  std::vector<Message> messages;
  std::vector<QString> prompts;   // input box prompts and file dialog titles
  std::vector<QString> problems;  // dialogs that came without a script step or out of order

  QStringList MessageTexts() const;
  bool AllDialogsShown() const { return steps_.empty(); }

  int ExecDialog(QDialog& dialog) override;
  QMessageBox::StandardButton ShowMessage(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                          QMessageBox::StandardButtons buttons) override;
  std::optional<QString> AskText(const QString& caption, const QString& prompt, const QString& initial) override;
  QString AskOpenFileName(const FileDialogRequest& request) override;
  QString AskSaveFileName(const FileDialogRequest& request) override;

 private:
  QString NextFileAnswer(const FileDialogRequest& request);

  std::deque<DialogStep> steps_;
};

// Types `text` into the line edit `objectName` of `dialog` key by key, as the
// technician would (so key filters and change handlers run).
void TypeInto(QDialog& dialog, const QString& objectName, const QString& text);

}  // namespace korvena::kalibro
