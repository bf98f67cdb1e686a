#include "emu_options.h"

#include <algorithm>
#include <functional>

#include "korvena/platform/command_line_option.h"
#include "korvena/platform/decimal_text.h"

namespace korvena::emu {
namespace {

bool ToNumber(const std::string& text, uint32_t& number) {
  const auto value = DecimalDigits(text, UINT32_MAX);
  if (value) number = static_cast<uint32_t>(*value);
  return value.has_value();
}

// A mute or deaf device from frame N on (from 1).
bool LineFaultFrom(const std::string& text, LineFault::Kind kind, LineFault& fault) {
  if (!ToNumber(text, fault.afterFrame) || fault.afterFrame == 0) return false;
  fault.kind = kind;
  return true;
}

// The image is made in memory at each read-out; eight times the real size
// is plenty for any test.
constexpr uint32_t kLargestFiscalMemory = 8 * kFiscalMemoryBytes;

struct OptionRow {
  const char* name;
  const char* value;  // nullptr for a switch without a value
  const char* help;
  std::function<bool(EmuOptions&, const std::string&)> apply;
};

const std::vector<OptionRow>& OptionTable() {
  static const std::vector<OptionRow> table = {
      {"--baud", "N", "line speed of the device (default 9600)",
       [](EmuOptions& o, const std::string& v) { return ToNumber(v, o.device.baud) && o.device.baud > 0; }},
      {"--com", "N", "number n of the KORVPORT_COM<n>= line printed at start (default 1)",
       [](EmuOptions& o, const std::string& v) {
         uint32_t n = 0;
         if (!ToNumber(v, n) || n < 1 || n > 20) return false;
         o.com = static_cast<int>(n);
         return true;
       }},
      {"--pace", nullptr, "send and receive at the line rate (10 bits a byte)",
       [](EmuOptions& o, const std::string&) { return o.pace = true; }},
      {"--silent", nullptr, "never answer anything",
       [](EmuOptions& o, const std::string&) { return o.device.silent = true; }},
      {"--drop-sent", "N", "lose every N-th byte the device sends",
       [](EmuOptions& o, const std::string& v) { return ToNumber(v, o.device.dropSentEvery); }},
      {"--drop-received", "N", "lose every N-th byte the device receives",
       [](EmuOptions& o, const std::string& v) { return ToNumber(v, o.device.dropReceivedEvery); }},
      {"--mute-after", "N", "from frame N on, run what comes but answer nothing, for --fault-for",
       [](EmuOptions& o, const std::string& v) { return LineFaultFrom(v, LineFault::kMute, o.device.fault); }},
      {"--deaf-after", "N", "from frame N on, drop what comes unseen, for --fault-for",
       [](EmuOptions& o, const std::string& v) { return LineFaultFrom(v, LineFault::kDeaf, o.device.fault); }},
      {"--fault-for", "MS", "how long --mute-after or --deaf-after lasts (default 1000)",
       [](EmuOptions& o, const std::string& v) { return ToNumber(v, o.device.fault.lastsMs); }},
      {"--fault-frames", "NAMES", "count only these commands towards N, e.g. S,L,K,GETLDX (default every frame)",
       [](EmuOptions& o, const std::string& v) {
         o.device.fault.counted.clear();
         for (std::size_t start = 0; start <= v.size();) {
           const std::size_t comma = std::min(v.find(',', start), v.size());
           if (comma == start) return false;
           o.device.fault.counted.push_back(v.substr(start, comma - start));
           start = comma + 1;
         }
         return true;
       }},
      {"--link", "PATH", "also make PATH a symbolic link to the pseudo-terminal",
       [](EmuOptions& o, const std::string& v) { return !(o.linkPath = v).empty(); }},
      {"--journal", "FILE", "append the printed documents to FILE instead of standard error",
       [](EmuOptions& o, const std::string& v) { return !(o.journalPath = v).empty(); }},
      {"--log", "FILE", "write every byte on the line to FILE: one frame a line, its time and direction",
       [](EmuOptions& o, const std::string& v) { return !(o.logPath = v).empty(); }},
      {"--state", "FILE", "keep the device's settings and totals in FILE across restarts",
       [](EmuOptions& o, const std::string& v) { return !(o.statePath = v).empty(); }},
      {"--info", "N=TEXT", "answer TEXT to the info query N (over what FILE of --state says)",
       [](EmuOptions& o, const std::string& v) {
         const auto eq = v.find('=');
         uint32_t n = 0;
         if (eq == std::string::npos || !ToNumber(v.substr(0, eq), n)) return false;
         o.info[static_cast<int>(n)] = v.substr(eq + 1);
         return true;
       }},
      {"--password", "DIGITS", "the service password the device starts with, 1 to 11 digits (default 0)",
       [](EmuOptions& o, const std::string& v) { return IsServicePassword(o.device.servicePassword = v); }},
      {"--processor", "NAME", "the processor the boot loader reports, mega128 or mega1281 (default mega1281)",
       [](EmuOptions& o, const std::string& v) {
         if (v != "mega128" && v != "mega1281") return false;
         o.device.loader.processor = v == "mega128" ? Processor::kMega128 : Processor::kMega1281;
         return true;
       }},
      {"--boot-loader", nullptr, "start in the boot loader at 115200, as just switched on for an update",
       [](EmuOptions& o, const std::string&) { return o.device.loader.startInBootLoader = true; }},
      {"--silent-boot-loader", nullptr, "the boot loader never answers",
       [](EmuOptions& o, const std::string&) { return o.device.loader.silentBootLoader = true; }},
      {"--nak-storm", "N", "the boot loader refuses each firmware block N times before taking it",
       [](EmuOptions& o, const std::string& v) { return ToNumber(v, o.device.loader.nakStorm); }},
      {"--nak-block", "K", "with --nak-storm: refuse only the K-th block",
       [](EmuOptions& o, const std::string& v) { return ToNumber(v, o.device.loader.nakBlock); }},
      {"--fiscal-memory", "BYTES", "how many bytes of fiscal memory READFP hands out (default 2097152, at most 16 MiB)",
       [](EmuOptions& o, const std::string& v) {
         return ToNumber(v, o.device.fiscalMemoryBytes) && o.device.fiscalMemoryBytes <= kLargestFiscalMemory;
       }},
      {"--htx-resends", "N", "answer \"send again\" (1024) to the next N template packets",
       [](EmuOptions& o, const std::string& v) { return ToNumber(v, o.device.loader.htxResends); }},
      {"--dump-dir", "DIR", "write each loaded template to DIR/htx.bin and firmware to DIR/firmware.bin",
       [](EmuOptions& o, const std::string& v) { return !(o.device.loader.dumpDir = v).empty(); }},
      {"--help", nullptr, "show this text", [](EmuOptions& o, const std::string&) { return o.help = true; }},
  };
  return table;
}

}  // namespace

bool ParseEmuOptions(const std::vector<std::string>& arguments, EmuOptions& options, std::string& error) {
  const auto rowOf = [](const std::string& name) -> const OptionRow* {
    for (const OptionRow& row : OptionTable())
      if (name == row.name) return &row;
    return nullptr;
  };
  const OptionValueName valueName = [&](const std::string& name) -> std::optional<const char*> {
    if (const OptionRow* row = rowOf(name)) return row->value;
    return std::nullopt;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    CommandLineOption option;
    if (!TakeCommandLineOption(arguments, i, valueName, option, error)) return false;
    if (!rowOf(option.name)->apply(options, option.value)) {
      error = "bad value for " + option.name + ": " + option.value;
      return false;
    }
  }
  return true;
}

std::string EmuUsage() {
  std::string text =
      "korvena-emu: an emulated Korvena device on a pseudo-terminal.\n"
      "Prints KORVPORT_COM<n>=<path>; set that variable and any Korvena program finds the device on COM n.\n\n"
      "Options:\n";
  for (const OptionRow& row : OptionTable()) {
    std::string left = std::string("  ") + row.name + (row.value ? std::string(" ") + row.value : "");
    left.resize(std::max<std::size_t>(left.size() + 2, 24), ' ');
    text += left + row.help + "\n";
  }
  return text;
}

}  // namespace korvena::emu
