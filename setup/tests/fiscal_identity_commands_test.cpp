// Tax identity, VAT coefficients, module register and commissioning, each
// through its menu item against the emulated device: the exact frames sent,
// the messages shown and the status labels after the read-backs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <array>
#include <cstdio>
#include <optional>

#include "kalibro_rig.h"
#include "korvena/platform/local_date.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::kalibro {
namespace {

using Labels = std::vector<std::pair<const char*, QString>>;
constexpr int kOfDialog = ScriptedUserInteraction::kResultOfDialog;

// Started with the password "0"; `version` is what the device reports as its version number.
void Start(KalibroRig& rig, const char* version = "13022") {
  rig.device.state().info[1000] = version;
  rig.ChooseComItem(0);
  rig.TypePassword("0");
  rig.Start();
  ASSERT_TRUE(rig.ui.problems.empty());
}

// The frames received from `from` on, ESC included, CR not.
Frames FramesSince(const KalibroRig& rig, std::size_t from) {
  const auto& received = rig.device.received();
  return {received.begin() + static_cast<std::ptrdiff_t>(from), received.end()};
}

Frames WithEsc(std::initializer_list<const char*> commands) {
  Frames frames;
  for (const char* command : commands) frames.push_back(std::string("\x1b;") + command);
  return frames;
}

void ExpectLabels(const KalibroRig& rig, const Labels& labels, const char* what) {
  for (const auto& [name, text] : labels) EXPECT_EQ(rig.Label(name), text) << what << ": " << name;
}

void Retype(QDialog& dialog, const char* edit, const QString& text) {
  dialog.findChild<QLineEdit*>(edit)->clear();
  TypeInto(dialog, edit, text);
}

void Click(QDialog& dialog, const char* button) { dialog.findChild<QAbstractButton*>(button)->click(); }

QString Today() {
  const LocalDate date = CurrentLocalDate();
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.day, date.month, date.year);
  return text;
}

TEST(TaxIdentity, WritesEachFilledValueAndReadsItBack) {
  const struct {
    const char* what;
    std::array<QString, 4> typed;  // DIČ, DKP, IČ DPH, IČO; "" clears the edit
    bool confirmed;                // chWrite ticked before "&Zapísať"
    Frames frames;                 // after the four reads that fill the dialog
    Labels labels;
  } cases[] = {
      {"each edit stops at its limit, DKP at 17",
       {"12345678901234567", "123456789012345678", "SK12345678901234567", "12345678901234567"},
       true,
       WithEsc({"STDIC;0;1234567890123456", "IV;3", "STDKP;0;12345678901234567", "IV;2", "STICDPH;0;SK12345678901234",
                "IV;4", "STICO;0;1234567890123456", "IV;9"}),
       {{"vDIC", "1234567890123456"},
        {"vDKP", "12345678901234567"},
        {"vICDPH", "SK12345678901234"},
        {"vICO", "1234567890123456"}}},
      {"cleared edits send nothing for their values",
       {"2020", "", QString::fromUtf8("SKč1"), ""},
       true,
       {"\x1b;STDIC;0;2020", "\x1b;IV;3",
        "\x1b;STICDPH;0;SK\xe8"
        "1",
        "\x1b;IV;4"},
       {{"vDIC", "2020"}, {"vDKP", "21234567890123456"}, {"vICDPH", QString::fromUtf8("SKč1")}, {"vICO", "31234567"}}},
      {"all four empty send no command", {"", "", "", ""}, true, {}, {{"vDIC", "2021234567"}}},
      {"not confirmed, nothing is written", {"1", "2", "3", "4"}, false, {}, {{"vDIC", "2021234567"}}},
  };
  for (const auto& c : cases) {
    KalibroRig rig;
    Start(rig);
    rig.ui.ExpectDialog("DickpForm", kOfDialog, [&c](QDialog& dialog) {
      for (int i = 0; i < 4; ++i) Retype(dialog, QString("Txt%1Text").arg(i + 1).toLatin1().constData(), c.typed[i]);
      if (c.confirmed) Click(dialog, "chWrite");
      Click(dialog, "WriteButton");
    });
    const std::size_t mark = rig.device.received().size();
    rig.form->MenuAction("popupDICDKP")->trigger();

    Frames expected = WithEsc({"IV;3", "IV;2", "IV;4", "IV;9"});
    expected.insert(expected.end(), c.frames.begin(), c.frames.end());
    EXPECT_EQ(FramesSince(rig, mark), expected) << c.what;
    EXPECT_TRUE(rig.ui.AllDialogsShown()) << c.what;
    ExpectLabels(rig, c.labels, c.what);
  }
}

TEST(TaxIdentity, LoadsTheEditsFromATextsFileAndKeepsThemWhenItCannotBeRead) {
  ScratchFolder folder;
  const std::string path = folder.Write("shop.set", "ico=\r\nDIC=111\r\nDKP=222\r\nHL1=x\r\nICDPH=SK\xe8\r\n");
  KalibroRig rig;
  Start(rig);
  rig.ui.fileAnswers = {QString::fromStdString(folder / "missing.set"), QString::fromStdString(path)};
  std::array<QString, 4> afterFailure;
  rig.ui.ExpectDialog("DickpForm", kOfDialog, [&](QDialog& dialog) {
    Click(dialog, "ReadButton");
    for (int i = 0; i < 4; ++i) afterFailure[i] = dialog.findChild<QLineEdit*>(QString("Txt%1Text").arg(i + 1))->text();
    Click(dialog, "ReadButton");
    Click(dialog, "chWrite");
    Click(dialog, "WriteButton");
  });
  const std::size_t mark = rig.device.received().size();
  rig.form->MenuAction("popupDICDKP")->trigger();

  EXPECT_EQ(afterFailure, (std::array<QString, 4>{"2021234567", "21234567890123456", "SK2021234567", "31234567"}));
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(rig.ui.messages[0].text.contains("missing.set")) << rig.ui.messages[0].text.toStdString();
  EXPECT_EQ(rig.ui.prompts, (std::vector<QString>(2, QString::fromUtf8("Načítať texty do súboru"))));
  // IČO is empty in the file, so it is left as the device has it.
  EXPECT_EQ(FramesSince(rig, mark), WithEsc({"IV;3", "IV;2", "IV;4", "IV;9", "STDIC;0;111", "IV;3", "STDKP;0;222",
                                             "IV;2", "STICDPH;0;SK\xe8", "IV;4"}));
  EXPECT_EQ(rig.Label("vICDPH"), QString::fromUtf8("SKč"));
}

TEST(VatCoefficients, ChecksAllFourThenWritesThemAndRetitlesTheRates) {
  const struct {
    std::array<const char*, 4> typed;
    const char* error;  // nullptr: written
    Frames frames;
    Labels labels;
  } cases[] = {
      {{"0", "10000", "02000", "2050"},
       nullptr,
       WithEsc({"STKDPH;0;0;10000;2000;2050", "IV;10", "IV;11", "IV;12", "IV;13"}),
       {{"vkDPH1", "0"},
        {"vkDPH2", "10000"},
        {"vkDPH3", "2000"},
        {"vkDPH4", "2050"},
        {"lz1", "z0"},
        {"ld1", "d0"},
        {"lz2", "z100"},
        {"ld2", "d100"},
        {"lz3", "z20"},
        {"ld3", "d20"},
        {"lz4", "z20"},
        {"ld4", "d20"}}},
      {{"2000", "1000", "10001", "0"}, "Nesprávny koeficient DPH3 !", {}, {{"vkDPH3", "0"}, {"lz3", "z0"}}},
      {{"", "1000", "99999", "0"}, "Nesprávny koeficient DPH1 !", {}, {{"vkDPH1", "2000"}, {"lz1", "z20"}}},
  };
  for (const auto& c : cases) {
    KalibroRig rig;
    Start(rig);
    std::array<QString, 4> shown;
    rig.ui.ExpectDialog("KdphForm", QDialog::Accepted, [&](QDialog& dialog) {
      for (int i = 0; i < 4; ++i) {
        const std::string edit = "Txt" + std::to_string(i + 1) + "Text";
        shown[i] = dialog.findChild<QLineEdit*>(edit.c_str())->text();
        Retype(dialog, edit.c_str(), c.typed[i]);
      }
    });
    const std::size_t mark = rig.device.received().size();
    rig.form->MenuAction("popupkDPH")->trigger();

    // Filled from the status display, not from the device.
    EXPECT_EQ(shown, (std::array<QString, 4>{"2000", "1000", "0", "0"})) << c.typed[2];
    EXPECT_EQ(FramesSince(rig, mark), c.frames) << c.typed[2];
    if (c.error) {
      ASSERT_EQ(rig.ui.messages.size(), 1u) << c.typed[2];
      EXPECT_EQ(rig.ui.messages[0].text, QString::fromUtf8(c.error));
      EXPECT_EQ(rig.ui.messages[0].icon, QMessageBox::Critical);
    } else {
      EXPECT_TRUE(rig.ui.messages.empty()) << rig.ui.MessageTexts().join('|').toStdString();
    }
    ExpectLabels(rig, c.labels, c.typed[2]);
  }
}

TEST(ModuleRegister, TicksTheBitsAndLetsNewerDevicesChangeMore) {
  const char* shownOnly[] = {"ServCheck", "DispCheck", "PrnCheck", "FPCheck", "DZCheck", "InitCheck", "UDPCheck"};
  const struct {
    const char* version;
    bool printer;
    bool deposit;
  } cases[] = {{"13021", false, false}, {"13022", true, false}, {"13023", true, true}};
  for (const auto& c : cases) {
    KalibroRig rig;
    rig.device.state().info[1] = "1048575";  // every bit up to the deposit's
    Start(rig, c.version);
    std::map<QString, std::pair<bool, bool>> boxes;  // ticked, enabled
    rig.ui.ExpectDialog("RegForm", QDialog::Rejected, [&](QDialog& dialog) {
      for (const QCheckBox* box : dialog.findChildren<QCheckBox*>())
        boxes[box->objectName()] = {box->isChecked(), box->isEnabled()};
    });
    rig.form->MenuAction("popupRegister")->trigger();

    ASSERT_EQ(boxes.size(), 19u);
    for (const auto& [name, state] : boxes) EXPECT_TRUE(state.first) << name.toStdString();
    for (const char* name : shownOnly) EXPECT_FALSE(boxes[name].second) << name;
    EXPECT_TRUE(boxes["DisplayCheck"].second);
    EXPECT_EQ(boxes["PrinterCheck"].second, c.printer) << c.version;
    EXPECT_EQ(boxes["VkladCheck"].second, c.deposit) << c.version;
  }
}

TEST(ModuleRegister, SendsTheChangedFlagsInTheirOrderAndReadsTheRegisterBack) {
  const struct {
    const char* what;
    const char* registerBefore;
    std::vector<const char*> toggled;  // in the order of the boxes
    std::deque<std::optional<QString>> depositAnswers;
    int result;
    Frames frames;  // after the register's first read
    const char* registerAfter;
  } cases[] = {
      {"no change", "4145", {}, {}, QDialog::Accepted, WithEsc({"IV;1"}), "4145"},
      {"cancelled", "4145", {"DlCheck"}, {}, QDialog::Rejected, {}, "4145"},
      {"flags in the fixed order",
       "4145",
       {"ControlLCheck", "ControlHCheck", "AutoTimeCheck", "PrinterCheck", "DlCheck", "AutoDZCheck", "DisplayCheck"},
       {},
       QDialog::Accepted,
       WithEsc({"STP;0;T0;0", "STP;0;T2;1", "STP;0;ADU;1", "STP;0;TIME;0", "STP;0;DL;1", "STP;0;NODISP;1",
                "STP;0;FILE;1", "IV;1"}),
       "274660"},
      {"test mode without the password, then the deposit",
       "4145",
       {"DPHCheck", "TestCheck", "VkladCheck"},
       {"150.50"},
       QDialog::Accepted,
       WithEsc({"STP;0;DPH;0", "STTEST;1", "STAUVKLAD;0;150.50", "IV;1"}),
       "589873"},
      {"deposit input cancelled",
       "4145",
       {"VkladCheck"},
       {std::nullopt},
       QDialog::Accepted,
       WithEsc({"STAUVKLAD;0;", "IV;1"}),
       "528433"},
      {"test mode and deposit cleared",
       "593969",
       {"TestCheck", "VkladCheck"},
       {},
       QDialog::Accepted,
       WithEsc({"STTEST;0", "STP;0;AVV;0", "IV;1"}),
       "4145"},
  };
  for (const auto& c : cases) {
    KalibroRig rig;
    rig.device.state().info[1] = c.registerBefore;
    Start(rig, "13023");
    rig.ui.textAnswers = c.depositAnswers;
    rig.ui.ExpectDialog("RegForm", c.result, [&c](QDialog& dialog) {
      for (const char* box : c.toggled) Click(dialog, box);
    });
    const std::size_t mark = rig.device.received().size();
    rig.form->MenuAction("popupRegister")->trigger();

    Frames expected = WithEsc({"IV;1"});
    expected.insert(expected.end(), c.frames.begin(), c.frames.end());
    EXPECT_EQ(FramesSince(rig, mark), expected) << c.what;
    EXPECT_EQ(rig.Label("vRegister"), c.registerAfter) << c.what;
    EXPECT_EQ(rig.ui.prompts.size(), c.depositAnswers.size()) << c.what;
    for (const QString& prompt : rig.ui.prompts)
      EXPECT_EQ(prompt, QString::fromUtf8("Zadajte hodnotu automatického vkladu")) << c.what;
    EXPECT_TRUE(rig.ui.messages.empty()) << c.what;
  }
}

TEST(ModuleRegister, ARegisterThatIsNoNumberStopsBeforeTheDialog) {
  KalibroRig rig;
  Start(rig);
  rig.device.state().info[1] = "";  // as after a time-out
  const std::size_t mark = rig.device.received().size();
  rig.form->MenuAction("popupRegister")->trigger();
  EXPECT_EQ(FramesSince(rig, mark), WithEsc({"IV;1"}));
  EXPECT_TRUE(rig.ui.dialogs.empty() || rig.ui.dialogs.back() != "RegForm");
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].text, "'' is not a valid integer value");
}

TEST(Commissioning, OnlyTheTickedButtonCommissionsAndTheTotalsAreReadEitherWay) {
  const QString today = Today();
  const struct {
    const char* what;
    std::function<void(QDialog&)> act;
    Frames frames;  // before the totals
    Labels labels;
  } cases[] = {
      {"Enter cancels, even with the box ticked",
       [](QDialog& dialog) {
         dialog.show();
         Click(dialog, "chWrite");
         QTest::keyClick(dialog.findChild<QCheckBox*>("chWrite"), Qt::Key_Return);
       },
       {},
       {{"vDUDP", "15.03.2024"}}},
      {"the button does nothing until the box is ticked",
       [](QDialog& dialog) { Click(dialog, "OkButton"); },
       {},
       {{"vDUDP", "15.03.2024"}}},
      {"commissioned",
       [](QDialog& dialog) {
         Click(dialog, "chWrite");
         Click(dialog, "OkButton");
       },
       WithEsc({"STUP;0", "IV;16", "IV;17", "IV;61", "IV;62"}),
       {{"vDUDP", today}, {"vDServ", "02.12.2026"}, {"vDUDate", today}, {"vDDate", today}}},
  };
  for (const auto& c : cases) {
    KalibroRig rig;
    Start(rig);
    rig.device.state().info[20] = "1.00";
    rig.ui.ExpectDialog("CRCForm", kOfDialog, c.act);
    const std::size_t mark = rig.device.received().size();
    rig.form->MenuAction("popupRepair")->trigger();

    const Frames frames = FramesSince(rig, mark);
    ASSERT_GT(frames.size(), c.frames.size()) << c.what;
    EXPECT_EQ(Frames(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(c.frames.size())), c.frames)
        << c.what;
    EXPECT_EQ(frames[c.frames.size()], "\x1b;IV;20") << c.what << ": the totals follow";
    EXPECT_EQ(rig.Label("vGT2"), "1.00") << c.what;
    ExpectLabels(rig, c.labels, c.what);
  }
}

}  // namespace
}  // namespace korvena::kalibro
