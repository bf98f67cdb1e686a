// The two loaders' command lines and Brennix's configuration file.
#include <gtest/gtest.h>

#include "korvena/loaders/brennix_settings.h"
#include "korvena/loaders/sendrix_arguments.h"
#include "loader_test_support.h"

namespace korvena::loaders {
namespace {

struct SendrixCase {
  const char* name;
  std::vector<std::string> arguments;
  bool usage = false;
  int port = 0;
  bool show = false;
  std::string file = {};
  friend std::ostream& operator<<(std::ostream& os, const SendrixCase& c) { return os << c.name; }
};

class SendrixArgumentsTest : public ::testing::TestWithParam<SendrixCase> {};

TEST_P(SendrixArgumentsTest, AreUpperCasedAndRecognisedByTheirFirstTwoCharacters) {
  const SendrixCase& c = GetParam();
  const auto settings = ParseSendrixArguments(c.arguments);
  ASSERT_EQ(!settings, c.usage);
  if (!settings) return;
  EXPECT_EQ(settings->port, c.port);
  EXPECT_EQ(settings->showOutput, c.show);
  EXPECT_EQ(settings->fileName, c.file);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, SendrixArgumentsTest,
    ::testing::Values(
        SendrixCase{"none_shows_usage", {}, true},
        SendrixCase{"port_and_file_upper_cased", {"-c3", "-hmoje.htx", "X"}, false, 3, true, "MOJE.HTX"},
        SendrixCase{"slash_options", {"/C12", "/Hdir/a.htx"}, false, 12, true, "DIR/A.HTX"},
        SendrixCase{"unknown_only_keeps_defaults", {"X"}, false, 1, true, "korvena.htx"},
        SendrixCase{"v0_hides", {"-v0"}, false, 1, false, "korvena.htx"},
        SendrixCase{"v2_hides", {"-V2"}, false, 1, false, "korvena.htx"},
        SendrixCase{"v01_shows", {"-v0", "-v01"}, false, 1, true, "korvena.htx"},
        SendrixCase{"v_alone_keeps_setting", {"-v0", "-v"}, false, 1, false, "korvena.htx"},
        SendrixCase{"v_not_a_number_shows_usage", {"-v0", "-vx"}, true},
        SendrixCase{"v_with_sign_shows_usage", {"-v+1"}, true},
        SendrixCase{"c_alone_shows_usage", {"-hA.HTX", "-c"}, true},
        SendrixCase{"c_not_a_number_shows_usage", {"-cx"}, true},
        SendrixCase{"c_with_sign_shows_usage", {"-c-1"}, true},
        SendrixCase{"c_beyond_8_bits_shows_usage", {"-c256"}, true},
        SendrixCase{"c_255_is_a_port", {"-c255"}, false, 255, true, "korvena.htx"},
        SendrixCase{"h_alone_shows_usage", {"-c1", "-h"}, true},
        SendrixCase{"last_one_wins", {"-c1", "-c2", "-ha", "-hb"}, false, 2, true, "B"}),
    [](const auto& p) { return std::string(p.param.name); });

struct BrennixCase {
  const char* name;
  std::string ini;  // "" for no file
  std::vector<std::string> arguments;
  bool usage = false;
  int port = 0;
  bool show = false;
  bool restart = false;
  friend std::ostream& operator<<(std::ostream& os, const BrennixCase& c) { return os << c.name; }
};

class BrennixSettingsTest : public ::testing::TestWithParam<BrennixCase> {};

TEST_P(BrennixSettingsTest, ComeFromTheIniFileThenTheCommandLine) {
  const BrennixCase& c = GetParam();
  ScratchFolder dir;
  const std::string ini = dir.path() + "/" + kBrennixIniName;
  if (!c.ini.empty()) dir.Write("kvorwxx.INI", c.ini);
  const auto settings = ReadBrennixSettings(ini, c.arguments);
  ASSERT_EQ(!settings, c.usage);
  if (!settings) return;
  EXPECT_EQ(settings->port, c.port);
  EXPECT_EQ(settings->showMessages, c.show);
  EXPECT_EQ(settings->restart, c.restart);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, BrennixSettingsTest,
    ::testing::Values(
        BrennixCase{"no_port_anywhere_shows_usage", "", {}, true},
        BrennixCase{"port_from_the_ini", "[Setting]\r\nCom=4\r\n", {}, false, 4, true, false},
        BrennixCase{"command_line_overrides_the_ini", "[setting]\nCOM=4\n", {"-c2"}, false, 2, true, false},
        BrennixCase{"slash_c_and_restart", "", {"/c3", "-r"}, false, 3, true, true},
        BrennixCase{"restart_ignores_the_rest", "", {"-c1", "/Restart"}, false, 1, true, true},
        BrennixCase{"v0_turns_messages_off", "", {"-c1", "-v0"}, false, 1, false, false},
        BrennixCase{"v_alone_leaves_them", "", {"-c1", "-v"}, false, 1, true, false},
        BrennixCase{"v_not_a_number_leaves_them", "", {"-c1", "-vno"}, false, 1, true, false},
        BrennixCase{"c_alone_shows_usage", "[Setting]\nCom=4\n", {"-c"}, true},
        BrennixCase{"c_not_a_number_shows_usage", "", {"-cx"}, true},
        BrennixCase{"c0_is_no_port", "[Setting]\nCom=4\n", {"-c0"}, true},
        BrennixCase{"com_beyond_8_bits_is_no_port", "[Setting]\nCom=300\n", {}, true},
        BrennixCase{"com_beyond_32_bits_does_not_wrap_into_a_port", "[Setting]\nCom=4294967297\n", {}, true},
        BrennixCase{"baud_rate_not_a_number_shows_usage", "[Setting]\nBaudRate=fast\n", {"-c1"}, true},
        BrennixCase{"baud_rate_empty_shows_usage", "[Setting]\nBaudRate=\n", {"-c1"}, true},
        BrennixCase{"baud_rate_any_number_will_do", "[Setting]\nBaudRate=-5\n", {"-c1"}, false, 1, true, false}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace korvena::loaders
