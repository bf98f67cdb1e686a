// The whole start-up against the emulated device: the technician's answers
// come from a script, the device's from the emulator.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <set>

#include "forms/com_form.h"
#include "kalibro_rig.h"
#include "shell/kalibro_texts.h"

namespace korvena::kalibro {
namespace {

std::vector<int> Concat(std::vector<int> head, const std::vector<int>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

std::vector<std::string> Frames(const std::vector<std::string>& received, std::size_t count) {
  return {received.begin(), received.begin() + static_cast<std::ptrdiff_t>(std::min(count, received.size()))};
}

TEST(StartUp, GoodPasswordBuildsTheWholeDisplay) {
  KalibroRig rig(emu::DeviceSettings{.servicePassword = "4711"});
  rig.ChooseComItem(2);
  rig.TypePassword("4711");
  rig.Start();

  ASSERT_TRUE(rig.ui.problems.empty()) << rig.ui.problems.front().toStdString();
  EXPECT_TRUE(rig.ui.AllDialogsShown());
  EXPECT_TRUE(rig.ui.messages.empty()) << rig.ui.MessageTexts().join('|').toStdString();
  EXPECT_EQ(rig.port.openedPort(), 3);
  EXPECT_TRUE(rig.port.open());

  // The exact commands: identification, password test, status, version, then
  // one query per value in the order of the display.
  const std::vector<std::string> start = {"\x1b;IV;0", "\x1b;IV;0", "\x1b;IV;0", "\x1b;TESTPASSWORD;4711",
                                          "\x1b;IV;0", "\x1b;IV;1000"};
  EXPECT_EQ(Frames(rig.device.received(), start.size()), start);
  EXPECT_EQ(rig.InfoQueries(start.size()), StatusDisplayQueries());
  EXPECT_EQ(rig.device.received().size(), start.size() + StatusDisplayQueries().size());

  EXPECT_EQ(rig.form->state().LoginPassword, "4711");
  EXPECT_EQ(rig.form->state().DeviceVersion, 13022);
  EXPECT_EQ(rig.form->state().PortNumber, 3);
  EXPECT_EQ(rig.form->state().PortBaud, 9600);
  EXPECT_EQ(rig.ValueLabelCount(), 58);
  EXPECT_TRUE(rig.form->MenuAction("menuSet")->isEnabled());
  EXPECT_TRUE(rig.form->menuBar()->isEnabled());
}

// Every value label against the info number(s) it shows.
TEST(StartUp, ValueLabelsShowTheirInfoNumbers) {
  KalibroRig rig;
  for (int n : StatusDisplayQueries()) rig.device.state().info[n] = "i" + std::to_string(n);
  rig.device.state().info[10] = "2000";
  rig.device.state().info[11] = "1000";
  rig.device.state().info[12] = "0";
  rig.device.state().info[13] = "550";
  rig.ChooseComItem(0);
  rig.TypePassword("0");
  rig.Start();

  const std::pair<const char*, const char*> expected[] = {
      {"vVerzia", "i5"},          {"vDKP", "i2"},           {"vDIC", "i3"},         {"vICDPH", "i4"},
      {"vICO", "i9"},             {"vRegister", "i1"},      {"vWeeprom", "i8"},     {"vSN", "i7"},
      {"vDUDP", "i16"},           {"vDServ", "i17"},        {"vDUDate", "i61"},     {"vDDate", "i62"},
      {"vDUDocs", "i63"},         {"vCRC", "[i64],[i65]"},  {"vkDPH1", "2000"},     {"vkDPH2", "1000"},
      {"vkDPH3", "0"},            {"vkDPH4", "550"},        {"vGT2", "i20"},        {"vGT3", "i21"},
      {"vCntVklad", "[i37]"},     {"vVklad", "i36"},        {"vCntVyber", "[i39]"}, {"vVyber", "i38"},
      {"vCntGTpl", "[i31]"},      {"vGTpl", "i30"},         {"vCntGTpr", "[i29]"},  {"vGTpr", "i28"},
      {"vCntGTzl", "[i27]"},      {"vGTzl", "i26"},         {"vCntGTst", "[i25]"},  {"vGTst", "i24"},
      {"vCntGTmi", "[i23]"},      {"vGTmi", "i22"},         {"vCntGTvt", "[i33]"},  {"vGTvt", "i32"},
      {"vCntGTnd", "[i35]"},      {"vGTnd", "i34"},         {"vCntGTfa", "[i117]"}, {"vGTfa", "i116"},
      {"vz0", "i40"},             {"vz1", "i41"},           {"vd1", "i42"},         {"vz2", "i43"},
      {"vd2", "i44"},             {"vz3", "i45"},           {"vd3", "i46"},         {"vz4", "i47"},
      {"vd4", "i48"},             {"vplat1", "i52"},        {"vplat2", "i53"},      {"vplat3", "i54"},
      {"vplat4", "i55"},          {"vplat5", "i56"},        {"vplat6", "i57"},      {"vzaok", "i49"},
      {"vdocs", "i50"},           {"vdocs2", "i51"},
  };
  ASSERT_EQ(std::size(expected), 58u);
  for (const auto& [name, text] : expected) EXPECT_EQ(rig.Label(name), text) << name;

  const std::pair<const char*, const char*> captions[] = {
      {"lz0", "z0"},  {"lz1", "z20"}, {"ld1", "d20"}, {"lz2", "z10"},         {"ld2", "d10"},
      {"lz3", "z0"},  {"ld3", "d0"},  {"lz4", "z5"},  {"ld4", "d5"},          {"lplat6", "plar6:"},
      {"lDIC", "DIČ:"}, {"lGT3", "Záporný obrat:"}, {"lGTvt", "GTvr:"},       {"lkDPH", "kDPH (v 0.01%):"},
  };
  for (const auto& [name, text] : captions) EXPECT_EQ(rig.Label(name), QString::fromUtf8(text)) << name;
}

TEST(StartUp, LabelsEndAtTheirRightEdgeInTheClientArea) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  const struct {
    const char* name;
    int top, rightEdge;
  } cases[] = {
      {"vVerzia", 3, 350}, {"lWeeprom", 105, 210}, {"lkDPH", 235, 230}, {"vkDPH4", 235, 400},
      {"vGT2", 30, 650},   {"vCntGTfa", 195, 550}, {"vGTfa", 195, 650},  {"vdocs2", 390, 580},
  };
  for (const auto& c : cases) {
    const QLabel* label = rig.form->ClientArea()->findChild<QLabel*>(c.name);
    ASSERT_NE(label, nullptr) << c.name;
    EXPECT_EQ(label->y(), c.top) << c.name;
    EXPECT_EQ(label->x() + label->width(), c.rightEdge) << c.name;
    EXPECT_EQ(label->font().pointSize(), 9) << c.name;
    EXPECT_TRUE(label->isVisible()) << c.name;
  }
  EXPECT_EQ(rig.form->ClientArea()->size(), QSize(661, 434));
}

TEST(StartUp, VatCoefficientsNameTheRowsByTheirWholePercent) {
  const struct {
    const char* coefficient;
    const char* z;
    const char* d;
  } cases[] = {{"1950", "z19", "d19"}, {"1850", "z18", "d18"}, {"2050", "z20", "d20"}, {"99", "z0", "d0"}};
  KalibroRig rig;
  for (int k = 0; k < 4; ++k) rig.device.state().info[10 + k] = cases[k].coefficient;
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(rig.Label(QString("lz%1").arg(k + 1)), cases[k].z);
    EXPECT_EQ(rig.Label(QString("ld%1").arg(k + 1)), cases[k].d);
  }
}

TEST(StartUp, EmptyPasswordSkipsTheTestAndLocksTheSettings) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();

  EXPECT_EQ(rig.InfoQueries(), Concat({0, 0, 0, 1000}, StatusDisplayQueries()));
  EXPECT_EQ(rig.device.received().size(), 4 + StatusDisplayQueries().size());  // no TESTPASSWORD
  EXPECT_EQ(rig.form->state().LoginPassword, "");
  EXPECT_EQ(rig.ValueLabelCount(), 58);

  QAction* settings = rig.form->MenuAction("menuSet");
  EXPECT_FALSE(settings->isEnabled());
  for (QAction* item : settings->menu()->actions()) EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
  EXPECT_FALSE(rig.form->MenuAction("popupPairFP")->isEnabled());
  for (const char* stillThere : {"menuHTX", "popupSendrix", "menuFP", "popupFP", "menuSD", "popupSD", "menuBlok",
                                 "menuVklad", "popupUserCMD", "menuExit"})
    EXPECT_TRUE(rig.form->MenuAction(stillThere)->isEnabled()) << stillThere;
}

// Start-ups that end the program: each with the message it shows, whether the
// password dialog came, and what went over the line.
TEST(StartUp, FailuresEndTheProgramWithTheirMessage) {
  const struct {
    const char* what;
    emu::DeviceSettings device;
    std::set<int32_t> existingPorts;
    bool comCancelled;
    std::optional<QString> password;  // nullopt: the password dialog is cancelled
    std::size_t dialogs;              // how many of the two start-up dialogs came
    const char* message;              // nullptr: ends without one
    std::vector<std::string> lastFrames;
  } cases[] = {
      {"wrong password", {}, {}, false, "1234", 2, "Nesprávne heslo !", {"\x1b;TESTPASSWORD;1234", "\x1b;IV;0"}},
      {"silent device", {.silent = true}, {}, false, "", 1, "KORVENA.2010 nebol nájdený na COM porte !", {}},
      {"port missing", {}, {5}, false, "", 1, "Nie je možné otvoriť COM port !", {}},
      {"COM dialog cancelled", {}, {}, true, "", 1, nullptr, {}},
      {"password dialog cancelled", {}, {}, false, std::nullopt, 2, nullptr, {"\x1b;IV;0", "\x1b;IV;0", "\x1b;IV;0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KalibroRig rig(c.device);
    rig.port.existingPorts = c.existingPorts;
    if (c.comCancelled) {
      rig.ui.ExpectDialog("ComForm", QDialog::Rejected);
    } else {
      rig.ChooseComItem(0);
      if (c.password)
        rig.TypePassword(*c.password);
      else
        rig.ui.ExpectDialog("PassIForm", QDialog::Rejected);
    }
    rig.Start();

    if (c.message) {
      ASSERT_EQ(rig.ui.messages.size(), 1u);
      EXPECT_EQ(rig.ui.messages[0].text, QString::fromUtf8(c.message));
      EXPECT_EQ(rig.ui.messages[0].icon, QMessageBox::Critical);
      EXPECT_EQ(rig.ui.messages[0].buttons, QMessageBox::Ok);
    } else {
      EXPECT_TRUE(rig.ui.messages.empty());
    }
    EXPECT_EQ(rig.ui.dialogs.size(), c.dialogs);
    EXPECT_FALSE(rig.form->isVisible());
    EXPECT_FALSE(rig.port.open());
    EXPECT_EQ(rig.ValueLabelCount(), 0);
    const auto& received = rig.device.received();
    EXPECT_EQ(std::vector<std::string>(received.end() - static_cast<std::ptrdiff_t>(std::min(received.size(), c.lastFrames.size())),
                                       received.end()),
              c.lastFrames);
  }
}

TEST(StartUp, PortThatNeverOpensCostsFifteenWaits) {
  KalibroRig rig;
  rig.port.existingPorts = {7};
  rig.ChooseComItem(0);
  rig.Start();
  EXPECT_EQ(rig.clock.slept(), 15u * 200u);
}

TEST(StartUp, BaudSearchFindsTheDevicesSpeedAndKeepsIt) {
  KalibroRig rig(emu::DeviceSettings{.baud = 38400});
  rig.WriteConfig("BaudRate=9600");
  rig.ChooseComItem(0);
  rig.TypePassword("0");
  rig.Start();
  EXPECT_TRUE(rig.ui.messages.empty());
  EXPECT_EQ(rig.form->state().PortBaud, 38400);
  EXPECT_EQ(rig.port.baud(), 38400);
  EXPECT_EQ(rig.form->state().DeviceVersion, 13022);
  EXPECT_EQ(rig.ValueLabelCount(), 58);
}

TEST(StartUp, ComDialogPreselectsTheConfiguredPort) {
  const struct {
    std::string config;
    int item;
  } cases[] = {{"", 0}, {"Com=0", 0}, {"Com=1", 0}, {"Com=4", 3}, {"Com=10", 9}, {"Com=11", 0}, {"Com=-3", 0}};
  for (const auto& c : cases) {
    KalibroRig rig;
    rig.WriteConfig(c.config);
    int preselected = -2;
    rig.ui.ExpectDialog("ComForm", QDialog::Rejected, [&](QDialog& dialog) {
      preselected = static_cast<TComForm&>(dialog).ItemIndex();
      EXPECT_EQ(dialog.windowTitle(), "COM nastavenie");
      EXPECT_EQ(dialog.findChild<QAbstractButton*>("ComRadioItem9")->text(), "Com &10");
    });
    rig.Start();
    EXPECT_EQ(preselected, c.item) << c.config;
  }
}

// The time-out unit is clamped; a version query to a device that has fallen
// silent waits exactly ten units, then the empty answer stops the start-up
// with the conversion error and no display.
TEST(StartUp, TimeoutIsClampedAndAnEmptyVersionStopsTheStartUp) {
  const struct {
    std::string config;
    int32_t unit;
  } cases[] = {{"Timeout=50", 100}, {"Timeout=300", 300}, {"Timeout=9000", 5000}, {"", 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.config);
    KalibroRig rig;
    rig.WriteConfig(c.config);
    rig.ChooseComItem(0);
    uint32_t silentFrom = 0;
    rig.ui.ExpectDialog("PassIForm", QDialog::Accepted, [&](QDialog&) {
      rig.device.settings().silent = true;
      silentFrom = rig.clock.Ticks();
    });
    rig.Start();
    EXPECT_EQ(rig.form->state().TimeoutUnit, c.unit);
    const uint32_t waited = rig.clock.Ticks() - silentFrom;
    EXPECT_GE(waited, static_cast<uint32_t>(10 * c.unit));
    EXPECT_LE(waited, static_cast<uint32_t>(10 * c.unit + 2));
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].text, "'' is not a valid integer value");
    EXPECT_TRUE(rig.form->isVisible());  // the program stays, with its menus
    EXPECT_TRUE(rig.form->menuBar()->isEnabled());
    EXPECT_EQ(rig.ValueLabelCount(), 0);
  }
}

TEST(StartUp, VersionIsAlwaysInfoThousand) {
  KalibroRig rig;
  rig.WriteConfig("Timeout=250");
  rig.device.state().info[2500] = "oops";
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  EXPECT_EQ(rig.InfoQueries()[3], 1000);
  EXPECT_EQ(rig.form->state().DeviceVersion, 13022);
}

TEST(StartUp, OddVatCoefficientStopsTheBuildKeepingTheLabelsSoFar) {
  KalibroRig rig;
  rig.device.state().info[11] = "abc";
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].text, "'abc' is not a valid integer value");
  EXPECT_EQ(rig.Label("vkDPH1"), "2000");
  EXPECT_EQ(rig.Label("vkDPH2"), "abc");
  EXPECT_EQ(rig.Label("vkDPH3"), "<none>");
  EXPECT_EQ(rig.Label("lz1"), "<none>");
  EXPECT_EQ(rig.form->findChild<QDialog*>("ProgressForm"), nullptr);
  EXPECT_TRUE(rig.form->menuBar()->isEnabled());
}

TEST(StartUp, EmptyCheckSumsLeaveEmptyBrackets) {
  KalibroRig rig;
  rig.device.state().info.erase(64);
  rig.device.state().info.erase(65);
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  EXPECT_EQ(rig.Label("vCRC"), "[],[]");
}

// The progress window is up while the display is read: its caption, its 59
// steps of which the 58 value labels use all but one, and gone afterwards.
TEST(StartUp, ProgressWindowFollowsTheBuild) {
  KalibroRig rig;
  struct Seen {
    QString caption;
    int maximum = 0;
    int value = 0;
  };
  std::vector<Seen> seen;
  rig.device.Override("IV", [&](emu::Device& device, const emu::Command& command) {
    if (const auto* bar = rig.form->findChild<QProgressBar*>("PBar"))
      seen.push_back({bar->window()->windowTitle(), bar->maximum(), bar->value()});
    const auto value = device.state().info.find(std::atoi(command.Arg(0).c_str()));
    device.Reply(value != device.state().info.end() ? value->second : "");
  });
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  // Three identification queries while the device is searched for, 59 while
  // the display is built.
  ASSERT_EQ(seen.size(), 3u + 59u);
  EXPECT_EQ(seen.front().caption, QString::fromUtf8("Hľadám KORVENA.2010 ..."));
  EXPECT_EQ(seen.front().maximum, 15 + 1 + 7);
  EXPECT_EQ(seen[3].caption, QString::fromUtf8("Načítavam údaje ..."));
  EXPECT_EQ(seen[3].maximum, 59);
  EXPECT_EQ(seen[3].value, 0);
  EXPECT_EQ(seen.back().value, 57);  // before the last value label's step
  EXPECT_EQ(rig.form->findChild<QProgressBar*>("PBar"), nullptr);
}

}  // namespace
}  // namespace korvena::kalibro
