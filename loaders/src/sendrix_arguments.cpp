#include "korvena/loaders/sendrix_arguments.h"

#include "korvena/loaders/command_line.h"

namespace korvena::loaders {

const char kSendrixUsage[] =
    "\n"
    "SYNTAX: SENDRIX -cx -hy [-vz]\n"
    "   x: cislo COM portu, na ktorom je KORVENA.2010\n"
    "   y: nazov htx suboru\n"
    "   z: 1/0 zobrazovat vystup\n";

std::optional<SendrixSettings> ParseSendrixArguments(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return std::nullopt;
  SendrixSettings settings;
  const bool usable = ForEachOption(arguments, [&settings](char letter, std::string_view value) {
    switch (letter) {
      case 'C':
        return TakePortNumber(value, settings.port);
      case 'H':
        if (!value.empty()) settings.fileName = std::string(value);
        return !value.empty();
      case 'V': {
        // Nothing after -V keeps the setting; anything but a number is a
        // mistake the technician must see rather than a silent default.
        if (value.empty()) return true;
        const std::optional<bool> show = ShowFlagValue(value);
        if (show) settings.showOutput = *show;
        return show.has_value();
      }
      default:
        return true;
    }
  });
  if (!usable) return std::nullopt;
  return settings;
}

}  // namespace korvena::loaders
