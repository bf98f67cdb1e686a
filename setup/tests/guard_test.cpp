// One exchange sequence at a time: menu commands chosen, or the window
// closed, while the start-up talks to the device.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

#include "korvena/operations/device_integer.h"
#include "kalibro_rig.h"

namespace korvena::kalibro {
namespace {

// Runs `during` once, while the device answers the status display's first query.
void DuringTheBuild(KalibroRig& rig, std::function<void()> during) {
  rig.device.Override("IV", [&rig, during = std::move(during), done = false](emu::Device& device,
                                                                             const emu::Command& command) mutable {
    if (command.Arg(0) == "5" && !done) {
      done = true;
      during();
    }
    const auto value = device.state().info.find(std::atoi(command.Arg(0).c_str()));
    device.Reply(value != device.state().info.end() ? value->second : "");
  });
}

TEST(ExchangeGuard, MenuCommandsCannotStartWhileTheStartUpRuns) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("");
  int handlerRuns = 0;
  bool menuBarEnabled = true;
  bool contextMenuShown = false;
  bool refused = false;
  DuringTheBuild(rig, [&] {
    rig.form->commands().SetHandler("popupUserCMD", [&] {
      ++handlerRuns;
      rig.form->SendCommand("\x1b;STDATETIME;;9;7;0;5;3;2024\r");
    });
    menuBarEnabled = rig.form->menuBar()->isEnabled();
    // A context menu would hold the reply's reading up past its time limit.
    QTimer::singleShot(0, [&] {
      if (QWidget* popup = QApplication::activePopupWidget()) {
        contextMenuShown = true;
        popup->close();
      }
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(200, 200), QPoint(200, 200));
    QCoreApplication::sendEvent(rig.form->centralWidget(), &rightClick);
    rig.form->MenuAction("popupUserCMD")->trigger();
    rig.form->MenuAction("menuExit")->trigger();
    refused = !rig.form->commands().RunMenuCommand("popupUserCMD");
  });
  rig.Start();

  EXPECT_FALSE(menuBarEnabled);
  EXPECT_FALSE(contextMenuShown);
  EXPECT_TRUE(refused);
  EXPECT_EQ(handlerRuns, 0);
  EXPECT_TRUE(rig.form->isVisible());
  EXPECT_EQ(rig.ValueLabelCount(), 58);
  for (const std::string& frame : rig.device.received()) EXPECT_EQ(frame.find("STDATETIME"), std::string::npos);

  // Once the start-up is over the same command runs.
  EXPECT_TRUE(rig.form->menuBar()->isEnabled());
  rig.form->MenuAction("popupUserCMD")->trigger();
  EXPECT_EQ(handlerRuns, 1);
  const auto& received = rig.device.received();
  EXPECT_EQ(std::count(received.begin(), received.end(), "\x1b;STDATETIME;;9;7;0;5;3;2024"), 1);
}

// A close request ends the running sequence at its next exchange: the
// window must not stay for the dozens of queries still to come.
TEST(ExchangeGuard, ClosingDuringTheStartUpEndsItAtOnce) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("");
  std::size_t framesAtClose = 0;
  DuringTheBuild(rig, [&] {
    rig.form->close();
    framesAtClose = rig.device.received().size();
  });
  rig.Start();
  EXPECT_EQ(rig.device.received().size(), framesAtClose) << "nothing more was sent";
  EXPECT_LT(rig.ValueLabelCount(), 58);
  EXPECT_TRUE(rig.ui.messages.empty()) << "an ended sequence is no error";
  QCoreApplication::processEvents();
  EXPECT_FALSE(rig.form->isVisible());
  EXPECT_FALSE(rig.port.open());
}

// Searching a silent device takes many seconds: the window answers meanwhile,
// shows the busy pointer and the search's progress, and can be closed.
TEST(ExchangeGuard, TheWindowStaysAliveWhileTheDeviceIsSearchedFor) {
  emu::DeviceSettings silent;
  silent.silent = true;
  KalibroRig rig(silent);
  rig.ChooseComItem(0);
  bool ranDuringTheSearch = false;
  bool busyPointer = false;
  QString progressCaption;
  bool progressOutlivesEscape = false;
  QTimer::singleShot(0, [&] {
    ranDuringTheSearch = true;
    busyPointer = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    if (const auto* bar = rig.form->findChild<QProgressBar*>("PBar")) {
      progressCaption = bar->window()->windowTitle();
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QCoreApplication::sendEvent(bar->window(), &escape);
      progressOutlivesEscape = bar->window()->isVisible();
    }
    rig.form->close();
  });
  const uint32_t start = rig.clock.Ticks();
  rig.Start();
  EXPECT_TRUE(ranDuringTheSearch);
  EXPECT_TRUE(busyPointer);
  EXPECT_EQ(progressCaption, QString::fromUtf8("Hľadám KORVENA.2010 ..."));
  EXPECT_TRUE(progressOutlivesEscape) << "the progress window has no cancel";
  // The whole search would take 15 attempts and seven rates, over 20 s.
  EXPECT_LT(rig.clock.Ticks() - start, 1000u);
  EXPECT_TRUE(rig.ui.messages.empty()) << "no \"not found\" box for a search that was ended";
  QCoreApplication::processEvents();
  EXPECT_FALSE(rig.form->isVisible());
  EXPECT_FALSE(rig.port.open());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ExchangeGuard, AnItemWithoutItsCommandSaysSoInsteadOfDoingNothing) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  const std::size_t framesBefore = rig.device.received().size();
  // Stands for any item whose command is still to come.
  EXPECT_FALSE(rig.form->commands().RunMenuCommand("popupStillToCome"));
  EXPECT_EQ(rig.ui.MessageTexts(), QStringList{QString::fromUtf8("Táto funkcia zatiaľ nie je k dispozícii.")});
  EXPECT_EQ(rig.device.received().size(), framesBefore);
}

TEST(ExchangeGuard, AnErrorInACommandIsShownAndTheProgramGoesOn) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  rig.form->commands().SetHandler("menuDX", [] { throw operations::ConversionError("'x' is not a valid integer value"); });
  rig.form->MenuAction("menuDX")->trigger();
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].text, "'x' is not a valid integer value");
  EXPECT_EQ(rig.ui.messages[0].icon, QMessageBox::Critical);
  EXPECT_FALSE(rig.form->exchangeRunning());
  EXPECT_TRUE(rig.form->menuBar()->isEnabled());
}

TEST(StatusDisplay, RefreshReadsTheTotalsAgainInItsOrder) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  auto& info = rig.device.state().info;
  info[20] = "99.99";  // refreshed
  info[37] = "22";
  info[65] = "FFFF";
  info[2] = "changed";  // identity values are not refreshed
  info[10] = "1000";    // nor the VAT captions
  const std::size_t before = rig.device.received().size();
  rig.form->RefreshTotals();

  const std::vector<int> order = {20, 21, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 33, 32, 35, 34, 117, 116, 40, 41, 42,
                                  43, 44, 45, 46, 47, 48, 52, 53, 54, 55, 56, 57, 49, 50, 51, 8,  64, 65, 37, 36, 39, 38};
  EXPECT_EQ(rig.InfoQueries(before), order);
  EXPECT_EQ(rig.Label("vGT2"), "99.99");
  EXPECT_EQ(rig.Label("vCntVklad"), "[22]");
  EXPECT_EQ(rig.Label("vCRC"), "[A3F1],[FFFF]");
  EXPECT_EQ(rig.Label("vDKP"), "21234567890123456");
  EXPECT_EQ(rig.Label("lz1"), "z20");
  // A longer text still ends at the label's right edge.
  const QLabel* total = rig.form->ClientArea()->findChild<QLabel*>("vGT2");
  EXPECT_EQ(total->x() + total->width(), 650);
}

TEST(StatusDisplay, LabelsAreFoundByTheirExactName) {
  KalibroRig rig;
  rig.ChooseComItem(0);
  rig.TypePassword("");
  rig.Start();
  rig.form->SetValueLabel("vNoSuch", "x");
  rig.form->SetValueLabel("vgt2", "x");  // names are case-sensitive
  EXPECT_EQ(rig.Label("vGT2"), "14884.55");
  rig.form->SetValueLabel("vDDate", QString::fromUtf8("31.12.2024"));
  EXPECT_EQ(rig.Label("vDDate"), "31.12.2024");

  QString text = "kept";
  EXPECT_FALSE(rig.form->GetValueLabel("vNoSuch", text));
  EXPECT_EQ(text, "kept");
  EXPECT_TRUE(rig.form->GetValueLabel("vSN", text));
  EXPECT_EQ(text, "KV2010-004711");

  rig.form->AddValueLabel(410, 300, 100, "added", "vAdded");
  EXPECT_EQ(rig.Label("vAdded"), "added");
}

}  // namespace
}  // namespace korvena::kalibro
