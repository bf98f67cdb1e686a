// Loading a template file into the device through the menu: the packets and
// the finish command on the line, the resends, the progress line and the
// final message.
#include <gtest/gtest.h>

#include <deque>

#include "kalibro_rig.h"

namespace korvena::kalibro {
namespace {


QString Utf8(const char* text) { return QString::fromUtf8(text); }

const QString kLoaded = Utf8("Nahratie HTX prebehlo v poriadku.");
const QString kNotLoaded = Utf8("Nastala chyba pri nahrávaní HTX.");

struct StartedRig : KalibroRig {
  StartedRig() {
    StartAs("0");
  }

  // Loads `bytes` as the chosen HTX file; the frames sent, without ESC ";".
  Frames Upload(const ScratchFolder& folder, const std::string& bytes) {
    ui.fileAnswers = {QString::fromStdString(folder.Write("sablona.htx", bytes))};
    return Choose("popupSendrix");
  }
};

std::string Counting(int from, int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>(from + i));
  return bytes;
}

TEST(HtxUpload, SendsTheFileInPacketsOfEightAndItsLengthWithTheLowByteOfItsSum) {
  const struct {
    const char* what;
    std::string file;
    Frames frames;
  } cases[] = {
      {"20 bytes: the last packet padded with zeros",
       Counting(1, 20),
       {"STHTX;0;0;0102030405060708;36", "STHTX;0;1;090A0B0C0D0E0F10;100", "STHTX;0;2;1112131400000000;74",
        "STHTXLEN;0;20;210"}},
      {"16 bytes: two packets, no padding one",
       std::string(16, '\xFF'),
       {"STHTX;0;0;FFFFFFFFFFFFFFFF;248", "STHTX;0;1;FFFFFFFFFFFFFFFF;248", "STHTXLEN;0;16;240"}},
      {"empty: no packet", "", {"STHTXLEN;0;0;0"}},
      {"hex digits in upper case, the packet sum modulo 256",
       std::string("\x01\x02\x0A\xFF", 4),
       {"STHTX;0;0;01020AFF00000000;12", "STHTXLEN;0;4;12"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartedRig rig;
    ScratchFolder folder;
    ProgressWatch watch;
    EXPECT_EQ(rig.Upload(folder, c.file), c.frames);
    EXPECT_EQ(rig.device.state().loader.htx, c.file) << "the device took the template";
    const int packets = static_cast<int>(c.frames.size()) - 1;
    ASSERT_EQ(watch.shown.size(), 1u);
    EXPECT_EQ(watch.shown[0].caption, "Zapisujem HTX ...");
    EXPECT_EQ(watch.shown[0].maximum, static_cast<int>(c.file.size() / 8 + 1));
    EXPECT_EQ(watch.Highest(), packets);
    EXPECT_EQ(rig.ui.MessageTexts(), QStringList{kLoaded});
  }
}

// The device's replies scripted one per command; the progress line is read
// as each command arrives (after the finish command's turn the window is
// gone).
TEST(HtxUpload, ResendsOnSendAgainAndCountsRetriesAndErrors) {
  const QString kNone = "<none>";
  const struct {
    const char* what;
    std::deque<std::string> replies;
    Frames frames;
    std::vector<QString> lines;  // the progress line as each frame arrived
    QString message;
  } cases[] = {
      {"five times send again: four resends, then the next packet",
       {"1024", "1024", "1024", "1024", "1024", "0", "0"},
       {"STHTX;0;0;0102030405060708;36", "STHTX;0;0;0102030405060708;36", "STHTX;0;0;0102030405060708;36",
        "STHTX;0;0;0102030405060708;36", "STHTX;0;0;0102030405060708;36", "STHTX;0;1;090A0B0C0D0E0F10;100",
        "STHTXLEN;0;16;136"},
       {"", "", "", "", "", "Packet = 1, Retry = 4, Err = 1", kNone},
       kLoaded},
      {"taken at the second try; no reply counts as an error and the upload goes on",
       {"1024", "0", "", "0"},
       {"STHTX;0;0;0102030405060708;36", "STHTX;0;0;0102030405060708;36", "STHTX;0;1;090A0B0C0D0E0F10;100",
        "STHTXLEN;0;16;136"},
       {"", "", "Packet = 1, Retry = 1, Err = 0", kNone},
       kLoaded},
      {"the finish command asked again once",
       {"0", "0", "1024", "0"},
       {"STHTX;0;0;0102030405060708;36", "STHTX;0;1;090A0B0C0D0E0F10;100", "STHTXLEN;0;16;136",
        "STHTXLEN;0;16;136"},
       {"", "Packet = 1, Retry = 0, Err = 0", kNone, kNone},
       kLoaded},
      {"the finish command asked again twice",
       {"0", "0", "1024", "1024"},
       {"STHTX;0;0;0102030405060708;36", "STHTX;0;1;090A0B0C0D0E0F10;100", "STHTXLEN;0;16;136",
        "STHTXLEN;0;16;136"},
       {"", "Packet = 1, Retry = 0, Err = 0", kNone, kNone},
       kNotLoaded},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartedRig rig;
    ScratchFolder folder;
    ProgressWatch watch;
    std::deque<std::string> replies = c.replies;
    std::vector<QString> lines;
    const auto scripted = [&](emu::Device& device, const emu::Command&) {
      lines.push_back(watch.CurrentLine());
      device.Reply(replies.empty() ? "" : replies.front());
      if (!replies.empty()) replies.pop_front();
    };
    rig.device.Override("STHTX", scripted);
    rig.device.Override("STHTXLEN", scripted);
    const Frames frames = rig.Upload(folder, Counting(1, 16));
    EXPECT_EQ(frames, c.frames);
    EXPECT_EQ(lines, c.lines);
    EXPECT_TRUE(replies.empty());
    EXPECT_EQ(rig.ui.MessageTexts(), QStringList{c.message});
  }
}

TEST(HtxUpload, AFileTooLongMissingOrNotChosenSendsNothing) {
  const struct {
    const char* what;
    int bytes;  // -1: no such file, -2: the dialog cancelled
    const char* message;
  } cases[] = {
      {"5121 bytes", 5121, "Súbor %1 je väčší ako 5120 bajtov !"},
      {"missing", -1, "Cannot open file \"%1\". The file does not exist."},
      {"cancelled", -2, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartedRig rig;
    ScratchFolder folder;
    const std::string path = folder / "sablona.htx";
    if (c.bytes >= 0) folder.Write("sablona.htx", std::string(static_cast<std::size_t>(c.bytes), 'x'));
    if (c.bytes != -2) rig.ui.fileAnswers = {QString::fromStdString(path)};
    const std::size_t before = rig.device.received().size();
    rig.form->MenuAction("popupSendrix")->trigger();
    EXPECT_EQ(rig.device.received().size(), before);
    if (c.message == nullptr) {
      EXPECT_TRUE(rig.ui.messages.empty());
      continue;
    }
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(rig.ui.messages[0].text, Utf8(c.message).arg(QString::fromStdString(path)));
  }
}

TEST(HtxUpload, AWholeBufferOf5120BytesGoesThrough) {
  StartedRig rig;
  ScratchFolder folder;
  const Frames frames = rig.Upload(folder, std::string(5120, '\xA5'));
  ASSERT_EQ(frames.size(), 641u);
  EXPECT_EQ(frames[639], "STHTX;0;639;A5A5A5A5A5A5A5A5;40");
  EXPECT_EQ(frames[640], "STHTXLEN;0;5120;0");
  EXPECT_EQ(rig.ui.MessageTexts(), QStringList{kLoaded});
}

}  // namespace
}  // namespace korvena::kalibro
