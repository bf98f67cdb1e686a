// Kalibro configures the real emulator over a pseudo-terminal; the emulator
// keeps what it was told in its state file and, restarted, still reports it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "encodings/code_page_852.h"
#include "kalibro_on_pty.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/link/command_link.h"
#include "korvena/link/korvport_port.h"
#include "korvena/platform/scratch_folder.h"
#include "scripted_user_interaction.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {
namespace {

constexpr int kCom = 9;

void SetText(QDialog& dialog, const char* edit, const QString& text) {
  dialog.findChild<QLineEdit*>(edit)->setText(text);
}

// Ticks the write confirmation and presses the write button.
void Write(QDialog& dialog) {
  dialog.findChild<QCheckBox*>("chWrite")->click();
  dialog.findChild<QPushButton*>("WriteButton")->click();
}

TEST(StateOverPty, WhatKalibroConfiguredSurvivesARestartOfTheDevice) {
  ScratchFolder dir;
  const std::string stateFile = dir / "device.state";
  const std::string config = dir.Write("KvorWxx.ini", "[Setting]\nCom=9\nTimeout=100\n");
  const QString header = QString::fromUtf8("Nová predajňa Žilina");
  {
    emu::EmuProcess emulator;
    ASSERT_TRUE(emulator.Start({"--state", stateFile}, kCom));
    KalibroOnPty kalibro;
    kalibro.Start(kCom, config);
    ScriptedUserInteraction& ui = kalibro.ui;
    TKalibroForm35& form = *kalibro.form;
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();

    ui.ExpectDialog("frmHead", ScriptedUserInteraction::kResultOfDialog, [&](QDialog& dialog) {
      SetText(dialog, "H1Edit", header);
      Write(dialog);
    });
    form.MenuAction("popupHead")->trigger();
    ui.ExpectDialog("DickpForm", ScriptedUserInteraction::kResultOfDialog, [](QDialog& dialog) {
      SetText(dialog, "Txt1Text", "2029876543");
      Write(dialog);
    });
    form.MenuAction("popupDICDKP")->trigger();
    ui.ExpectDialog("KdphForm", QDialog::Accepted, [](QDialog& dialog) { SetText(dialog, "Txt1Text", "2300"); });
    form.MenuAction("popupkDPH")->trigger();
    EXPECT_TRUE(ui.AllDialogsShown());
    EXPECT_TRUE(ui.messages.empty());
    form.EndProgram();
  }

  emu::EmuProcess restarted;
  ASSERT_TRUE(restarted.Start({"--state", stateFile}, kCom));
  KorvportPort port;
  SystemClock clock;
  CommandLink link(port, clock);
  ASSERT_EQ(port.Open(kCom, 9600), 1);
  const auto info = [&link](int n) {
    link.SendText("\x1b;IV;" + std::to_string(n) + "\r");
    return link.ReadResponse(1000);
  };
  EXPECT_EQ(info(120), encodings::PcToDevice(ToWindows1250(header)));
  EXPECT_EQ(info(3), "2029876543");
  EXPECT_EQ(info(10), "2300");
  port.Close();
}

}  // namespace
}  // namespace korvena::kalibro
