#include "korvena/service/service_config.h"

#include <arpa/inet.h>
#include <sys/stat.h>

#include <functional>
#include <utility>

#include "korvena/platform/command_line_option.h"
#include "korvena/platform/decimal_text.h"
#include "korvena/platform/whole_files.h"
#include "setting_lines.h"

namespace korvena::service {
namespace {

constexpr std::size_t kLargestConfigFile = 1 << 20;

bool ToNumber(const std::string& text, uint32_t& number, uint32_t lowest, uint32_t highest) {
  const auto value = DecimalDigits(text, highest);
  if (!value || *value < lowest) return false;
  number = static_cast<uint32_t>(*value);
  return true;
}

bool ToSwitch(const std::string& text, bool& on) {
  if (text.empty() || text == "yes" || text == "true" || text == "1") return on = true;
  if (text == "no" || text == "false" || text == "0") return !(on = false);
  return false;
}

bool ToListen(const std::string& text, ServiceConfig& config) {
  // ADDR:PORT, an IPv6 address in brackets.
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  std::string address = text.substr(0, colon);
  if (address.front() == '[' && address.back() == ']') address = address.substr(1, address.size() - 2);
  uint32_t port = 0;
  if (!ToNumber(text.substr(colon + 1), port, 0, 65535)) return false;  // 0: any free port, as said at the start
  unsigned char bytes[16];
  if (inet_pton(AF_INET, address.c_str(), bytes) != 1 && inet_pton(AF_INET6, address.c_str(), bytes) != 1) return false;
  config.listenAddress = address;
  config.listenPort = static_cast<uint16_t>(port);
  return true;
}

struct OptionRow {
  const char* name;
  const char* value;  // nullptr for a switch
  const char* help;
  std::function<bool(ServiceConfig&, const std::string&)> apply;
  bool repeatable = false;
  bool fileOnly = false;
};

const std::vector<OptionRow>& OptionTable() {
  static const std::vector<OptionRow> table = {
      {"--listen", "ADDR:PORT", "where the HTTP API listens (default 127.0.0.1:8730)",
       [](ServiceConfig& c, const std::string& v) { return ToListen(v, c); }},
      {"--device", "COMn", "a device on COM port n (1..20), \"COMn\" in the API; repeat for more devices",
       [](ServiceConfig& c, const std::string& v) {
         if (ComNumber(v) == 0) return false;
         c.devices.push_back(v);
         return true;
       },
       true},
      {"--journal", "FILE", "the journal of jobs, an SQLite file (default /var/lib/korvena/service.db)",
       [](ServiceConfig& c, const std::string& v) { return !(c.journalPath = v).empty(); }},
      {"--tokens", "FILE", "the access tokens, one \"ROLE TOKEN\" a line (ROLE till or service), mode 0600",
       [](ServiceConfig& c, const std::string& v) { return !(c.tokensPath = v).empty(); }},
      {"--no-auth", nullptr, "no tokens: anyone may do anything (the loopback only)",
       [](ServiceConfig& c, const std::string& v) { return ToSwitch(v, c.noAuth); }},
      {"--allow-origin", "ORIGIN", "a web origin allowed to call the API (repeatable)",
       [](ServiceConfig& c, const std::string& v) {
         c.allowOrigins.push_back(v);
         return !v.empty();
       },
       true},
      {"--tls-cert", "FILE", "serve HTTPS only, with this certificate chain (PEM); needs --tls-key",
       [](ServiceConfig& c, const std::string& v) { return !(c.tlsCertPath = v).empty(); }},
      {"--tls-key", "FILE", "the certificate's private key (PEM), mode 0600; needs --tls-cert",
       [](ServiceConfig& c, const std::string& v) { return !(c.tlsKeyPath = v).empty(); }},
      {"--config", "FILE", "read the settings from FILE first (\"name = value\" lines; options win)",
       [](ServiceConfig& c, const std::string& v) { return !(c.configPath = v).empty(); }},
      {"--timeout", "MS", "the driver's Timeout for finding the device and for queries, 100..5000 (default 100)",
       [](ServiceConfig& c, const std::string& v) {
         uint32_t ms = 0;
         if (!ToNumber(v, ms, 100, 5000)) return false;
         c.timeoutMs = static_cast<int32_t>(ms);
         return true;
       }},
      {"--answer-limit", "MS", "how long a document command's answer is waited for (default 30000)",
       [](ServiceConfig& c, const std::string& v) { return ToNumber(v, c.answerLimitMs, 100, 600000); }},
      {"--wait-limit", "MS", "how long a request waits for its receipt before it gets 202 (default 30000)",
       [](ServiceConfig& c, const std::string& v) { return ToNumber(v, c.waitLimitMs, 0, 600000); }},
      {"--keep-days", "N", "keep finished jobs and their keys N days, at least 90 (default 90)",
       [](ServiceConfig& c, const std::string& v) { return ToNumber(v, c.keepDays, 90, 100000); }},
      {"--max-connections", "N", "HTTP connections served at once; more get 429 (default 256)",
       [](ServiceConfig& c, const std::string& v) { return ToNumber(v, c.maxConnections, 1, 100000); }},
      {"--request-limit", "MS", "a request must arrive whole within MS, else 408 (default 10000)",
       [](ServiceConfig& c, const std::string& v) { return ToNumber(v, c.requestLimitMs, 100, 600000); }},
      {"--threads", "N", "threads serving HTTP (default 4)",
       [](ServiceConfig& c, const std::string& v) { return ToNumber(v, c.threads, 1, 256); }},
      {"--frame-log", "FILE", "append every byte on the devices' lines to FILE, a frame a line",
       [](ServiceConfig& c, const std::string& v) { return !(c.frameLogPath = v).empty(); }},
      {"--web-root", "DIR", "serve the files of DIR under /web/ (a web till, say)",
       [](ServiceConfig& c, const std::string& v) { return !(c.webRoot = v).empty(); }},
      {"service-password", "DIGITS", "the device's service password (configuration file only)",
       [](ServiceConfig& c, const std::string& v) { return !(c.servicePassword = v).empty(); }, false, true},
      {"--help", nullptr, "show this text", [](ServiceConfig& c, const std::string&) { return c.help = true; }},
  };
  return table;
}

const OptionRow* FindRow(const std::string& name) {
  for (const OptionRow& row : OptionTable())
    if (name == row.name) return &row;
  return nullptr;
}

using Setting = std::pair<std::string, std::string>;  // "--name", value

bool CommandLineSettings(const std::vector<std::string>& arguments, std::vector<Setting>& settings,
                         std::string& error) {
  // Settings for the file alone are no options.
  const OptionValueName valueName = [](const std::string& name) -> std::optional<const char*> {
    const OptionRow* row = FindRow(name);
    if (row == nullptr || row->fileOnly) return std::nullopt;
    return row->value;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    CommandLineOption option;
    if (!TakeCommandLineOption(arguments, i, valueName, option, error)) return false;
    settings.emplace_back(option.name, option.value);
  }
  return true;
}

bool FileSettings(const std::string& path, std::vector<Setting>& settings, std::string& error) {
  const FileContents file = ReadWholeFile(path, kLargestConfigFile);
  if (file.status != FileContents::kRead) {
    error = "cannot read the configuration file " + path;
    return false;
  }
  for (const auto& [number, line] : SettingLines(file.bytes)) {
    const std::size_t eq = line.find('=');
    const std::string key(TrimmedSetting(line.substr(0, eq)));
    const std::string value(eq == std::string_view::npos ? std::string_view() : TrimmedSetting(line.substr(eq + 1)));
    const OptionRow* row = FindRow(key == "service-password" ? key : "--" + key);
    if (row == nullptr || key == "config" || key == "help") {
      error = path + " line " + std::to_string(number) + ": no setting \"" + key + "\"";
      return false;
    }
    settings.emplace_back(row->name, value);
  }
  return true;
}

bool Apply(const std::vector<Setting>& settings, ServiceConfig& config, std::string& error, bool replacesLists) {
  bool devicesGiven = false;
  bool originsGiven = false;
  for (const auto& [name, value] : settings) {
    // A list on the command line replaces the file's.
    if (replacesLists && name == "--device" && !std::exchange(devicesGiven, true)) config.devices.clear();
    if (replacesLists && name == "--allow-origin" && !std::exchange(originsGiven, true)) config.allowOrigins.clear();
    if (!FindRow(name)->apply(config, value)) {
      error = "bad value for " + name + (name == "service-password" ? std::string() : ": " + value);
      return false;
    }
  }
  return true;
}

}  // namespace

int ComNumber(const std::string& id) {
  if (id.size() < 4 || id.compare(0, 3, "COM") != 0) return 0;
  uint32_t n = 0;
  return ToNumber(id.substr(3), n, 1, 20) && id[3] != '0' ? static_cast<int>(n) : 0;
}

bool IsLoopback(const std::string& address) {
  unsigned char bytes[16];
  if (inet_pton(AF_INET, address.c_str(), bytes) == 1) return bytes[0] == 127;
  return address == "::1";
}

bool ReadServiceConfig(const std::vector<std::string>& arguments, ServiceConfig& config, std::string& error) {
  std::vector<Setting> given;
  if (!CommandLineSettings(arguments, given, error)) return false;
  for (const auto& [name, value] : given)
    if (name == "--config") config.configPath = value;
  if (!config.configPath.empty()) {
    std::vector<Setting> file;
    if (!FileSettings(config.configPath, file, error) || !Apply(file, config, error, false)) return false;
    struct stat info {};
    if (!config.servicePassword.empty() && stat(config.configPath.c_str(), &info) == 0 && (info.st_mode & 077) != 0) {
      error = "the configuration file " + config.configPath +
              " holds the service password and may be read by others (make it mode 0600)";
      return false;
    }
  }
  if (!Apply(given, config, error, true)) return false;
  if (config.help) return true;
  if (config.devices.empty()) {
    error = "no device: give at least one --device COMn";
    return false;
  }
  for (const std::string& origin : config.allowOrigins) {
    // Tokens go with the requests: every page that may send them is named.
    if (origin == "*") {
      error = "--allow-origin '*' is refused: the API takes tokens, so name each origin (https://till.example:8443)";
      return false;
    }
    // A browser sends scheme://host[:port] and nothing after it: anything else would never match.
    const std::size_t scheme = origin.find("://");
    if (scheme == std::string::npos || scheme == 0 || origin.size() == scheme + 3 ||
        origin.find('/', scheme + 3) != std::string::npos) {
      error = "--allow-origin " + origin + ": an origin is scheme://host or scheme://host:port, without a path";
      return false;
    }
  }
  if (config.tlsCertPath.empty() != config.tlsKeyPath.empty()) {
    error = "--tls-cert and --tls-key go together";
    return false;
  }
  if (config.noAuth && !config.tokensPath.empty()) {
    error = "--no-auth and --tokens exclude each other";
    return false;
  }
  if (config.noAuth && !IsLoopback(config.listenAddress)) {
    error = "without tokens the service listens on the loopback only, not on " + config.listenAddress;
    return false;
  }
  return true;
}

std::string ServiceUsage() {
  std::string text =
      "korvena-service: the shop's fiscal service, printing each receipt exactly once.\n"
      "Serves HTTP/1.1 with JSON; every device is a COM port with its own worker and queue.\n\n"
      "Options:\n";
  for (const OptionRow& row : OptionTable()) {
    if (row.fileOnly) continue;
    std::string left = std::string("  ") + row.name + (row.value ? std::string(" ") + row.value : "");
    left.resize(std::max<std::size_t>(left.size() + 2, 26), ' ');
    text += left + row.help + "\n";
  }
  text +=
      "\nThe configuration file takes the same settings without \"--\" (\"device = COM1\"), and\n"
      "service-password = DIGITS, which nothing else may give; it must then be mode 0600.\n"
      "Without --tokens and --no-auth the first start writes a token file with one service\n"
      "token into the journal's folder (korvena-service.tokens, mode 0600) and says where.\n";
  return text;
}

}  // namespace korvena::service
