// kalibro-cli's own options and a command's words, as a script writes them.
#include "command_line.h"

#include <gtest/gtest.h>

#include "arguments.h"
#include "cli_failure.h"

namespace korvena::cli {
namespace {

struct OptionsCase {
  const char* name;
  std::vector<std::string> words;
  const char* failure;  // a fragment of the usage failure; nullptr when none
  int com;              // 0: not given
  bool json;
  std::string command;
  std::vector<std::string> arguments;
  friend std::ostream& operator<<(std::ostream& os, const OptionsCase& c) { return os << c.name; }
};

class CommandLineTest : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(CommandLineTest, TakesTheOptionsBeforeTheCommand) {
  const OptionsCase& c = GetParam();
  Invocation invocation;
  try {
    ParseCommandLine(c.words, invocation);
    EXPECT_EQ(c.failure, nullptr);
  } catch (const CliFailure& failure) {
    ASSERT_NE(c.failure, nullptr) << failure.what();
    EXPECT_NE(std::string(failure.what()).find(c.failure), std::string::npos) << failure.what();
    EXPECT_EQ(std::string(failure.what()).find("12ab"), std::string::npos) << "a password is never repeated";
    EXPECT_EQ(failure.exit(), kExitUsage);
  }
  // Known even when parsing failed, so the failure itself comes as JSON.
  EXPECT_EQ(invocation.json, c.json);
  if (c.failure != nullptr) return;
  EXPECT_EQ(invocation.com.value_or(0), c.com);
  EXPECT_EQ(invocation.command, c.command);
  EXPECT_EQ(invocation.arguments, c.arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Words, CommandLineTest,
    ::testing::Values(
        OptionsCase{"all_options",
                    {"-c", "4", "-p", "846", "--json", "vat", "set", "1"},
                    nullptr,
                    4,
                    true,
                    "vat",
                    {"set", "1"}},
        OptionsCase{"options_after_the_command_are_its_own",
                    {"sd", "read", "20260101", "-o", "x", "--json"},
                    nullptr,
                    0,
                    false,
                    "sd",
                    {"read", "20260101", "-o", "x", "--json"}},
        OptionsCase{"json_before_a_bad_option", {"--json", "-x", "status"}, "unknown option \"-x\"", 0, true, "", {}},
        OptionsCase{"com_out_of_range",
                    {"--json", "-c", "21", "status"},
                    "-c must be a whole number from 1 to 20",
                    0,
                    true,
                    "",
                    {}},
        OptionsCase{"password_not_digits", {"-p", "12ab", "status"}, "-p must be 1 to 11 digits", 0, false, "", {}},
        OptionsCase{"password_twice", {"-p", "1", "--password-file", "f", "status"}, "not both", 0, false, "", {}},
        OptionsCase{"option_without_value", {"--config"}, "--config needs a value", 0, false, "", {}},
        OptionsCase{"no_command", {"--json"}, nullptr, 0, true, "", {}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Arguments, OptionsStandAnywhereBeforeTheEndOfOptions) {
  Arguments arguments("header", {"set", "--from", "a.set", "--", "--yes"});
  EXPECT_EQ(arguments.Next("show or set"), "set");
  EXPECT_EQ(arguments.Option("--from"), "a.set");
  // After "--" a word is a text, even one that looks like an option.
  EXPECT_FALSE(arguments.Flag("--yes"));
  EXPECT_EQ(arguments.Rest(), std::vector<std::string>{"--yes"});
  EXPECT_NO_THROW(arguments.Done());
}

TEST(Arguments, EveryMissIsAUsageFailureNamingTheCommand) {
  Arguments arguments("emblem", {"load", "--x"});
  EXPECT_THROW(arguments.NextOf("load", {"show"}), CliFailure);
  try {
    arguments.Done();
    FAIL() << "a word is left";
  } catch (const CliFailure& failure) {
    EXPECT_STREQ(failure.what(), "emblem: unexpected argument \"--x\"");
  }
  Arguments option("sd", {"-o"});
  EXPECT_THROW(option.Option("-o"), CliFailure);
}

}  // namespace
}  // namespace korvena::cli
