#include "kalibro_cli.h"

#include <algorithm>

#include "cli_command.h"
#include "cli_failure.h"
#include "cli_files.h"
#include "command_line.h"
#include "device_connection.h"
#include "help_text.h"
#include "korvena/operations/device_integer.h"
#include "password_file.h"
#include "result_output.h"

namespace korvena::cli {
namespace {

// A settings file is a few lines; this only tells that it can be read.
constexpr std::size_t kLargestSettingsFile = 1 << 20;

bool AsksForHelp(const std::vector<std::string>& arguments) {
  const auto end = std::find(arguments.begin(), arguments.end(), "--");
  return std::find(arguments.begin(), end, "--help") != end;
}

ConnectionSettings SettingsFor(const Invocation& invocation, bool needsPassword) {
  ConnectionSettings settings;
  // A settings file named on the command line must be there; the one beside
  // the program gives the defaults when it is missing, as for Kalibro.
  if (invocation.configFile) ReadInputFile(*invocation.configFile, kLargestSettingsFile);
  settings.config = kalibro::ReadKalibroConfig(invocation.configFile.value_or(kalibro::ConfigFilePath()));
  settings.com = invocation.com.value_or(kalibro::ComItemFor(settings.config.Com) + 1);
  if (!needsPassword) return settings;
  if (invocation.password)
    settings.password = invocation.password;
  else if (invocation.passwordFile)
    settings.password = ReadPasswordFile(*invocation.passwordFile);
  else
    FailUsage(invocation.command + " needs the service password: give -p PASSWORD or --password-file FILE");
  return settings;
}

int Run(const Invocation& invocation, std::ostream& out) {
  if (invocation.help) {
    out << ProgramHelp();
    return kExitDone;
  }
  if (invocation.command.empty()) FailUsage("a command is missing");
  const Command* command = FindCommand(invocation.command);
  if (command == nullptr) FailUsage("no command is named \"" + invocation.command + "\"");
  if (AsksForHelp(invocation.arguments)) {
    out << CommandHelp(*command);
    return kExitDone;
  }
  Arguments arguments(invocation.command, invocation.arguments);
  const Plan plan = command->plan(arguments);
  DeviceConnection connection(SettingsFor(invocation, plan.needsPassword));
  PrintResult(out, plan.run(connection.session()), invocation.json);
  return kExitDone;
}

}  // namespace

int RunKalibroCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  Invocation invocation;
  const auto failed = [&](const CliFailure& failure) {
    PrintFailure(out, err, failure, invocation.json, FindCommand(invocation.command) ? invocation.command : "");
    return failure.exit();
  };
  try {
    ParseCommandLine(words, invocation);
    return Run(invocation, out);
  } catch (const CliFailure& failure) {
    return failed(failure);
  } catch (const operations::ConversionError& error) {
    return failed(
        CliFailure(kExitRefused, "bad-answer", std::string("the device's answer is no number: ") + error.what()));
  } catch (const std::exception& error) {
    return failed(CliFailure(kExitRefused, "internal", error.what()));
  }
}

}  // namespace korvena::cli
