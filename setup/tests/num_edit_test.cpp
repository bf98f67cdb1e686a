#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "widgets/num_edit.h"
#include "forms/pass_i_form.h"
#include "scripted_user_interaction.h"

namespace korvena::kalibro {
namespace {

// What the technician types, key by key, and what the field makes of it.
TEST(TNumEdit, TakesOnlyDigitsAndComplainsAboveTheLargestNumber) {
  const struct {
    const char* typed;
    int maxLength;
    const char* text;
    int beeps;
    int complaints;
  } cases[] = {
      {"1234", 11, "1234", 0, 0},
      {"12a3 -4.5", 11, "12345", 4, 0},
      {"2147483647", 11, "2147483647", 0, 0},
      {"2147483648", 11, "2147483648", 0, 1},    // the tenth digit goes past the limit
      {"99999999999", 11, "99999999999", 0, 2},  // the tenth and the eleventh
      {"00000000007", 11, "00000000007", 0, 0},  // leading zeros do not count
      {"123456789012", 11, "12345678901", 0, 1},  // the eleventh is too large, the twelfth cut
      {"12\b\b5", 11, "5", 0, 0},                 // Backspace works
  };
  for (const auto& c : cases) {
    ScriptedUserInteraction ui;
    TNumEdit edit(ui);
    edit.setMaxLength(c.maxLength);
    QSignalSpy beeps(&edit, &TNumEdit::keyRejected);
    for (const char* key = c.typed; *key != '\0'; ++key) {
      if (*key == '\b')
        QTest::keyClick(&edit, Qt::Key_Backspace);
      else
        QTest::keyClick(&edit, *key);
    }
    EXPECT_EQ(edit.text(), c.text) << c.typed;
    EXPECT_EQ(beeps.count(), c.beeps) << c.typed;
    ASSERT_EQ(static_cast<int>(ui.messages.size()), c.complaints) << c.typed;
    for (const auto& message : ui.messages) {
      EXPECT_EQ(message.text, "InvalidInput");
      EXPECT_EQ(message.buttons, QMessageBox::Ok);
    }
  }
}

// Keys as Windows reports them: AltGr comes as Ctrl+Alt with the character.
TEST(TNumEdit, CharactersTypedWithModifiersAreCheckedToo) {
  const struct {
    const char* what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    bool beeps;
  } cases[] = {
      {"AltGr+Q", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, "@", true},
      {"AltGr+E", Qt::Key_E, Qt::ControlModifier | Qt::AltModifier, QString::fromUtf8("€"), true},
      {"Shift+A", Qt::Key_A, Qt::ShiftModifier, "A", true},
      {"Ctrl+A, select all", Qt::Key_A, Qt::ControlModifier, "\x01", false},
      {"keypad 7", Qt::Key_7, Qt::KeypadModifier, "7", false},
  };
  for (const auto& c : cases) {
    ScriptedUserInteraction ui;
    TNumEdit edit(ui);
    edit.setText("12");
    QSignalSpy beeps(&edit, &TNumEdit::keyRejected);
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.text);
    QCoreApplication::sendEvent(&edit, &press);
    EXPECT_EQ(beeps.count(), c.beeps ? 1 : 0) << c.what;
    EXPECT_TRUE(edit.HasValidText()) << c.what << ": " << edit.text().toStdString();
  }
}

TEST(TNumEdit, PastedTextIsCheckedLikeTypedText) {
  ScriptedUserInteraction ui;
  TNumEdit edit(ui);
  // A sign would reach the device as typed: amounts and passwords are digits.
  for (const char* pasted : {"12,50", "", "-5", "+7", " 42", "0042"}) edit.setText(pasted);
  ASSERT_EQ(ui.messages.size(), 4u);
  EXPECT_EQ(ui.messages[3].text, "InvalidInput");
}

TEST(TNumEdit, FocusCannotLeaveAnInvalidNumber) {
  ScriptedUserInteraction ui;
  QWidget window;
  TNumEdit edit(ui, &window);
  QLineEdit other(&window);
  window.show();
  QApplication::setActiveWindow(&window);
  edit.setFocus();
  edit.setText("3000000000");
  ASSERT_EQ(ui.messages.size(), 1u);
  other.setFocus();
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_TRUE(edit.hasFocus());

  edit.setText("30");
  other.setFocus();
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_TRUE(other.hasFocus());
}

// Only moving on within the window is held back: a number still being typed
// raises no box when another window comes to the front.
TEST(TNumEdit, AnotherWindowMayTakeTheFocusFromAnInvalidNumber) {
  const struct {
    Qt::FocusReason reason;
    std::size_t complaints;
  } cases[] = {{Qt::TabFocusReason, 1}, {Qt::MouseFocusReason, 1}, {Qt::ActiveWindowFocusReason, 0},
               {Qt::PopupFocusReason, 0}};
  for (const auto& c : cases) {
    ScriptedUserInteraction ui;
    TNumEdit edit(ui);
    edit.setText("3000000000");
    ui.messages.clear();
    QFocusEvent focusOut(QEvent::FocusOut, c.reason);
    QCoreApplication::sendEvent(&edit, &focusOut);
    EXPECT_EQ(ui.messages.size(), c.complaints) << c.reason;
  }
}

TEST(TPassIForm, PasswordFieldShowsStarsAndHoldsElevenDigits) {
  ScriptedUserInteraction ui;
  TPassIForm form(ui);
  EXPECT_EQ(form.windowTitle(), "Vstup hesla");
  EXPECT_EQ(form.PasswdText->objectName(), "PasswdText");
  EXPECT_EQ(form.PasswdText->maxLength(), 11);
  EXPECT_EQ(form.PasswdText->echoMode(), QLineEdit::Password);
  EXPECT_EQ(form.findChild<QPushButton*>("CancelButton")->text(), QString::fromUtf8("&Zrušiť"));
  EXPECT_TRUE(form.findChild<QPushButton*>("OkButton")->isDefault());
  TypeInto(form, "PasswdText", "4711");
  EXPECT_EQ(form.Password(), "4711");
}

}  // namespace
}  // namespace korvena::kalibro
