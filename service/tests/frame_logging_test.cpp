// The service's frame log: written frames held until they end so that the
// service password is masked even when the driver writes a byte at a time,
// and a log file that only a regular file at its own name can be.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "frame_log_file.h"
#include "frame_logging_port.h"
#include "korvena/link/scripted_port.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::service {
namespace {

TEST(FrameLoggingPort, MasksThePasswordInWrittenFramesOnly) {
  const struct {
    const char* name;
    const char* password;
    std::string written;  // a byte a Write, as the driver writes
    std::string answer;
    std::vector<std::string> lines;
  } cases[] = {
      {"the password as a field", "908172", "\x1b;TESTPASSWORD;908172\r", "0\r",
       {"00:00:00.000 PC>  <1B>;TESTPASSWORD;***<0D>\n", "00:00:00.000 <KV  0<0D>\n"}},
      {"every occurrence, and never in what the device sends", "12", "\x1b;HL;12;0;x12y\r", "12\r",
       {"00:00:00.000 PC>  <1B>;HL;***;0;x***y<0D>\n", "00:00:00.000 <KV  12<0D>\n"}},
      {"no password: frames as written", "", "\x1b;IV;5\r", "KORVENA\r",
       {"00:00:00.000 PC>  <1B>;IV;5<0D>\n", "00:00:00.000 <KV  KORVENA<0D>\n"}},
      {"an unfinished frame shows before the answer; closing ends the answer's line", "", "\x1b", "0",
       {"00:00:00.000 PC>  <1B>\n", "00:00:00.000 <KV  0\n"}},
  };
  for (const auto& c : cases) {
    VirtualClock clock;
    ScriptedPort line(clock);
    line.Send(c.answer);
    std::vector<std::string> lines;
    FrameLoggingPort logged(
        line, [&lines](const std::string& text) { lines.push_back(text); }, c.password, [] { return 0u; });
    for (const char byte : c.written) logged.Write(&byte, 0, 1);
    uint8_t byte = 0;
    while (logged.Read(byte) != 0) {
    }
    logged.Close();
    EXPECT_EQ(lines, c.lines) << c.name;
    EXPECT_EQ(line.written, c.written) << c.name << ": the device gets the password itself";
  }
}

TEST(FrameLogFile, AppendsToARegularFileAndRefusesAnythingElse) {
  ScratchFolder folder;
  const std::string kept = folder.Write("kept.log", "COM2 an earlier line\n");
  const std::string target = folder.Write("target", "");
  const std::string link = folder / "link.log";
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  const std::string fifo = folder / "fifo.log";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string path;
    const char* refusal;  // nullptr: opened
  } cases[] = {
      {kept, nullptr},
      {folder / "fresh.log", nullptr},
      {link, "is a symbolic link"},
      {fifo, "is not a regular file"},
      {folder.path(), "cannot open the frame log"},
      {folder / "missing/frames.log", "cannot open the frame log"},
  };
  const mode_t oldMask = umask(022);
  for (const auto& c : cases) {
    std::string error;
    std::unique_ptr<FrameLogFile> file = FrameLogFile::Open(c.path, error);
    if (c.refusal != nullptr) {
      EXPECT_EQ(file, nullptr) << c.path;
      EXPECT_NE(error.find(c.refusal), std::string::npos) << c.path << ": " << error;
      continue;
    }
    ASSERT_NE(file, nullptr) << c.path << ": " << error;
    file->LinesOf("COM1")("00:00:00.000 PC>  <1B>;IV;5<0D>\n");
  }
  umask(oldMask);
  EXPECT_EQ(folder.Read("kept.log"), "COM2 an earlier line\nCOM1 00:00:00.000 PC>  <1B>;IV;5<0D>\n");
  struct stat info {};
  ASSERT_EQ(stat((folder / "fresh.log").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "the log holds receipts: not for everyone";
  EXPECT_EQ(folder.Read("target"), "") << "nothing went through the link";
}

}  // namespace
}  // namespace korvena::service
