// The service's settings and tokens: the command line over the file, the
// password only from a file its owner alone may read, no listening beyond
// the loopback without tokens, and token files read or refused whole.
#include "korvena/service/service_config.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "korvena/platform/scratch_folder.h"
#include "korvena/service/access_tokens.h"

namespace korvena::service {
namespace {

TEST(ServiceConfig, TheCommandLineWinsOverTheFile) {
  ScratchFolder folder;
  // As a Windows editor saves it: a byte order mark first, CR LF line ends.
  const std::string file = folder.Write("service.conf",
                                        "\xEF\xBB\xBFlisten = 0.0.0.0:9000\r\ndevice = COM1\r\ndevice = COM2\r\n"
                                        "tokens = /etc/tokens\r\nanswer-limit = 5000\r\nservice-password = 4711\r\n");
  chmod(file.c_str(), 0600);
  ServiceConfig config;
  std::string error;
  ASSERT_TRUE(ReadServiceConfig({"--config", file, "--device", "COM3", "--answer-limit=700"}, config, error)) << error;
  EXPECT_EQ(config.listenAddress, "0.0.0.0");
  EXPECT_EQ(config.listenPort, 9000);
  EXPECT_EQ(config.devices, std::vector<std::string>{"COM3"}) << "a list given replaces the file's";
  EXPECT_EQ(config.answerLimitMs, 700u);
  EXPECT_EQ(config.tokensPath, "/etc/tokens");
  EXPECT_EQ(config.servicePassword, "4711");
}

TEST(ServiceConfig, RefusesWhatItMustNotRun) {
  ScratchFolder folder;
  const std::string open = folder.Write("open.conf", "device = COM1\nservice-password = 4711\n");
  chmod(open.c_str(), 0644);
  const std::string typo = folder.Write("typo.conf", "devise = COM1\n");
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{}, "no device"},
      {{"--device", "COM0"}, "bad value for --device"},
      {{"--device", "COM21"}, "bad value for --device"},
      {{"--device", "COM1", "--listen", "localhost"}, "bad value for --listen"},
      {{"--device", "COM1", "--no-auth", "--listen", "192.168.1.5:8730"}, "loopback only"},
      {{"--device", "COM1", "--no-auth", "--tokens", "t"}, "exclude each other"},
      {{"--device", "COM1", "--service-password", "1"}, "unknown option --service-password"},
      {{"--device", "COM1", "--keep-days", "30"}, "bad value for --keep-days"},
      {{"--device", "COM1", "--allow-origin", "*"}, "'*' is refused"},
      {{"--device", "COM1", "--allow-origin", "https://till.example/"}, "without a path"},
      {{"--config", open}, "may be read by others"},
      {{"--config", typo}, "line 1: no setting \"devise\""},
      {{"--config", folder / "missing.conf"}, "cannot read"},
  };
  for (const auto& c : cases) {
    ServiceConfig config;
    std::string error;
    EXPECT_FALSE(ReadServiceConfig(c.arguments, config, error)) << c.message;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(AccessTokens, AreReadByRoleAndAFirstFileIsTheOwnersAlone) {
  ScratchFolder folder;
  const std::string good =
      folder.Write("good", "\xEF\xBB\xBFtill t0\n# tills\ntill t1\n  service s1  # the technician\r\n\ntill t2\n");
  chmod(good.c_str(), 0600);
  std::string error;
  const std::optional<AccessTokens> tokens = AccessTokens::Read(good, error);
  ASSERT_TRUE(tokens) << error;
  EXPECT_EQ(tokens->RoleOf("t0"), Role::kTill) << "a byte order mark is no part of the first line";
  EXPECT_EQ(tokens->RoleOf("t2"), Role::kTill);
  EXPECT_EQ(tokens->RoleOf("s1"), Role::kService);
  EXPECT_FALSE(tokens->RoleOf("t3"));
  EXPECT_FALSE(tokens->RoleOf(""));

  const std::string bad = folder.Write("bad", "till t1\nboss b1\n");
  chmod(bad.c_str(), 0600);
  EXPECT_FALSE(AccessTokens::Read(bad, error));
  EXPECT_EQ(error, bad + " line 2: not \"till TOKEN\" or \"service TOKEN\"") << "the token is never named";
  chmod(good.c_str(), 0640);
  EXPECT_FALSE(AccessTokens::Read(good, error));

  const std::string first = folder / "first";
  ASSERT_TRUE(AccessTokens::WriteFirst(first, error)) << error;
  struct stat info {};
  ASSERT_EQ(stat(first.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  const std::optional<AccessTokens> reread = AccessTokens::Read(first, error);
  ASSERT_TRUE(reread) << error;
  EXPECT_FALSE(AccessTokens::WriteFirst(first, error)) << "an existing file is kept";
}

TEST(AccessTokens, ATillMayPrintAndReadTheServiceRoleAlsoResolves) {
  EXPECT_TRUE(Permits(Role::kTill, Role::kTill));
  EXPECT_FALSE(Permits(Role::kTill, Role::kService));
  EXPECT_TRUE(Permits(Role::kService, Role::kTill));
  EXPECT_TRUE(Permits(Role::kService, Role::kService));
}

}  // namespace
}  // namespace korvena::service
