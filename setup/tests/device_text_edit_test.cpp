// A value the device gave is shown and written back whole; the edit's limit
// holds only what the technician types.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "widgets/device_text_edit.h"

namespace korvena::kalibro {
namespace {

TEST(DeviceTextEdit, TheLimitHoldsTypingButNotTheDevicesValue) {
  const struct {
    const char* shown;  // put in by the program
    const char* keys;   // then typed; '\b' is Backspace, '<' Home, '>' Delete
    const char* text;
  } cases[] = {
      {"abcdefgh", "", "abcdefgh"},     // longer than the limit of 5, kept whole
      {"abcdefgh", "x", "abcdefgh"},    // typing at the limit is refused
      {"abcdefgh", "\bx", "abcdefg"},   // deleting lowers the limit with the text
      {"abcdefgh", "\b\b\b\bxy", "abcdx"},  // down to 5 and no further
      {"abcdefgh", "<>>>>x", "xefgh"},  // the caret stays where the keys put it
      {"abc", "xyz", "abcxy"},
      {"", "123456", "12345"},
  };
  for (const auto& c : cases) {
    QLineEdit edit;
    LimitTyping(edit, 5);
    ShowWhole(edit, "an earlier, longer value");
    ShowWhole(edit, c.shown);
    for (const char* key = c.keys; *key != '\0'; ++key) {
      if (*key == '\b')
        QTest::keyClick(&edit, Qt::Key_Backspace);
      else if (*key == '<')
        QTest::keyClick(&edit, Qt::Key_Home);
      else if (*key == '>')
        QTest::keyClick(&edit, Qt::Key_Delete);
      else
        QTest::keyClick(&edit, *key);
    }
    EXPECT_EQ(edit.text().toStdString(), c.text) << c.shown << " + " << c.keys;
  }
}

}  // namespace
}  // namespace korvena::kalibro
