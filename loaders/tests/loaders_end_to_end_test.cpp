// The real sendrix and brennix programs through the real port library to
// the real emulator on a pseudo-terminal: exact console text, and what the
// device holds afterwards, as the emulator leaves it in its dump folder.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "expected_console.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/loaders/firmware_fixture.h"
#include "korvena/emulator/program_run.h"
#include "loader_test_support.h"

namespace korvena::loaders {
namespace {

using testing::kAnsweredAtOnce;
using testing::kBrennixClosing;
using testing::SampleImage;

// What build/bin/<program> printed, run in `folder`; it must end with status 0.
std::string RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& folder) {
  const emu::ProgramRun run = emu::RunBuiltProgram(program, arguments, folder);
  EXPECT_EQ(run.exitStatus, 0) << program;
  return run.output;
}

std::string ReadFile(const std::string& path) {
  std::stringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

TEST(SendrixProgram, LoadsACompiledTemplateThatTheDeviceThenHoldsByteForByte) {
  ScratchFolder dir;
  const std::string htx = ReadFile(std::string(KORVENA_LOADERS_TEST_DATA) + "/sablona.htx");
  ASSERT_EQ(htx.size(), 299u);
  dir.Write("sablona.htx", htx);
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start({"--dump-dir", dir.path()}, 5));
  // The name reaches the program upper-cased and is found without regard to case.
  EXPECT_EQ(RunProgram("sendrix", {"-c5", "-hsablona.htx"}, dir.path()),
            testing::SendrixProgress(299) + "\nHTX bol nahrany do FT.\n" + testing::kSendrixClosing);
  emulator.Stop();
  EXPECT_EQ(ReadFile(dir.path() + "/htx.bin"), htx);
}

struct FirmwareCase {
  const char* name;
  std::vector<std::string> emulator;
  std::string console;
  int image;  // 0: none taken
  friend std::ostream& operator<<(std::ostream& os, const FirmwareCase& c) { return os << c.name; }
};

const std::string kImage1 = SampleImage(150, 21);
const std::string kImage2 = SampleImage(250, 22);

class BrennixProgramTest : public ::testing::TestWithParam<FirmwareCase> {};

TEST_P(BrennixProgramTest, RestartsTheDeviceAndUpdatesIt) {
  const FirmwareCase& c = GetParam();
  ScratchFolder dir;
  dir.Write("korvena.fw", testing::MakeFirmwareFile(kImage1, kImage2));
  std::vector<std::string> options = {"--dump-dir", dir.path()};
  options.insert(options.end(), c.emulator.begin(), c.emulator.end());
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start(options, 6));
  EXPECT_EQ(RunProgram("brennix", {"-c6", "-r"}, dir.path()), c.console);
  emulator.Stop();
  const std::string received = ReadFile(dir.path() + "/firmware.bin");
  if (c.image == 0) {
    EXPECT_EQ(received, "");
  } else {
    const std::string& image = c.image == 1 ? kImage1 : kImage2;
    EXPECT_EQ(received.substr(0, image.size()), image);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Devices, BrennixProgramTest,
    ::testing::Values(
        FirmwareCase{"mega1281", {"--processor", "mega1281"},
                     "Testujem COM6\n" + kAnsweredAtOnce + "V Connect success found Mega1281\n" +
                         testing::kUploadOfImage2 + kBrennixClosing,
                     2},
        FirmwareCase{"mega128", {"--processor", "mega128"},
                     "Testujem COM6\n" + testing::UnansweredWake() + kAnsweredAtOnce +
                         "V Connect success found Mega128\n" + testing::kUploadOfImage1 + kBrennixClosing,
                     1},
        FirmwareCase{"first_block_refused_three_times", {"--nak-storm", "3", "--nak-block", "1"},
                     "Testujem COM6\n" + kAnsweredAtOnce + "V Connect success found Mega1281\n" +
                         testing::kUploadOfImage2FirstBlockRefusedThrice + kBrennixClosing,
                     2},
        FirmwareCase{"silent_boot_loader", {"--silent-boot-loader"},
                     "Testujem COM6\n" + testing::UnansweredWake() + testing::UnansweredWake() + "X Connect Fail !\n" +
                         kBrennixClosing,
                     0}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace korvena::loaders
