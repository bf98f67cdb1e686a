// The service commands through their menu items against the emulated
// device: the frames sent, the file written, the messages shown and the
// labels after the read-backs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <functional>
#include <tuple>
#include <utility>

#include "forms/adzmz_form.h"
#include "kalibro_rig.h"
#include "korvena/platform/scratch_folder.h"
#include "forms/load_mf.h"
#include "forms/set_baud_rate.h"

namespace korvena::kalibro {
namespace {

constexpr int kOfDialog = ScriptedUserInteraction::kResultOfDialog;

// The device's clock runs beside this PC time: 7 December 2026, 10:00:00.
const LocalDateTime kDevicePcTime{{2026, 12, 7}, 10, 0, 0};

// Kalibro started with the password "0", the device's own; `version` is
// what the device reports as its version number.
struct StartedRig : KalibroRig {
  explicit StartedRig(emu::DeviceSettings settings = {}, const char* version = "13022")
      : KalibroRig(std::move(settings)) {
    device.state().info[1000] = version;
    StartAs("0");
  }
};

Frames Prefix(const Frames& frames, std::size_t count) {
  return {frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(std::min(count, frames.size()))};
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

TEST(SaveTexts, HoldsTheTwentyFourKeysWithHeaderAndFooterInThePcCodePage) {
  const std::string keys[] = {"DKP", "DIC", "ICDPH", "ICO"};
  const struct {
    const char* what;
    bool silent;
    std::string contents;
  } cases[] = {
      {"texts as the device holds them", false,
       "DKP=K2\r\nDIC=D3\r\nICDPH=SK\xa0\r\nICO=O9\r\n"
       "HL1=\xe1rok\r\nHL2=h2\r\nHL3=h3\r\nHL4=h4\r\nHL5=h5\r\nHL6=h6\r\nHL7=h7\r\nHL8=h8\r\nHL9=h9\r\nHL10=\r\n"
       "TL1=t1\r\nTL2=t2\r\nTL3=t3\r\nTL4=t4\r\nTL5=t5\r\nTL6=t6\r\nTL7=t7\r\nTL8=t8\r\nTL9=t9\r\nTL10=--+\r\n"},
      {"a silent device leaves every value empty", true,
       "DKP=\r\nDIC=\r\nICDPH=\r\nICO=\r\nHL1=\r\nHL2=\r\nHL3=\r\nHL4=\r\nHL5=\r\nHL6=\r\nHL7=\r\nHL8=\r\nHL9=\r\n"
       "HL10=\r\nTL1=\r\nTL2=\r\nTL3=\r\nTL4=\r\nTL5=\r\nTL6=\r\nTL7=\r\nTL8=\r\nTL9=\r\nTL10=\r\n"},
  };
  for (const auto& c : cases) {
    StartedRig rig;
    auto& info = rig.device.state().info;
    info[2] = "K2";
    info[3] = "D3";
    info[4] = "SK\xa0";  // identity values are not converted
    info[9] = "O9";
    for (int line = 1; line <= 9; ++line) {
      info[119 + line] = "h" + std::to_string(line);
      info[129 + line] = "t" + std::to_string(line);
    }
    info[120] = "\xa0rok";     // á in code page 852
    info[129] = "";
    info[139] = "\xc4\xcd\xc5";  // box drawing
    rig.device.settings().silent = c.silent;
    ScratchFolder folder;
    // An existing file is replaced.
    const std::string path = folder.Write("shop.set", "old");
    rig.ui.fileAnswers = {QString::fromStdString(path)};
    rig.Choose("popupFile");

    EXPECT_EQ(folder.Read("shop.set"), c.contents) << c.what;
    EXPECT_EQ(rig.ui.prompts, std::vector<QString>{Utf8("Uložiť texty do súboru")}) << c.what;
    EXPECT_TRUE(rig.ui.messages.empty()) << c.what;
  }
}

TEST(SaveTexts, CancelledAsksNothingAndAFileThatCannotBeWrittenIsNamed) {
  StartedRig rig;
  EXPECT_EQ(rig.Choose("popupFile"), Frames{});

  ScratchFolder folder;
  const std::string path = folder / "no such folder/shop.set";
  rig.ui.fileAnswers = {QString::fromStdString(path)};
  EXPECT_EQ(rig.Choose("popupFile").size(), 24u);
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(rig.ui.messages[0].text.contains(QString::fromStdString(path))) << rig.ui.messages[0].text.toStdString();
}

// The PC clock the date and time dialog starts from, fixed while it lives.
struct FixedPcClock {
  explicit FixedPcClock(LocalDateTime (*clock)()) { TAdzmzForm::pcClock = clock; }
  ~FixedPcClock() { TAdzmzForm::pcClock = CurrentLocalDateTime; }
};

struct DialogState {
  QString timeLabel, moduleValue, afterTick;
  LocalDateTime fields;
  bool secondsShown = false, timerActive = false;
  bool timerAfterClose = true;  // a tick during the write would interleave
};

// Sets the fields to `set`, looks at the dialog before and after one tick
// of its timer (the device's PC clock three seconds later), then closes it
// with `button`.
std::function<void(QDialog&)> Fill(LocalDateTime& devicePc, DialogState& seen, const LocalDateTime& set,
                                   const char* button) {
  return [&devicePc, &seen, set, button](QDialog& dialog) {
    auto& form = static_cast<TAdzmzForm&>(dialog);
    seen.timeLabel = form.TimeLabel->text();
    seen.moduleValue = form.MZtxtLabel->text();
    seen.fields = form.Fields();
    seen.secondsShown = !form.SecondSpin->isHidden();
    seen.timerActive = form.Timer1->isActive();
    devicePc.second += 3;
    if (seen.timerActive) form.Timer1Timer();
    seen.afterTick = form.MZtxtLabel->text();
    form.DaySpin->setValue(set.date.day);
    form.MonthSpin->setValue(set.date.month);
    form.YearSpin->setValue(set.date.year);
    form.HourSpin->setValue(set.hour);
    form.MinuteSpin->setValue(set.minute);
    form.SecondSpin->setValue(set.second);
    form.findChild<QPushButton*>(button)->click();
    seen.timerAfterClose = form.Timer1->isActive();
  };
}

TEST(DateAndTime, TheClockAndTheClosingDateAreWrittenFromTheFields) {
  // The PC's clock shows 14:35:42; the fields drop its seconds.
  const FixedPcClock pc([] { return LocalDateTime{{2025, 6, 1}, 14, 35, 42}; });
  const LocalDateTime startFields{{2025, 6, 1}, 14, 35, 0};
  const struct {
    const char* menu;
    LocalDateTime set;
    const char* button;
    Frames frames;
    DialogState seen;
    const char* vDDate;
  } cases[] = {
      {"popupTime",
       {{2024, 3, 5}, 9, 7, 30},  // the seconds field is hidden: 0 goes out
       "WriteButton",
       {"IV;19", "IV;19", "STDATETIME;0;9;7;0;5;3;2024"},
       {Utf8("Čas v module"), "07.12.2026 10:00:00", "07.12.2026 10:00:03", startFields, false, true},
       "07.12.2026"},
      {"popupTime",
       {{2024, 3, 5}, 9, 7, 0},
       "CancelButton",
       {"IV;19", "IV;19"},
       {Utf8("Čas v module"), "07.12.2026 10:00:00", "07.12.2026 10:00:03", startFields, false, true},
       "07.12.2026"},
      {"popupSetDDate",
       {{2024, 12, 31}, 23, 59, 30},
       "WriteButton",
       {"IV;62", "STDDATE;0;23;59;30;31;12;2024", "IV;62"},
       {Utf8("Dátum automatickej DU:"), "07.12.2026", "07.12.2026", startFields, true, false},
       "31.12.2024 23:59:30"},
      {"popupSetDDate",
       {{2024, 12, 31}, 23, 59, 30},
       "CancelButton",
       {"IV;62"},
       {Utf8("Dátum automatickej DU:"), "07.12.2026", "07.12.2026", startFields, true, false},
       "07.12.2026"},
  };
  for (const auto& c : cases) {
    LocalDateTime devicePc = kDevicePcTime;
    StartedRig rig(emu::DeviceSettings{.pcClock = [&devicePc] { return devicePc; }});
    DialogState seen;
    rig.ui.ExpectDialog("AdzmzForm", kOfDialog, Fill(devicePc, seen, c.set, c.button));
    EXPECT_EQ(rig.Choose(c.menu), c.frames) << c.menu << " " << c.button;

    EXPECT_EQ(seen.timeLabel, c.seen.timeLabel) << c.menu;
    EXPECT_EQ(seen.moduleValue, c.seen.moduleValue) << c.menu;
    EXPECT_EQ(seen.afterTick, c.seen.afterTick) << c.menu;
    EXPECT_EQ(seen.secondsShown, c.seen.secondsShown) << c.menu;
    EXPECT_EQ(seen.timerActive, c.seen.timerActive) << c.menu;
    EXPECT_FALSE(seen.timerAfterClose) << c.menu << " " << c.button;
    const LocalDateTime& f = seen.fields;
    EXPECT_EQ(std::make_tuple(f.date.year, f.date.month, f.date.day, f.hour, f.minute, f.second),
              std::make_tuple(2025, 6, 1, 14, 35, 0))
        << c.menu;
    EXPECT_EQ(rig.Label("vDDate"), c.vDDate) << c.menu << " " << c.button;
    EXPECT_TRUE(rig.ui.messages.empty()) << c.menu;
  }
}

TEST(LineSpeeds, TheDeviceCodePreselectsBothSides) {
  const struct {
    const char* code;
    int pc, internal;  // items pre-selected
  } cases[] = {{"52", 3, 4}, {"8", 0, 0}, {"24", 1, 0}, {"119", 6, 6}, {"308", 3, 4}};
  for (const auto& c : cases) {
    StartedRig rig;
    rig.device.state().info[170] = c.code;
    int pc = -1, internal = -1;
    rig.ui.ExpectDialog("SetBaudRate", QDialog::Rejected, [&](QDialog& dialog) {
      pc = static_cast<TSetBaudRate&>(dialog).PCRadio->ItemIndex();
      internal = static_cast<TSetBaudRate&>(dialog).PRNRadio->ItemIndex();
    });
    EXPECT_EQ(rig.Choose("popupBaudRate"), Frames{"IV;170"}) << c.code;
    EXPECT_EQ(std::make_pair(pc, internal), std::make_pair(c.pc, c.internal)) << c.code;
    EXPECT_EQ(rig.form->state().PortBaud, 9600) << c.code;
  }

  StartedRig rig;
  rig.device.state().info[170] = "";  // as after a time-out
  EXPECT_EQ(rig.Choose("popupBaudRate"), Frames{"IV;170"});
  EXPECT_EQ(rig.ui.dialogs.back(), "PassIForm") << "no dialog";
  EXPECT_EQ(rig.ui.MessageTexts(), QStringList{"'' is not a valid integer value"});
}

// The PC switches to the chosen rate, then makes sure the device is there:
// a device that kept its rate is found by the search, a lost one is named.
TEST(LineSpeeds, ThePcFollowsOnlyWhereTheDeviceAnswers) {
  const struct {
    const char* what;
    std::function<void(emu::Device&)> arrange;
    int32_t portBaud;  // in use afterwards
    uint32_t deviceBaud;
    std::vector<std::string> messages;  // "error: " marks an error box
  } cases[] = {
      {"the device follows", [](emu::Device&) {}, 19200, 19200, {}},
      {"the device keeps its rate",
       [](emu::Device& device) {
         device.Override("STBRATE", [](emu::Device& d, const emu::Command&) { d.Reply("0"); });
       },
       9600,
       9600,
       {"Zariadenie odpovedá rýchlosťou 9600 Bd."}},
      {"the device falls silent",
       [](emu::Device& device) {
         device.Override("STBRATE", [](emu::Device& d, const emu::Command&) {
           d.Reply("0");
           d.settings().silent = true;
         });
       },
       115200,
       9600,
       {"error: Spojenie so zariadením sa stratilo !"}},
  };
  for (const auto& c : cases) {
    StartedRig rig;
    c.arrange(rig.device);
    rig.ui.ExpectDialog("SetBaudRate", QDialog::Accepted, [](QDialog& dialog) {
      static_cast<TSetBaudRate&>(dialog).PCRadio->SetItemIndex(2);
      static_cast<TSetBaudRate&>(dialog).PRNRadio->SetItemIndex(5);
    });
    const uint64_t sleptBefore = rig.clock.slept();
    const Frames frames = rig.Choose("popupBaudRate");

    EXPECT_EQ(Prefix(frames, 2), (Frames{"IV;170", "STBRATE;0;2;5"})) << c.what;
    EXPECT_EQ(rig.clock.slept() - sleptBefore, 100u) << c.what;
    EXPECT_EQ(rig.form->state().PortBaud, c.portBaud) << c.what;
    EXPECT_EQ(rig.device.state().baud, c.deviceBaud) << c.what;
    std::vector<std::string> shown;
    for (const auto& message : rig.ui.messages)
      shown.push_back((message.icon == QMessageBox::Critical ? "error: " : "") + message.text.toStdString());
    EXPECT_EQ(shown, c.messages) << c.what;
    if (!c.messages.empty()) continue;
    // Later exchanges run at the new rate.
    EXPECT_EQ(rig.form->QueryInfo(170), "37") << c.what;
  }
}

TEST(Emblem, EachPrinterTypeSendsItsArgument) {
  const std::pair<const char*, const char*> printers[] = {
      {"EPSON TM88", "1"},  {"EPSON TM220", "3"},    {"SAMSUNG SRP350", "1"}, {"GP 5890", "4"},
      {"STAR TSP650", "5"}, {"EPSON TM H6000", "1"}, {"EPSON TM U950P", "6"}, {"SAMSUNG STP131", "1"},
  };
  for (int item = 0; item < 8; ++item) {
    StartedRig rig;
    QString caption;
    int preselected = -1;
    rig.ui.ExpectDialog("LoadMF", QDialog::Accepted, [&](QDialog& dialog) {
      auto& form = static_cast<TLoadMF&>(dialog);
      preselected = form.LoadMFRadio->ItemIndex();
      form.LoadMFRadio->SetItemIndex(item);
      caption = form.findChild<QAbstractButton*>(QString("LoadMFRadioItem%1").arg(item))->text();
    });
    EXPECT_EQ(rig.Choose("popupLoadMF"), Frames{std::string("LOADMF;0;") + printers[item].second}) << item;
    EXPECT_EQ(caption, printers[item].first);
    EXPECT_EQ(preselected, 0);
  }
  StartedRig rig;
  rig.ui.ExpectDialog("LoadMF", QDialog::Rejected);
  EXPECT_EQ(rig.Choose("popupLoadMF"), Frames{});
}

TEST(OperatingMemory, ZeroedOnlyAfterYesAndTheTotalsAreReadAgain) {
  const struct {
    QMessageBox::StandardButton answer;
    Frames first;  // the frames up to the totals
    const char* vGT2;
  } cases[] = {
      {QMessageBox::Yes, {"STNGT;0", "IV;20"}, "0.00"},
      {QMessageBox::No, {}, "14884.55"},
  };
  for (const auto& c : cases) {
    StartedRig rig;
    rig.ui.messageAnswers = {c.answer};
    EXPECT_EQ(Prefix(rig.Choose("popupNGT"), 2), c.first) << c.answer;
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].text, Utf8("Skutočne chcete vymazať prevádzkovú pamäť?"));
    EXPECT_EQ(rig.ui.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(rig.Label("vGT2"), c.vGT2) << c.answer;
  }
}

TEST(Pairing, NewerDevicesClearTheCommissionedFlagFirst) {
  const struct {
    const char* version;
    Frames first;  // the frames up to the totals
  } cases[] = {
      {"13021", {"STPAIRFP;0", "IV;20"}},
      {"13022", {"STP;0;UDP;0", "STPAIRFP;0", "IV;20"}},
  };
  for (const auto& c : cases) {
    StartedRig rig({}, c.version);
    rig.device.state().info[20] = "1.00";
    EXPECT_EQ(Prefix(rig.Choose("popupPairFP"), c.first.size()), c.first) << c.version;
    EXPECT_EQ(rig.ui.MessageTexts(), QStringList{Utf8("Spárovanie prebehlo.")}) << c.version;
    EXPECT_EQ(rig.Label("vGT2"), "1.00") << c.version;
  }
}

TEST(UserCommand, SentAsTypedAndHiddenWhileMasked) {
  const struct {
    const char* typed;
    bool masked;
    int result;
    Frames frames;
    QString shown;  // what the edit displays
  } cases[] = {
      // Not "0": the status query follows, as after every command.
      {"IV;5", false, QDialog::Accepted, {"IV;5", "IV;0"}, "IV;5"},
      {"STNGT;0", true, QDialog::Accepted, {"STNGT;0"}, "*******"},
      {"IV;5", false, QDialog::Rejected, {}, "IV;5"},
  };
  for (const auto& c : cases) {
    StartedRig rig;
    QString shown;
    bool startedMasked = true;
    rig.ui.ExpectDialog("SendCMD", c.result, [&](QDialog& dialog) {
      auto* box = dialog.findChild<QCheckBox*>("chPas");
      startedMasked = box->isChecked();
      TypeInto(dialog, "txtCMD", c.typed);
      if (c.masked) box->click();
      shown = dialog.findChild<QLineEdit*>("txtCMD")->displayText();
    });
    EXPECT_EQ(rig.Choose("popupUserCMD"), c.frames) << c.typed;
    EXPECT_FALSE(startedMasked);
    EXPECT_EQ(shown, c.shown) << c.typed;
    EXPECT_TRUE(rig.ui.messages.empty()) << c.typed;
  }
}

}  // namespace
}  // namespace korvena::kalibro
