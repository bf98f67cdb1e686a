// --frame-log end to end: the real service's line to the real emulator, a
// frame a line after the device's id in the emulator's own log format, the
// service password masked, and a link planted at the log's name refused.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <sstream>

#include "end_to_end_rig.h"

namespace korvena::service {
namespace {

constexpr const char* kPassword = "908172";

TEST(ServiceFrameLog, HoldsEveryFrameOfAReceiptButNeverThePassword) {
  EndToEndRig rig;
  const std::string log = rig.folder / "frames.log";
  const std::string config = rig.folder.Write("service.conf", std::string("service-password = ") + kPassword + "\n");
  chmod(config.c_str(), 0600);
  ASSERT_TRUE(rig.StartDevice({"--password", kPassword}));
  ASSERT_TRUE(rig.StartService({"--config", config, "--frame-log", log})) << rig.service.errors();
  const HttpAnswer done = rig.PostUntilSettled(OneItemReceipt("Rožok", "0.12", "1.00"), "f1");
  EXPECT_EQ(done.Json()["state"], "done") << done.body << done.failure;
  // A raw command that carries the password, as a technician sends it.
  const std::string command = nlohmann::json{{"command", std::string("TESTPASSWORD;") + kPassword}}.dump();
  EXPECT_EQ(rig.Post("/v1/devices/COM1/commands", command, "p1", kServiceToken).status, 200);
  EXPECT_EQ(rig.service.Stop(), 0);

  const std::string frames = rig.folder.Read("frames.log");
  // The emulator's format after the device's id: the time, the direction, the bytes.
  const std::regex format(R"(COM1 \d\d:\d\d:\d\d\.\d{3} (PC>|<KV)  [\x20-\x7e]*)");
  std::istringstream lines(frames);
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count)
    EXPECT_TRUE(std::regex_match(line, format)) << "line " << count + 1 << ": " << line;
  EXPECT_GT(count, 0);
  for (const char* frame : {" PC>  <1B>;S;", " PC>  <1B>;L;", " PC>  <1B>;K;", " PC>  <1B>;GETLDX",
                            " PC>  <1B>;TESTPASSWORD;***<0D>", " <KV  "})
    EXPECT_NE(frames.find(frame), std::string::npos) << frame << " not in the frame log:\n" << frames;
  EXPECT_EQ(frames.find(kPassword), std::string::npos) << frames;
  EXPECT_EQ(rig.service.errors().find(kPassword), std::string::npos) << rig.service.errors();
}

TEST(ServiceFrameLog, ALinkPlantedWhereTheLogGoesStopsTheStart) {
  EndToEndRig rig;
  const std::string target = rig.folder.Write("elsewhere", "kept\n");
  const std::string log = rig.folder / "frames.log";
  ASSERT_EQ(symlink(target.c_str(), log.c_str()), 0);
  ASSERT_TRUE(rig.StartDevice());
  EXPECT_FALSE(rig.StartService({"--frame-log", log}, "korvena-service", {}, false));
  EXPECT_EQ(rig.service.exitStatus(), 1);
  EXPECT_NE(rig.service.errors().find("korvena-service: cannot open the frame log " + log + ": it is a symbolic link"),
            std::string::npos)
      << rig.service.errors();
  EXPECT_EQ(rig.folder.Read("elsewhere"), "kept\n");
}

}  // namespace
}  // namespace korvena::service
