#include "korvena/loaders/brennix_settings.h"

#include <limits>

#include "korvena/loaders/command_line.h"
#include "korvena/platform/decimal_text.h"
#include "korvena/platform/ini_profile.h"

namespace korvena::loaders {
namespace {

constexpr char kSection[] = "Setting";

// "BaudRate" is not used, but a value other than a decimal number stops the
// program, as it always has.
bool IsDecimalInteger(std::string_view text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  return DecimalDigits(text, std::numeric_limits<int32_t>::max()).has_value();
}

}  // namespace

const char kBrennixUsage[] =
    "\n"
    "SYNTAX: BRENNIX -cx [-vz] [-r]\n"
    "   x: cislo COM portu, na ktorom je KORVENA.2010\n"
    "   z: 1/0 zobrazovat vystup\n"
    "   r: restart Korvena 2010\n";

std::optional<BrennixSettings> ReadBrennixSettings(const std::string& iniPath,
                                                   const std::vector<std::string>& arguments) {
  const IniProfile ini = IniProfile::Load(iniPath);
  if (!IsDecimalInteger(ini.String(kSection, "BaudRate", "9600"))) return std::nullopt;
  BrennixSettings settings;
  // As on the command line, a number that does not fit 8 bits is no port.
  const int64_t com = ini.Int64(kSection, "Com", 0);
  if (com > 0 && com <= std::numeric_limits<uint8_t>::max()) settings.port = static_cast<uint8_t>(com);

  const bool usable = ForEachOption(arguments, [&settings](char letter, std::string_view value) {
    switch (letter) {
      case 'C':
        return TakePortNumber(value, settings.port);
      case 'V':
        settings.showMessages = ShowFlagValue(value).value_or(settings.showMessages);
        return true;
      case 'R':
        settings.restart = true;
        return true;
      default:
        return true;
    }
  });
  if (!usable) return std::nullopt;
  if (settings.port == 0) return std::nullopt;
  return settings;
}

}  // namespace korvena::loaders
