#include "help_text.h"

#include <algorithm>

namespace korvena::cli {
namespace {

constexpr const char* kUsage =
    "Usage: kalibro-cli [-c N] [-p PASSWORD | --password-file FILE] [--config FILE] [--json] COMMAND [ARGS]\n";

constexpr const char* kOptions =
    "The service program's functions from a shell, for one Korvena device on a COM port.\n"
    "\n"
    "Options (before the command):\n"
    "  -c N                  the COM port (default: Com of KvorWxx.ini, else 1)\n"
    "  -p PASSWORD           the service password, for the commands that carry it\n"
    "  --password-file FILE  the same from the first line of FILE (readable by its owner alone)\n"
    "  --config FILE         the settings file instead of KvorWxx.ini beside the program\n"
    "  --json                exactly one JSON object on standard output, also for a failure\n"
    "  -h, --help            this help; COMMAND --help tells about one command\n";

constexpr const char* kClosing =
    "\n"
    "Whatever changes the device's settings (set, texts load, commission, emblem, zero-operating-memory,\n"
    "pair-fiscal-memory, htx upload) carries the service password: give -p or --password-file.\n"
    "Exit status: 0 done; 1 the device refused; 2 usage, nothing sent; 3 no device, or the port cannot be\n"
    "opened; 4 a file could not be read or written.\n";

// The synopsis lines of `command`, each after `indent`.
std::string Synopsis(const Command& command, const std::string& indent) {
  std::string lines;
  std::size_t start = 0;
  while (start <= command.synopsis.size()) {
    const std::size_t end = std::min(command.synopsis.find('\n', start), command.synopsis.size());
    lines += indent + std::string(command.synopsis.substr(start, end - start)) + "\n";
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::string ProgramHelp() {
  std::string help = std::string(kUsage) + "\n" + kOptions + "\nCommands:\n";
  for (const Command& command : AllCommands()) help += Synopsis(command, "  ");
  return help + kClosing;
}

std::string CommandHelp(const Command& command) {
  std::string help = "Usage:\n" + Synopsis(command, "  kalibro-cli [OPTIONS] ") + "\n";
  // Wrapped at the blank before column 76.
  std::string line;
  std::string_view words = command.description;
  while (!words.empty()) {
    const std::size_t blank = words.find(' ');
    const std::string_view word = words.substr(0, blank);
    if (!line.empty() && line.size() + 1 + word.size() > 76) {
      help += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + std::string(word);
    words = blank == std::string_view::npos ? std::string_view() : words.substr(blank + 1);
  }
  return help + line + "\n";
}

}  // namespace korvena::cli
