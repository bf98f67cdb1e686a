// Reading the fiscal memory and SD-card days into files, through the menu
// against the emulated device: what goes over the line, the files, the line
// speeds, the progress window and the messages.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <optional>

#include "kalibro_rig.h"
#include "korvena/emulator/fiscal_memory.h"

namespace korvena::kalibro {
namespace {


QString Utf8(const char* text) { return QString::fromUtf8(text); }

struct StartedRig : KalibroRig {
  explicit StartedRig(emu::DeviceSettings settings = {}, const std::string& config = "") : KalibroRig(settings) {
    WriteConfig(config);
    StartAs("0");
  }
  // The line speeds set from now on.
  std::vector<int32_t> SpeedsSince(std::size_t before) const {
    return std::vector<int32_t>(port.speedsSet().begin() + static_cast<long>(before), port.speedsSet().end());
  }
};

TEST(FiscalMemoryRead, SavesWhatCameAndSwitchesTheLineBackOnlyWhenNeeded) {
  const struct {
    const char* what;
    uint32_t baud;         // the device's and PortBaud
    uint32_t memoryBytes;  // what the device hands out
    std::vector<int32_t> speeds;
    int highestBar;
  } cases[] = {
      {"stops after 1000 bytes", 9600, 1000, {115200, 9600}, 0},
      {"at 115200 the line stays", 115200, 1000, {115200}, 0},
      {"the whole memory", 19200, emu::kFiscalMemoryBytes, {115200, 19200}, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartedRig rig({.baud = c.baud, .fiscalMemoryBytes = c.memoryBytes}, "BaudRate=" + std::to_string(c.baud));
    ASSERT_EQ(rig.form->state().PortBaud, static_cast<int32_t>(c.baud));
    CurrentScratchFolder folder;
    ProgressWatch watch;
    const std::size_t speedsBefore = rig.port.speedsSet().size();
    const uint64_t sleptBefore = rig.clock.slept();

    EXPECT_EQ(rig.Choose("popupFP"), Frames{"READFP;"});
    EXPECT_EQ(rig.clock.slept() - sleptBefore, 20u) << "the pause after READFP";
    EXPECT_TRUE(folder.Read("korvena.bin") == emu::FiscalMemoryImage(c.memoryBytes));
    EXPECT_EQ(rig.SpeedsSince(speedsBefore), c.speeds);
    ASSERT_EQ(watch.shown.size(), 1u);
    EXPECT_EQ(watch.shown[0].caption, Utf8("Načítavam fiškálnu pamäť ..."));
    EXPECT_EQ(watch.shown[0].maximum, 100);
    EXPECT_EQ(watch.Highest(), c.highestBar);
    EXPECT_EQ(rig.ui.MessageTexts(), QStringList{Utf8("Fiškálna pamäť bola načítaná !")});
    EXPECT_EQ(rig.ui.messages[0].icon, QMessageBox::NoIcon);
    // The device's closing line was taken: the next exchange gets its own answer.
    EXPECT_EQ(rig.form->QueryInfo(7), rig.device.state().info[7]);
  }
}

TEST(SdDayRead, SavesTheAnnouncedBytesOrNothing) {
  const std::string kDay = "20240115";
  const std::string kData = "POKLADNICNY DOKLAD c. 42\r\nSPOLU 2.20\r\n";
  const struct {
    const char* what;
    std::optional<std::string> count;  // the device's own READSD when nullopt
    const char* leftover;              // a line waiting on the line before the command
    std::optional<std::string> file;   // nullopt: no file
  } cases[] = {
      {"the device's day, after a leftover line", std::nullopt, "7", kData},
      {"count 0", "0", "", std::nullopt},
      {"count -5", "-5", "", std::nullopt},
      {"a count that is no number reads until silence", "abc", "", kData},
      {"fewer bytes than announced", "1000", "", kData},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartedRig rig;
    rig.device.state().sales.sdDays[kDay] = kData;
    if (c.count)
      rig.device.Override("READSD", [&c, &kData](emu::Device& device, const emu::Command&) {
        device.Reply(*c.count);
        device.Send(kData, 115200, 50);
      });
    if (*c.leftover != '\0') rig.device.Reply(c.leftover);
    CurrentScratchFolder folder;
    ProgressWatch watch;
    rig.ui.textAnswers = {QString::fromStdString(kDay)};

    EXPECT_EQ(rig.Choose("popupSD"), Frames{"READSD;" + kDay});
    EXPECT_EQ(rig.ui.prompts, std::vector<QString>{Utf8("Zadajte dátum v tvare yyyymmdd")});
    EXPECT_EQ(folder.Read(kDay + ".tx", "<none>"), c.file.value_or("<none>"));
    ASSERT_EQ(watch.shown.size(), 1u);
    EXPECT_EQ(watch.shown[0].caption, "20240115.tx");
    EXPECT_EQ(rig.ui.MessageTexts(), QStringList{Utf8("Súbor 20240115.tx bol vytvorený !")});
  }
}

TEST(SdDayRead, AnEmptyOrCancelledDayDoesNothing) {
  for (const std::optional<QString>& answer : {std::optional<QString>(""), std::optional<QString>()}) {
    StartedRig rig;
    CurrentScratchFolder folder;
    ProgressWatch watch;
    rig.ui.textAnswers = {answer};
    EXPECT_EQ(rig.Choose("popupSD"), Frames{});
    EXPECT_TRUE(watch.shown.empty());
    EXPECT_TRUE(rig.ui.messages.empty());
    EXPECT_TRUE(folder.Names().empty());
  }
}

// A file that cannot be written is reported, never announced as made.
TEST(BulkReads, AFileThatCannotBeWrittenIsReportedInsteadOfTheSuccess) {
  const struct {
    const char* item;
    const char* file;
  } cases[] = {{"popupFP", "korvena.bin"}, {"popupSD", "20240115.tx"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    StartedRig rig({.fiscalMemoryBytes = 100});
    rig.device.state().sales.sdDays["20240115"] = "day";
    CurrentScratchFolder folder;
    std::filesystem::create_directory(folder / c.file);  // in the way of the file
    rig.ui.textAnswers = {"20240115"};
    rig.Choose(c.item);
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(rig.ui.messages[0].text, QString("Cannot create file \"%1\".").arg(c.file));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{c.file}) << "no temporary file is left";
  }
}

TEST(BulkReads, ClosingTheWindowEndsTheTransferWithoutFileOrMessage) {
  StartedRig rig;
  CurrentScratchFolder folder;
  std::atomic<bool> closed{false};
  // The worker is held in the command until the window has been closed;
  // then the memory starts to flow.
  rig.device.Override("READFP", [&closed](emu::Device& device, const emu::Command&) {
    while (!closed) QThread::msleep(1);
    device.Send(emu::FiscalMemoryImage(emu::kFiscalMemoryBytes), 115200, 50);
  });
  QTimer::singleShot(0, rig.form.get(), [&] {
    rig.form->close();
    closed = true;
  });
  rig.Choose("popupFP");
  EXPECT_FALSE(folder.Has("korvena.bin"));
  EXPECT_TRUE(rig.ui.messages.empty());
  QCoreApplication::processEvents();
  EXPECT_FALSE(rig.form->isVisible());
}

}  // namespace
}  // namespace korvena::kalibro
