// Kalibro reads the fiscal memory of the real emulator over a
// pseudo-terminal: the worker thread on the real port library at 115200,
// while the window keeps processing its messages.
#include <gtest/gtest.h>

#include <QTimer>

#include "kalibro_on_pty.h"
#include "kalibro_rig.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/emulator/fiscal_memory.h"

namespace korvena::kalibro {
namespace {

constexpr int kCom = 8;
constexpr uint32_t kMemoryBytes = 65536;

TEST(FiscalMemoryOverPty, TheFileIsTheDevicesMemoryByteForByteAndTheWindowLivesMeanwhile) {
  ScratchFolder dir;
  const std::string config = dir.Write("KvorWxx.ini", "[Setting]\nCom=8\nTimeout=100\n");
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--fiscal-memory", std::to_string(kMemoryBytes)}, kCom));
  KalibroOnPty kalibro;
  kalibro.Start(kCom, config);
  ScriptedUserInteraction& ui = kalibro.ui;
  TKalibroForm35& form = *kalibro.form;
  ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();

  CurrentScratchFolder folder;
  ProgressWatch watch;
  int turnsWhileReading = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { turnsWhileReading += watch.Showing(); });
  timer.start(10);
  form.MenuAction("popupFP")->trigger();
  timer.stop();

  EXPECT_TRUE(folder.Read("korvena.bin") == emu::FiscalMemoryImage(kMemoryBytes));
  EXPECT_EQ(folder.Read("korvena.bin").size(), kMemoryBytes);
  EXPECT_GT(turnsWhileReading, 0) << "the window had no turn while the worker read";
  EXPECT_EQ(ui.MessageTexts(), QStringList{QString::fromUtf8("Fiškálna pamäť bola načítaná !")});
  uint8_t stray = 0;
  EXPECT_EQ(kalibro.port.Read(stray), 0) << "the closing line was taken or lost, not left for the next exchange";
  EXPECT_EQ(form.QueryInfo(0), "0") << "the line is back at 9600";
  form.EndProgram();
}

}  // namespace
}  // namespace korvena::kalibro
