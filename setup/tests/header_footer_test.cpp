// The receipt header and footer dialog through its menu commands, against
// the emulated device.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <map>

#include "forms/frm_head.h"
#include "kalibro_rig.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::kalibro {
namespace {

// The lines the emulated shop's device starts with, as the PC shows them.
const char* const kDefaultHeader[] = {"Potraviny U Mosta s.r.o.", "Hlavná 12, 811 01 Bratislava", "IČO: 31234567",
                                      "DIČ: 2021234567", "IČ DPH: SK2021234567"};

struct StartedRig : KalibroRig {
  StartedRig() {
    StartAs("0");
    framesBefore = device.received().size();
  }
  // The frames since the start-up.
  std::vector<std::string> Frames() const {
    return {device.received().begin() + static_cast<std::ptrdiff_t>(framesBefore), device.received().end()};
  }
  // The HL or TL frames since the start-up.
  std::vector<std::string> Writes() const {
    std::vector<std::string> writes;
    for (const std::string& frame : Frames())
      if (frame.rfind("\x1b;HL;", 0) == 0 || frame.rfind("\x1b;TL;", 0) == 0) writes.push_back(frame);
    return writes;
  }
  std::size_t framesBefore = 0;
};

QString Edit(QDialog& dialog, int line) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("H%1Edit").arg(line))->text();
}

void SetEdit(QDialog& dialog, int line, const QString& text) {
  dialog.findChild<QLineEdit*>(QStringLiteral("H%1Edit").arg(line))->setText(text);
}

// The technician ticks chWrite and presses the write button.
void ConfirmWrite(QDialog& dialog) {
  dialog.findChild<QCheckBox*>("chWrite")->click();
  dialog.findChild<QPushButton*>("WriteButton")->click();
}

std::vector<std::string> WriteFrames(const std::string& command, const std::string& password,
                                     const std::vector<std::string>& texts) {
  std::vector<std::string> frames;
  for (std::size_t i = 0; i < 10; ++i)
    frames.push_back("\x1b;" + command + ";" + password + ";" + std::to_string(i) + ";" +
                     (i < texts.size() ? texts[i] : ""));
  return frames;
}

TEST(HeaderFooter, OpeningReadsTheTenLinesAndCancelWritesNothing) {
  const struct {
    const char* menuItem;
    int firstInfo;
    const char* caption;
    std::map<int, std::string> deviceLines;  // in code page 852
    std::map<int, const char*> shown;        // edit number -> text
  } cases[] = {
      {"popupHead",
       120,
       "Nastavenie hlavičky dokladu",
       {{125, "\xC9\xCD\xCB\xCD\xBB"}, {126, "\xBA Akcia \xB3"}, {127, "\xC8\xC4\xC1\xC4\xBC"}, {128, "\xB0\xDB\xFE"}},
       {{1, kDefaultHeader[0]}, {3, kDefaultHeader[2]}, {6, "+---+"}, {7, "¦ Akcia ¦"}, {8, "+---+"},
        {9, "___"}, {10, ""}}},
      {"popupTail",
       130,
       "Nastavenie päty dokladu",
       {{131, "\xA0\x9F\x96\x93 \xE7\x9C\xA7 \xAA\xFA"}},
       {{1, "Ďakujeme za nákup"}, {2, "áčľô šťž \u00a0·"}, {3, ""}}},
  };
  for (const auto& c : cases) {
    StartedRig rig;
    for (const auto& [info, line] : c.deviceLines) rig.device.state().info[info] = line;
    QString caption;
    std::map<int, QString> shown;
    rig.ui.ExpectDialog("frmHead", QDialog::Rejected, [&](QDialog& dialog) {
      caption = dialog.windowTitle();
      for (const auto& [line, text] : c.shown) shown[line] = Edit(dialog, line);
    });
    rig.form->MenuAction(c.menuItem)->trigger();

    EXPECT_TRUE(rig.ui.AllDialogsShown()) << c.menuItem;
    EXPECT_EQ(caption, QString::fromUtf8(c.caption));
    for (const auto& [line, text] : c.shown) EXPECT_EQ(shown[line], QString::fromUtf8(text)) << c.menuItem << line;
    std::vector<int> reads;
    for (int i = 0; i < 10; ++i) reads.push_back(c.firstInfo + i);
    EXPECT_EQ(rig.InfoQueries(rig.framesBefore), reads) << c.menuItem;
    EXPECT_EQ(rig.Frames().size(), 10u) << c.menuItem << ": no write";
  }
}

TEST(HeaderFooter, WriteSendsAllTenLinesInTheDevicesCodePage) {
  const struct {
    const char* what;
    const char* menuItem;
    std::string password;
    std::map<int, const char*> typed;  // edit number -> text
    std::vector<std::string> frames;
    std::map<int, std::string> deviceLines = {};  // in code page 852
  } cases[] = {
      {"unchanged lines go back byte for byte",
       "popupHead",
       "0",
       {},
       WriteFrames("HL", "0",
                   {"Potraviny U Mosta s.r.o.", "Hlavn\xA0 12, 811 01 Bratislava", "I\xACO: 31234567",
                    "DI\xAC: 2021234567", "I\xAC DPH: SK2021234567"})},
      {"an empty line 4 is written too",
       "popupHead",
       "0",
       {{1, "a"}, {2, "b"}, {3, "c"}, {4, ""}, {5, ""}},
       WriteFrames("HL", "0", {"a", "b", "c"})},
      {"Slovak letters, typographic quotes and the euro sign",
       "popupTail",
       "0",
       {{1, "áčľô ŠŤŽ"}, {2, "„Akcia“ – 5 €"}, {3, "‘x’ … ©"}},
       WriteFrames("TL", "0", {"\xA0\x9F\x96\x93 \xE6\x9B\xA6", "\"Akcia\" - 5 \xFE", "`x\" . C"})},
      {"no password: an empty first field; refused lines do not stop the rest",
       "popupHead",
       "",
       {{1, "x"}},
       WriteFrames("HL", "", {"x", "Hlavn\xA0 12, 811 01 Bratislava", "I\xACO: 31234567", "DI\xAC: 2021234567",
                              "I\xAC DPH: SK2021234567"})},
      {"a line longer than the edit's limit goes back whole",
       "popupTail",
       "0",
       {},
       WriteFrames("TL", "0", {std::string(45, '=')}),
       {{130, std::string(45, '=')}, {131, ""}}},
  };
  for (const auto& c : cases) {
    StartedRig rig;
    for (const auto& [info, line] : c.deviceLines) rig.device.state().info[info] = line;
    rig.form->state().LoginPassword = c.password;
    rig.ui.ExpectDialog("frmHead", ScriptedUserInteraction::kResultOfDialog, [&](QDialog& dialog) {
      for (const auto& [line, text] : c.typed) SetEdit(dialog, line, QString::fromUtf8(text));
      ConfirmWrite(dialog);
    });
    rig.form->MenuAction(c.menuItem)->trigger();
    EXPECT_EQ(rig.Writes(), c.frames) << c.what;
    EXPECT_TRUE(rig.ui.messages.empty()) << c.what << ": the device's answers are not shown";
  }
}

TEST(HeaderFooter, LinesLoadFromTheTextsFileKeysOfTheirDialog) {
  ScratchFolder dir;
  // PC text: 0xE8 is "č" in Windows-1250.
  const std::string path = dir.Write("shop.set",
                                     "HL1=Header one\r\nHL2=Header two\r\ntl1=Footer \xE8" "ast\r\nTL2=\r\n"
                                     "TL10=a=b\r\n");
  const struct {
    const char* what;
    const char* menuItem;
    QString file;
    std::vector<std::string> frames;  // written right after the load
    QStringList messages;
  } cases[] = {
      {"header", "popupHead", QString::fromStdString(path), WriteFrames("HL", "0", {"Header one", "Header two"}), {}},
      {"footer: TL keys only",
       "popupTail",
       QString::fromStdString(path),
       WriteFrames("TL", "0", {"Footer \x9F" "ast", "", "", "", "", "", "", "", "", "a=b"}),
       {}},
      {"file dialog cancelled: the lines stay", "popupTail", "",
       WriteFrames("TL", "0", {"\xD2" "akujeme za n\xA0kup", "Te\xE7\xA1me sa na Va\xE7u \xD4" "al\xE7iu n\xA0v\xE7tevu"}),
       {}},
      {"unreadable file: an error box and the lines stay",
       "popupTail",
       QString::fromStdString(dir / "missing.set"),
       WriteFrames("TL", "0", {"\xD2" "akujeme za n\xA0kup", "Te\xE7\xA1me sa na Va\xE7u \xD4" "al\xE7iu n\xA0v\xE7tevu"}),
       {QString::fromStdString("Cannot open file \"" + (dir / "missing.set") + "\". The file does not exist.")}},
  };
  for (const auto& c : cases) {
    StartedRig rig;
    rig.ui.fileAnswers.push_back(c.file);
    std::size_t framesAfterLoad = 0;
    rig.ui.ExpectDialog("frmHead", ScriptedUserInteraction::kResultOfDialog, [&](QDialog& dialog) {
      dialog.findChild<QPushButton*>("ReadButton")->click();
      framesAfterLoad = rig.device.received().size();
      ConfirmWrite(dialog);
    });
    rig.form->MenuAction(c.menuItem)->trigger();
    EXPECT_EQ(framesAfterLoad, rig.framesBefore + 10) << c.what << ": loading sends nothing";
    EXPECT_EQ(rig.Writes(), c.frames) << c.what;
    EXPECT_EQ(rig.ui.MessageTexts(), c.messages) << c.what;
    EXPECT_EQ(rig.ui.prompts, std::vector<QString>{QString::fromUtf8("Načítať texty do súboru")}) << c.what;
  }
}

// The write button is usable exactly while chWrite is ticked; LabelPos shows
// the caret of the line being edited, follows the keys and the focus but not
// the mouse, and is cleared when the focus goes to a check box or button.
TEST(HeaderFooter, WriteLockAndCaretPosition) {
  StartedRig rig;
  rig.ui.ExpectDialog("frmHead", QDialog::Rejected, [&](QDialog& dialog) {
    auto* write = dialog.findChild<QPushButton*>("WriteButton");
    auto* chWrite = dialog.findChild<QCheckBox*>("chWrite");
    auto* labelPos = dialog.findChild<QLabel*>("LabelPos");
    auto* line1 = dialog.findChild<QLineEdit*>("H1Edit");
    auto* line2 = dialog.findChild<QLineEdit*>("H2Edit");
    EXPECT_FALSE(write->isEnabled());
    chWrite->click();
    EXPECT_TRUE(write->isEnabled());
    chWrite->click();
    EXPECT_FALSE(write->isEnabled());

    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(line1->hasFocus());
    EXPECT_EQ(labelPos->text(), "24") << "the first line is entered as the dialog opens; its caret is at the end";
    // The key goes down in line 1 and comes up in line 2, which has the focus then.
    QTest::keyPress(line1, Qt::Key_Tab);
    ASSERT_TRUE(line2->hasFocus());
    QTest::keyRelease(line2, Qt::Key_Tab);
    EXPECT_EQ(labelPos->text(), "0") << "entered by Tab: the whole line selected from 0";
    QTest::keyClick(line2, Qt::Key_End);
    EXPECT_EQ(labelPos->text(), "28");
    QTest::keyClick(line2, Qt::Key_Left);
    EXPECT_EQ(labelPos->text(), "27");
    QTest::mouseClick(line2, Qt::LeftButton, {}, QPoint(3, line2->height() / 2));
    EXPECT_EQ(line2->cursorPosition(), 0) << "the click moved the caret";
    EXPECT_EQ(labelPos->text(), "27") << "but not LabelPos";
    QTest::keyClick(line2, Qt::Key_Right);
    EXPECT_EQ(labelPos->text(), "1");

    chWrite->setChecked(true);  // a disabled button cannot take the focus
    for (const char* control : {"chWrite", "ReadButton", "CancelButton", "WriteButton"}) {
      line2->setFocus(Qt::OtherFocusReason);
      EXPECT_EQ(labelPos->text(), "1") << control;
      dialog.findChild<QWidget*>(control)->setFocus(Qt::OtherFocusReason);
      EXPECT_EQ(labelPos->text(), "") << control;
    }
  });
  rig.form->MenuAction("popupHead")->trigger();
  EXPECT_TRUE(rig.ui.AllDialogsShown());
}

}  // namespace
}  // namespace korvena::kalibro
