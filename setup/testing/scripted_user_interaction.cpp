#include "scripted_user_interaction.h"

#include <QLineEdit>
#include <QTest>

namespace korvena::kalibro {

void ScriptedUserInteraction::ExpectDialog(const QString& objectName, int result,
                                           std::function<void(QDialog&)> fill) {
  steps_.push_back({objectName, result, std::move(fill)});
}

QStringList ScriptedUserInteraction::MessageTexts() const {
  QStringList texts;
  for (const Message& message : messages) texts << message.text;
  return texts;
}

int ScriptedUserInteraction::ExecDialog(QDialog& dialog) {
  dialogs.push_back(dialog.objectName());
  if (steps_.empty() || steps_.front().objectName != dialog.objectName()) {
    problems.push_back("unexpected dialog " + dialog.objectName());
    return QDialog::Rejected;
  }
  const DialogStep step = std::move(steps_.front());
  steps_.pop_front();
  dialog.setResult(QDialog::Rejected);
  if (step.fill) step.fill(dialog);
  return step.result == kResultOfDialog ? dialog.result() : step.result;
}

QMessageBox::StandardButton ScriptedUserInteraction::ShowMessage(QMessageBox::Icon icon, const QString& caption,
                                                                 const QString& text,
                                                                 QMessageBox::StandardButtons buttons) {
  messages.push_back({icon, caption, text, buttons});
  if (onMessage) onMessage(messages.back());
  if (!messageAnswers.empty()) {
    const QMessageBox::StandardButton answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
  }
  // The lowest flag is the first button of the box (Ok before Cancel, Yes before No).
  for (unsigned flag = QMessageBox::FirstButton; flag <= QMessageBox::LastButton; flag <<= 1)
    if (buttons.testFlag(static_cast<QMessageBox::StandardButton>(flag)))
      return static_cast<QMessageBox::StandardButton>(flag);
  return QMessageBox::NoButton;
}

std::optional<QString> ScriptedUserInteraction::AskText(const QString& caption, const QString& prompt,
                                                        const QString& initial) {
  prompts.push_back(prompt);
  if (textAnswers.empty()) return std::nullopt;
  const std::optional<QString> answer = std::move(textAnswers.front());
  textAnswers.pop_front();
  return answer;
}

QString ScriptedUserInteraction::AskOpenFileName(const FileDialogRequest& request) {
  return NextFileAnswer(request);
}

QString ScriptedUserInteraction::AskSaveFileName(const FileDialogRequest& request) {
  return NextFileAnswer(request);
}

QString ScriptedUserInteraction::NextFileAnswer(const FileDialogRequest& request) {
  prompts.push_back(request.title);
  if (fileAnswers.empty()) return {};
  QString answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

void TypeInto(QDialog& dialog, const QString& objectName, const QString& text) {
  auto* edit = dialog.findChild<QLineEdit*>(objectName);
  if (edit == nullptr) return;
  // keyClicks stops at characters outside Latin-1; those go as plain text.
  for (const QChar c : text) {
    if (c.unicode() < 0x100)
      QTest::keyClick(edit, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::KeyAction::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

}  // namespace korvena::kalibro
