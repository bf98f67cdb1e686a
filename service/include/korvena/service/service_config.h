#pragma once
// korvena-service's settings: its command line and its configuration file
// (the same names, "name = value" a line, "#" comments), the command line
// winning. Every option is one row of the table in service_config.cpp.
#include <cstdint>
#include <string>
#include <vector>

namespace korvena::service {

struct ServiceConfig {
  std::string listenAddress = "127.0.0.1";
  uint16_t listenPort = 8730;
  std::vector<std::string> devices;  // "COM3"; the device's id in the API
  std::string journalPath = "/var/lib/korvena/service.db";
  std::string tokensPath;  // empty: the journal's folder holds one, made at the first start
  bool noAuth = false;
  std::vector<std::string> allowOrigins;
  // Both or neither: with them the API speaks HTTPS only.
  std::string tlsCertPath;  // PEM, the server's certificate and its chain
  std::string tlsKeyPath;   // PEM, its private key; readable by its owner alone
  std::string configPath;
  // The device's service password, for operations that need one; only the
  // configuration file may hold it, and the file must then be mode 0600.
  std::string servicePassword;
  std::string frameLogPath;  // every byte on the devices' lines, when given
  std::string webRoot;       // a folder served under /web/, when given
  int32_t timeoutMs = 100;         // the driver's Timeout T for connecting and queries
  uint32_t answerLimitMs = 30000;  // a document frame's answer
  uint32_t waitLimitMs = 30000;    // a request waits this long for its receipt, then gets 202
  uint32_t keepDays = 90;          // finished jobs, and so their keys, are kept at least this long
  uint32_t maxConnections = 256;
  uint32_t requestLimitMs = 10000;  // a request must arrive whole within this
  uint32_t threads = 4;
  bool help = false;
};

// The settings from `arguments` (without the program name) and the file
// --config names. False with `error` for an unknown option, a bad value,
// a file that cannot be read or a combination that is refused.
bool ReadServiceConfig(const std::vector<std::string>& arguments, ServiceConfig& config, std::string& error);

// The COM number of a device id "COMn" (1..20); 0 for anything else.
int ComNumber(const std::string& id);
// True for an address only this machine reaches.
bool IsLoopback(const std::string& address);

std::string ServiceUsage();

}  // namespace korvena::service
