// The password change, the currencies and the rounding coefficients,
// through the menu against the emulated device.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <utility>

#include "kalibro_rig.h"
#include "widgets/num_edit.h"

namespace korvena::kalibro {
namespace {

using Texts = std::vector<std::pair<QString, QString>>;

// Kalibro started with the password "0", the device's own.
struct StartedRig : KalibroRig {
  StartedRig() {
    StartAs("0");
  }
};

QString Utf8(const char* text) { return QString::fromUtf8(text); }

void SetTexts(QDialog& dialog, const Texts& texts) {
  for (const auto& [name, text] : texts) {
    auto* edit = dialog.findChild<QLineEdit*>(name);
    if (edit == nullptr) {
      ADD_FAILURE() << "no edit " << name.toStdString();
      continue;
    }
    edit->setText(text);
  }
}

TEST(PasswordChange, SendsTheNewPasswordAndCarriesItFromThenOn) {
  const struct {
    const char* devicePassword;  // the device's, when the change is chosen
    QString oldTyped;
    QString newTyped;
    int dialogResult;
    Frames frames;
    int beeps;
    QStringList messages;
    std::string loginPasswordAfter;
  } cases[] = {
      {"0", "0", "4711", QDialog::Accepted, {"STPASS;0;4711"}, 0, {}, "4711"},
      {"0", "0", "", QDialog::Accepted, {"STPASS;0;0"}, 0, {}, "0"},
      {"0", "0", "12a3", QDialog::Accepted, {"STPASS;0;123"}, 1, {}, "123"},
      {"0", "1", "4711", QDialog::Accepted, {}, 0, {Utf8("Nesprávne heslo !")}, "0"},
      {"0", "", "4711", QDialog::Accepted, {}, 0, {Utf8("Nesprávne heslo !")}, "0"},
      {"0", "0", "4711", QDialog::Rejected, {}, 0, {}, "0"},
      // Changed meanwhile, e.g. from another program: refused, and the
      // session keeps the password it had.
      {"9", "0", "4711", QDialog::Accepted, {"STPASS;0;4711", "IV;0"}, 0, {}, "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.oldTyped.toStdString() + " -> " + c.newTyped.toStdString());
    StartedRig rig;
    rig.device.state().servicePassword = c.devicePassword;
    int beeps = 0;
    QString caption;
    rig.ui.ExpectDialog("PassCForm", c.dialogResult, [&](QDialog& dialog) {
      caption = dialog.windowTitle();
      for (const char* name : {"Txt1Text", "Txt2Text"}) {
        auto* edit = dialog.findChild<TNumEdit*>(name);
        ASSERT_NE(edit, nullptr) << name;
        EXPECT_TRUE(edit->text().isEmpty());
        EXPECT_EQ(edit->maxLength(), 11);
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        QObject::connect(edit, &TNumEdit::keyRejected, [&beeps] { ++beeps; });
      }
      TypeInto(dialog, "Txt1Text", c.oldTyped);
      TypeInto(dialog, "Txt2Text", c.newTyped);
    });
    EXPECT_EQ(rig.Choose("popupPasswd"), c.frames);
    EXPECT_EQ(caption, "Zmena hesla");
    EXPECT_EQ(beeps, c.beeps);
    EXPECT_EQ(rig.ui.MessageTexts(), c.messages);
    EXPECT_EQ(rig.form->state().LoginPassword, c.loginPasswordAfter);
    EXPECT_TRUE(rig.ui.problems.empty());
  }
}

// Without taking the new password the device would refuse every later
// configuration command of the session.
TEST(PasswordChange, LaterCommandsAreAcceptedWithTheNewPassword) {
  StartedRig rig;
  const auto changePassword = [&rig](const QString& from, const QString& to) {
    rig.ui.ExpectDialog("PassCForm", QDialog::Accepted, [from, to](QDialog& dialog) {
      TypeInto(dialog, "Txt1Text", from);
      TypeInto(dialog, "Txt2Text", to);
    });
  };
  changePassword("0", "4711");
  EXPECT_EQ(rig.Choose("popupPasswd"), Frames({"STPASS;0;4711"}));
  changePassword("4711", "815");
  EXPECT_EQ(rig.Choose("popupPasswd"), Frames({"STPASS;4711;815"}));
  rig.ui.ExpectDialog("MenaForm", QDialog::Accepted);
  // No "IV;0" after a command: the device took each of them.
  EXPECT_EQ(rig.Choose("popupKurzMena"), Frames({"IV;72", "IV;73", "IV;74", "IV;75", "STKZ;815;1;EUR;1",
                                                 "STKZ;815;2;CZK;25.5", "STKZ;815;3;USD;1.08"}));
  EXPECT_EQ(rig.device.state().servicePassword, "815");
  EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(Currencies, ShowsTheDevicesValuesAndSendsEachRowWithASymbol) {
  const Frames kQueries = {"IV;72", "IV;73", "IV;74", "IV;75"};
  const struct {
    const char* what;
    std::vector<std::pair<int, std::string>> device;  // info values before
    Texts typed;
    int dialogResult;
    Frames sent;  // after the four queries
  } cases[] = {
      {"as read", {}, {}, QDialog::Accepted, {"STKZ;0;1;EUR;1", "STKZ;0;2;CZK;25.5", "STKZ;0;3;USD;1.08"}},
      {"rows keep their numbers",
       {},
       {{"SMena2", ""}, {"kMena2", "30"}, {"SMena4", "GBP"}, {"kMena4", "0.86"}},
       QDialog::Accepted,
       {"STKZ;0;1;EUR;1", "STKZ;0;3;USD;1.08", "STKZ;0;4;GBP;0.86"}},
      {"a reply without a comma fills both edits; the rate may hold one",
       {{72, "1"}, {73, "CZK,25,5"}, {74, ""}},
       {},
       QDialog::Accepted,
       {"STKZ;0;1;1;1", "STKZ;0;2;CZK;25,5"}},
      {"texts go back in the PC's code page",
       {{73, "K\xe8,25.5"}},
       {{"SMena3", Utf8("Ft")}, {"kMena3", Utf8("392,5 č")}},
       QDialog::Accepted,
       {"STKZ;0;1;EUR;1", "STKZ;0;2;K\xe8;25.5", "STKZ;0;3;Ft;392,5 \xe8"}},
      {"cancelled", {}, {{"SMena4", "GBP"}}, QDialog::Rejected, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartedRig rig;
    for (const auto& [number, text] : c.device) rig.device.state().info[number] = text;
    QString caption;
    int symbolLimit = 0;
    rig.ui.ExpectDialog("MenaForm", c.dialogResult, [&](QDialog& dialog) {
      caption = dialog.windowTitle();
      symbolLimit = dialog.findChild<QLineEdit*>("SMena1")->maxLength();
      SetTexts(dialog, c.typed);
    });
    Frames expected = kQueries;
    expected.insert(expected.end(), c.sent.begin(), c.sent.end());
    EXPECT_EQ(rig.Choose("popupKurzMena"), expected);
    EXPECT_EQ(caption, "Nastavenie kurzu a symbolu mien");
    EXPECT_EQ(symbolLimit, 3);
    EXPECT_TRUE(rig.ui.messages.empty());
    EXPECT_TRUE(rig.ui.problems.empty());
  }
}

TEST(Rounding, SendsTwelveFieldsMadeOfTheSixEntries) {
  const QString kNoEntries = Utf8("Zariadenie neposlalo koeficienty zaokrúhľovania !");
  const struct {
    const char* reply;  // info 150
    Texts typed;
    int dialogResult;
    QStringList shown;  // ZaEdit..ZkEdit when the dialog opened
    Frames sent;        // after the query
    QStringList messages;
  } cases[] = {
      {"A0.05,A0.05,H1,A0.05,P10,A0.05",
       {},
       QDialog::Accepted,
       {"A0.05", "A0.05", "H1", "A0.05", "P10", "A0.05"},
       {"STZTYP;0;0.5;0.05;0.5;0.05;0.99999999;1;0.5;0.05;50;10;0.5;0.05"},
       {}},
      {"A0.05,A0.05,H1,A0.05,P10,A0.05",
       {{"ZaEdit", "a0.1"}, {"ZbEdit", "h1"}, {"ZcEdit", "p10"}, {"ZhvEdit", "H0.5"}, {"ZdEdit", "P5"}},
       QDialog::Accepted,
       {"A0.05", "A0.05", "H1", "A0.05", "P10", "A0.05"},
       {"STZTYP;0;0.5;0.1;0.99999999;1;50;10;0.99999999;0.5;50;5;0.5;0.05"},
       {}},
      // Blanks separate items too, quotes keep a comma, a seventh item is not used.
      {" A0.05 , \"H1\" P10,A0.1, \"A0,05\",P5,X",
       {},
       QDialog::Accepted,
       {"A0.05", "H1", "P10", "A0.1", "A0,05", "P5"},
       {"STZTYP;0;0.5;0.05;0.99999999;1;50;10;0.5;0.1;0.5;0,05;50;5", "IV;0"},  // the device refuses "0,05"
       {}},
      {"A0.05,A0.05,H1,A0.05,P10,A0.05",
       {{"ZbEdit", "X1"}},
       QDialog::Accepted,
       {"A0.05", "A0.05", "H1", "A0.05", "P10", "A0.05"},
       {},
       {Utf8("Nesprávny koeficient zaokrúhľovania Zb: !")}},
      {"A0.05,A0.05,H1,A0.05,P10,A0.05",
       {{"ZaEdit", "0.05"}, {"ZhvEdit", ""}},
       QDialog::Accepted,
       {"A0.05", "A0.05", "H1", "A0.05", "P10", "A0.05"},
       {},
       {Utf8("Nesprávny koeficient zaokrúhľovania Za: !")}},
      {"A0.05,A0.05,H1,,P10,A0.05",
       {},
       QDialog::Accepted,
       {"A0.05", "A0.05", "H1", "", "P10", "A0.05"},
       {},
       {Utf8("Nesprávny koeficient zaokrúhľovania Zhv: !")}},
      {"A0.05,A0.05,H1,A0.05,P10,A0.05",
       {{"ZaEdit", "P1"}},
       QDialog::Rejected,
       {"A0.05", "A0.05", "H1", "A0.05", "P10", "A0.05"},
       {},
       {}},
      {"A0.05,A0.05,H1,A0.05,P10", {}, QDialog::Accepted, {}, {}, {kNoEntries}},
      {"", {}, QDialog::Accepted, {}, {}, {kNoEntries}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.reply) + " " + c.messages.join('|').toStdString());
    StartedRig rig;
    rig.device.state().info[150] = c.reply;
    QStringList shown;
    QString caption;
    const bool opens = !c.shown.isEmpty();
    if (opens)
      rig.ui.ExpectDialog("ZtypForm", c.dialogResult, [&](QDialog& dialog) {
        caption = dialog.windowTitle();
        for (const char* name : {"ZaEdit", "ZbEdit", "ZcEdit", "ZhvEdit", "ZdEdit", "ZkEdit"})
          shown << dialog.findChild<QLineEdit*>(name)->text();
        SetTexts(dialog, c.typed);
      });
    Frames expected = {"IV;150"};
    expected.insert(expected.end(), c.sent.begin(), c.sent.end());
    EXPECT_EQ(rig.Choose("popupZtyp"), expected);
    EXPECT_EQ(shown, c.shown);
    if (opens) {
      EXPECT_EQ(caption, Utf8("Nastavenie zaokrúhľovania"));
    }
    EXPECT_EQ(rig.ui.MessageTexts(), c.messages);
    EXPECT_TRUE(rig.ui.problems.empty()) << "a dialog opened";
    EXPECT_TRUE(rig.ui.AllDialogsShown());
  }
}

}  // namespace
}  // namespace korvena::kalibro
